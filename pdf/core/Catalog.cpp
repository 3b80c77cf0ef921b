#include "pdf/Tavlo.h"

#include "pdf/core/ResourceEntries.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

namespace tavlo {

namespace {

std::string Ref(std::int32_t number)
{
    return std::to_string(number) + " 0 R";
}

const char* PageLayout(std::int32_t flags)
{
    switch (static_cast<std::uint32_t>(flags) & 0xFFFFF000u) {
    case 8192u: return "/PageLayout /OneColumn";
    case 16384u: return "/PageLayout /TwoColumnLeft";
    case 0xFFFF8000u: return "/PageLayout /TwoColumnRight";
    default: return nullptr;
    }
}

const char* LabelStyle(std::int32_t style)
{
    static const char* const kStyles[] = {" /S /D", " /S /R", " /S /r", " /S /A", " /S /a"};
    return kStyles[style - 1];
}

} // namespace

std::string Tavlo::PageLabelsEntry()
{
    TavloState& s = *s_;
    std::string nums;
    for (const auto& [index, label] : s.doc.PageLabels) {
        // A range that would begin after the last page labels nothing.
        if (index >= s.PageCount)
            continue;
        nums += std::to_string(index) + " << " + LabelStyle(label.style);
        if (!label.prefix.empty())
            nums += " /P " + MakeTextString(PdfTextFromWindows1252(label.prefix));
        if (label.first >= 1)
            nums += " /St " + std::to_string(label.first);
        nums += " >> ";
    }
    if (nums.empty())
        return std::string();
    // The tree must label the first page: pages before the first range keep their numbers.
    if (s.doc.PageLabels.begin()->first != 0)
        nums = "0 << /S /D >> " + nums;
    return "/PageLabels << /Nums [ " + nums + " ] >>";
}

std::string Tavlo::OptionalContentEntry(const std::vector<std::int32_t>& layerGroups)
{
    TavloState& s = *s_;
    std::string all, listed, on, off;
    std::int32_t screen = 0, printer = 0;
    for (std::size_t i = 0; i < layerGroups.size(); ++i) {
        const LayerEntry& layer = s.doc.Layers[i];
        const std::string ref = Ref(layerGroups[i]) + " ";
        if (layer.name == "SCREEN")
            screen = layerGroups[i];
        else if (layer.name == "PRINTER")
            printer = layerGroups[i];
        all += ref;
        if (layer.listed)
            listed += ref;
        (layer.visible ? on : off) += ref;
    }
    std::string both;
    if (printer)
        both += Ref(printer) + " ";
    if (screen)
        both += Ref(screen) + " ";
    std::string text = "/OCProperties <</OCGs [" + all + "] /D <</AS [ ";
    if (printer)
        text += "<</Event /Print /OCGs [" + both + "] /Category [/Print]>> ";
    if (screen)
        text += "<</Event /View /OCGs [" + both + "] /Category [/View]>> ";
    // The title is a string of the catalog: encrypted under the catalog's key.
    text += "]\n/ON [" + on + "] \n/OFF [" + off + "] \n/Order [" + MakeTextString(PdfTextFromWindows1252(s.InfoTitle)) + " " + listed +
            "]>>  >>";
    return text;
}

std::int32_t Tavlo::WriteCatalog(std::int32_t outlines, std::int32_t metadata, std::int32_t destinations,
                                 std::int32_t names, const std::array<std::int32_t, 6>& scripts,
                                 const std::vector<std::int32_t>& layerGroups)
{
    TavloState& s = *s_;
    const std::int32_t catalog = NewObj();

    std::string first = "<< /Type /Catalog\r/Pages " + Ref(1);
    if (s.BookmarkCount > 1)
        first += "\r/Outlines " + Ref(outlines);
    const std::string labels = PageLabelsEntry();
    if (!labels.empty())
        first += "\r" + labels;
    first += "\r/Metadata " + Ref(metadata);
    if (destinations)
        first += "\r/Dests " + Ref(destinations);
    if (!s.FieldRefs.empty())
        first += "\r/AcroForm <</NeedAppearances true /Fields [" + s.FieldRefs + "] /CO [" + s.CalcOrder +
                 "] /DR << /Font <<\r" + UniqueEntries(s.FontResources) + ">> >> >>";
    if (names)
        first += "\r/Names " + Ref(names);
    if (scripts[0])
        first += "\r/OpenAction << /S /JavaScript /JS " + Ref(scripts[0]) + " >>\r";
    PutLine(first);

    static const char* const kTriggers[] = {" /WC", " /WS", " /DS", " /WP", " /DP"};
    std::string triggers;
    for (std::size_t i = 1; i < scripts.size(); ++i)
        if (scripts[i])
            triggers += std::string(kTriggers[i - 1]) + " << /Type /Action /S /JavaScript /JS " + Ref(scripts[i]) +
                        " >>\r";
    if (!triggers.empty())
        PutLine("\n/AA <<" + triggers + ">> ");

    if (!layerGroups.empty())
        PutLine(OptionalContentEntry(layerGroups));

    const std::int32_t flags = s.ViewerPreferences;
    if (const char* layout = PageLayout(flags))
        PutLine(layout);
    switch (flags & 15) {
    case 1: PutLine("/PageMode /FullScreen"); break;
    case 2:
        if (s.BookmarkCount > 1)
            PutLine("/PageMode /UseOutlines");
        break;
    case 4: PutLine("/PageMode /UseThumbs"); break;
    case 8:
        PutLine("/PageMode /UseOC");
        RequireVersion(2);
        break;
    default: break;
    }
    std::string preferences;
    if (flags & 16)
        preferences += "/HideMenubar true ";
    if (flags & 32)
        preferences += "/HideToolbar true ";
    if (flags & 64)
        preferences += "/HideWindowUI true ";
    if (flags & 128) {
        preferences += "/DisplayDocTitle true ";
        RequireVersion(1);
    }
    if (flags & 256)
        preferences += "/CenterWindow true ";
    if (flags & 512)
        preferences += "/FitWindow true ";
    PutLine("/ViewerPreferences << " + preferences + " >>");
    PutLine(">>");
    EndObj();
    return catalog;
}

} // namespace tavlo
