#include "pdf/Tavlo.h"

#include "pdf/core/LinkTargets.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

namespace tavlo {

void Tavlo::WriteAnnotation(std::string dictionary, const std::string& contents, const std::string& title,
                            const std::string& appearance, const std::string& target)
{
    TavloState& s = *s_;
    // Begun first, so every string below is encrypted under this object's key.
    const std::int32_t n = NewObj();
    // The author and the text are text strings: the euro sign and typographic quotes must
    // not be read as the PDFDocEncoding characters of their Windows-1252 bytes.
    if (!title.empty())
        dictionary += " /T " + MakeTextString(PdfTextFromWindows1252(title));
    if (!contents.empty())
        dictionary += " /Contents " + MakeTextString(PdfTextFromWindows1252(contents));
    if (!appearance.empty())
        dictionary += " /DA " + MakeTextString(appearance);
    if (!target.empty()) {
        if (target.compare(0, 5, "file:") == 0)
            // Page numbers of another file count from 0 (-1 is no page): open its first
            // page, leaving position and zoom to the reader.
            dictionary += " /A << /Type /Action /S /GoToR /F " + MakeTextString(target.substr(5)) +
                          " /D [0 /XYZ null null 0] >> ";
        else
            dictionary += " /A << /S /URI /URI " + MakeTextString(AsciiUri(target)) + " >> ";
    }
    PutLine(dictionary + " >>");
    EndObj();

    const std::string reference = std::to_string(n) + " 0 R ";
    if (s.InObject && !s.doc.RecordedObjects.empty())
        s.doc.RecordedObjects.back().annotations += reference;
    else
        s.PageAnnots += reference;
}

} // namespace tavlo
