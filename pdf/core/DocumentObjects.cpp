#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/ResourceEntries.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

#include <set>

namespace tavlo {

namespace {

constexpr std::size_t kDocumentScript = 8;

std::string Ref(std::int32_t number)
{
    return std::to_string(number) + " 0 R ";
}

} // namespace

std::int32_t Tavlo::WriteEncryptionDictionary()
{
    TavloState& s = *s_;
    if (!s.Encrypted)
        return 0;
    const std::int32_t n = NewObj();
    PutLine("<< /Filter /Standard \r/O (" + EscapeString(TextOf(s.OwnerEntry)) + ")\r/U (" +
            EscapeString(TextOf(s.UserEntry)) + ")\r/P " + std::to_string(s.Permissions) + "\r" +
            (s.KeyLength == 10 ? "/V 1 /R 2 >>" : "/V 2 /R 3 /Length 128 >>"));
    EndObj();
    return n;
}

void Tavlo::WriteDocumentScripts(std::array<std::int32_t, 6>& eventScripts, std::int32_t& namesDictionary)
{
    TavloState& s = *s_;
    for (std::size_t i = 0; i < eventScripts.size(); ++i)
        eventScripts[i] = s.DocScripts[i].empty() ? 0 : WriteTextStreamObject(PdfTextFromWindows1252(s.DocScripts[i]));
    namesDictionary = 0;
    if (s.DocScripts[kDocumentScript].empty())
        return;
    const std::int32_t js = WriteTextStreamObject(PdfTextFromWindows1252(s.DocScripts[kDocumentScript]));
    namesDictionary = NewObj();
    // The name is a string of this object: encrypted under its key like any other.
    PutLine("<< /JavaScript << /Names [ " + MakeTextString("globalscript") + " << /S /JavaScript /JS " + Ref(js) +
            ">> ] >> >>");
    EndObj();
}

void Tavlo::WriteLayerGroups(std::vector<std::int32_t>& groups)
{
    TavloState& s = *s_;
    groups.clear();
    for (LayerEntry& layer : s.doc.Layers) {
        const std::int32_t g = NewObj();
        PutLine("<</Type /OCG /Name " + MakeTextString(PdfTextFromWindows1252(layer.name)));
        if (layer.name == "SCREEN") {
            PutLine("/Usage <</Print <</PrintState /OFF>> /View <</ViewState /ON>>>>");
            layer.visible = true;
        } else if (layer.name == "PRINTER") {
            PutLine("/Usage <</Print <</PrintState /ON>> /View <</ViewState /OFF>>>>");
            layer.visible = false;
        }
        PutLine(">>");
        EndObj();
        groups.push_back(g);
    }
    if (!groups.empty())
        RequireVersion(2);
}

std::int32_t Tavlo::WriteNamedDestinations()
{
    TavloState& s = *s_;
    if (s.doc.Destinations.empty())
        return 0;
    const std::int32_t n = NewObj();
    PutLine("<<");
    // A name defined twice keeps its latest definition: a dictionary holds each key once.
    std::set<std::string> written;
    for (auto it = s.doc.Destinations.rbegin(); it != s.doc.Destinations.rend(); ++it) {
        DestEntry& dest = *it;
        if (dest.page >= s.PageCount || dest.page == -1)
            dest.page = s.PageCount;
        else if (dest.page < 1)
            dest.page = 1;
        if (!written.insert(dest.name).second)
            continue;
        const std::string view = dest.view.empty() ? "/Fit" : dest.view;
        PutLine(dest.name + " [" + Ref(s.PageObjects[static_cast<std::size_t>(dest.page)]) + view + "] ");
    }
    PutLine(">>");
    EndObj();
    return n;
}

void Tavlo::WriteResourceDictionary(std::int32_t number, bool withPatterns, const std::string& layerProperties)
{
    TavloState& s = *s_;
    NewObj(number);
    std::string text = "<<\r";
    if (!s.FontResources.empty())
        text += "/Font <<\r" + UniqueEntries(s.FontResources) + ">>\r";
    text += "/ProcSet [/PDF /Text";
    if (!s.ImageResources.empty())
        text += " /ImageB /ImageC /ImageI";
    text += " ]\r";
    if (!layerProperties.empty())
        text += "/Properties <<" + layerProperties + ">>";
    text += "\r";
    if (!s.ImageResources.empty() || !s.XObjectResources.empty()) {
        text += "/XObject <<\r";
        if (!s.ImageResources.empty())
            text += s.ImageResources + "\r";
        if (!s.XObjectResources.empty())
            text += UniqueEntries(s.XObjectResources) + "\r";
        text += ">>\r";
    }
    if (withPatterns && !s.Patterns.empty())
        text += "/ColorSpace << /xxCSxx [ /Pattern /DeviceRGB ] >> \r/Pattern <<\r" + UniqueEntries(s.Patterns) + ">>\r";
    if (!s.ExtGStates.empty())
        text += "/ExtGState << " + s.ExtGStates + " >> \r";
    text += ">>";
    PutLine(text);
    EndObj();
}

} // namespace tavlo
