#include "pdf/Tavlo.h"

#include "pdf/core/LayerSections.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

namespace tavlo {

namespace {

constexpr std::size_t kPageOpenScript = 6;
constexpr std::size_t kPageCloseScript = 7;

std::string Ref(std::int32_t number)
{
    return std::to_string(number) + " 0 R";
}

const char* RotationEntry(std::int32_t rotation)
{
    switch (rotation) {
    case 1: return "/Rotate 270";
    case 2: return "/Rotate 180";
    case 3: return "/Rotate 90";
    default: return nullptr;
    }
}

} // namespace

std::int32_t Tavlo::BeginPage()
{
    TavloState& s = *s_;
    if (s.InPage)
        EndPage();
    s.PageCount = CheckedInt32(static_cast<std::int64_t>(s.PageCount) + 1);
    s.PageObjects.resize(static_cast<std::size_t>(s.PageCount) + 1);

    s.PageAnnots.clear();
    s.DocScripts[kPageOpenScript].clear();
    s.DocScripts[kPageCloseScript].clear();
    // Spaces and a table left open by a page that was never ended are forgotten with it.
    CloseSpacesAtEnd(ContentTarget::Page);
    s.PageContent.Reset();
    s.doc.PageLayers = 0;
    s.InPage = true;

    SetColorFill("Black");
    SetColorLine("Black");
    SetColorText("Black");
    if (s.RecordedCount > 0)
        PlayAutoObjects(false);

    s.PageRotation = s.DefaultRotation;
    Renew<TextState>(s);
    s.PageTransition = s.DefaultTransition;
    s.PageDuration = s.DefaultDuration;
    s.FieldCount = 0;
    s.doc.Fields.clear();
    return s.PageCount;
}

void Tavlo::EndPage()
{
    TavloState& s = *s_;
    if (!s.InPage)
        return;
    // The objects played at the end are drawn in the page's own space.
    CloseSpacesAtEnd(ContentTarget::Page);
    if (s.RecordedCount > 0)
        PlayAutoObjects(true);
    CloseLayerSections(s.PageContent, s.doc.PageLayers);
    s.InPage = false;

    std::string content = "1 0 0 -1 " + PdfNumber(s.MarginLeft) + " " + PdfNumber(s.PageHeight - s.MarginTop) +
                          " cm \r";
    if (s.ClipToMargins)
        content += "0 0 " + PdfNumber(s.PageWidth - s.MarginRight - s.MarginLeft) + " " +
                   PdfNumber(s.PageHeight - s.MarginBottom - s.MarginTop) + " re W n\r";
    content += s.PageContent.Text();

    std::int32_t openScript = 0, closeScript = 0;
    if (!s.DocScripts[kPageOpenScript].empty())
        openScript = WriteTextStreamObject(PdfTextFromWindows1252(s.DocScripts[kPageOpenScript]));
    if (!s.DocScripts[kPageCloseScript].empty())
        closeScript = WriteTextStreamObject(PdfTextFromWindows1252(s.DocScripts[kPageCloseScript]));

    const std::int32_t fieldCount = static_cast<std::int32_t>(s.doc.Fields.size());
    WriteFieldWidgets(CheckedInt32(static_cast<std::int64_t>(s.LastObjectNumber) + fieldCount + 1));

    const std::int32_t p = NewObj();
    s.PageObjects[static_cast<std::size_t>(s.PageCount)] = p;
    std::string page = "<< /Type /Page /Parent " + Ref(1) + " /Contents " + Ref(p + 1) + "\r";
    if (const char* rotation = RotationEntry(s.PageRotation))
        page += std::string(rotation) + "\r";
    const std::string box = "[0 0 " + PdfNumber(s.PageWidth) + " " + PdfNumber(s.PageHeight) + "]\r";
    page += "/MediaBox " + box + "/CropBox " + box + "/BleedBox " + box;
    if (!s.PageAnnots.empty())
        page += "/Annots " + Ref(p + 2);
    page += "/Resources " + Ref(2);
    if (!s.PageTransition.empty())
        page += "\r/Dur " + PdfNumber(s.PageDuration) + " /Trans " + s.PageTransition;
    if (openScript || closeScript) {
        page += "\n/AA <<";
        if (openScript)
            page += " /O << /Type /Action /S /JavaScript /JS " + Ref(openScript) + " >>\r";
        if (closeScript)
            page += " /C << /Type /Action /S /JavaScript /JS " + Ref(closeScript) + " >>\r";
        page += ">> ";
    }
    page += ">>";
    PutLine(page);
    EndObj();
    s.PageKids += Ref(p) + " ";

    NewObj();
    PutLine("<<");
    Bytes data = BytesOf(content);
    WriteStream(data, 0, "", 0);
    EndObj();

    if (!s.PageAnnots.empty()) {
        NewObj();
        PutLine("[ " + s.PageAnnots + " ]");
        EndObj();
    }
}

} // namespace tavlo
