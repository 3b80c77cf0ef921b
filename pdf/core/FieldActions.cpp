#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

namespace tavlo {

namespace {

// Adds one trigger action to a widget's additional actions. A trigger that already has a
// script keeps one key and runs the new script after it (/Next), as a key given twice
// would make the dictionary invalid.
void AddTrigger(std::string& actions, const std::string& key, const std::string& action)
{
    const std::size_t at = actions.find(key);
    if (at == std::string::npos) {
        actions += key + action;
        return;
    }
    const std::size_t afterFirst = actions.find(" 0 R", at) + 4;
    static const std::string next = " /Next [ ";
    if (actions.compare(afterFirst, next.size(), next) == 0)
        actions.insert(actions.find(']', afterFirst), action);
    else
        actions.insert(afterFirst, next + action + "]");
}

} // namespace

void Tavlo::OnFieldEvent(std::int32_t event, const std::string& name, const std::string& script)
{
    TavloState& s = *s_;
    if (script.empty() || s.doc.Fields.empty())
        return;
    // A script is a text stream: the euro sign and typographic quotes must reach the viewer
    // as themselves, not as the PDFDocEncoding characters of their Windows-1252 bytes.
    const std::string action =
        "<< /S /JavaScript /JS " + std::to_string(WriteTextStreamObject(PdfTextFromWindows1252(script))) + " 0 R >> ";
    static const char* const kKeys[] = {" /A ", " /D ", " /E ", " /X ", " /Fo ", " /Bl ", " /K ", " /V ", " /C ", " /F "};
    if (event < 0 || event > 9)
        return;
    const std::string group = name + ".";
    for (auto field = s.doc.Fields.rbegin(); field != s.doc.Fields.rend(); ++field) {
        // A parent name reaches all its children.
        if (field->name != name && field->name.compare(0, group.size(), group) != 0)
            continue;
        if (event == 0) {
            field->extra = kKeys[0] + action;
        } else {
            AddTrigger(field->actions, kKeys[event], action);
            if (event == 8)
                field->inCalcOrder = true;
        }
    }
}

} // namespace tavlo
