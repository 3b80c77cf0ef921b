#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"
#include "pdf/core/TextReplace.h"

namespace tavlo {

void Tavlo::WriteFieldWidgets(std::int32_t pageObject)
{
    TavloState& s = *s_;
    for (FieldEntry& field : s.doc.Fields) {
        const std::int32_t w = NewObj();
        // Names, tooltips, values and options are text strings; the appearance and the
        // check marks (codes of the symbol font) are bytes.
        auto text = [&](const std::string& value) { return MakeTextString(PdfTextFromWindows1252(value)); };
        std::string t = " /DA " + MakeTextString(field.appearance) + " /T " + text(field.name);
        if (!field.tooltip.empty())
            t += " /TU " + text(field.tooltip);
        switch (field.kind) {
        case 0: {
            const std::string v = text(field.value);
            t += " /MK <<" + field.look + ">> \r /V " + v + " /DV " + v + " ";
            break;
        }
        case 1:
        case 4:
        case 5:
            t += " /MK << /CA " + (field.kind == 5 ? text(field.caption) : MakeTextString(field.caption)) + " " +
                 field.look + ">> ";
            break;
        case 2:
        case 3: {
            t += " /MK <<" + field.look + ">> /Opt [ ";
            const std::vector<std::string> options = SplitText(field.value, "|");
            for (const std::string& option : options)
                t += text(option);
            t += " ] ";
            if (field.defaultIndex >= 1 && static_cast<std::size_t>(field.defaultIndex) <= options.size()) {
                const std::string d = text(options[static_cast<std::size_t>(field.defaultIndex) - 1]);
                t += " /DV " + d + " /V " + d;
            }
            break;
        }
        default:
            break;
        }
        if (!field.actions.empty()) {
            t += " /AA << " + field.actions + " >> ";
            if (field.inCalcOrder)
                s.CalcOrder += std::to_string(w) + " 0 R ";
        }
        t += field.extra;
        field.head += t;
        PutLine(field.head + " /P " + std::to_string(pageObject) + " 0 R >>");
        s.FieldRefs += std::to_string(w) + " 0 R ";
        EndObj();
        if (!s.InObject)
            s.PageAnnots += std::to_string(w) + " 0 R ";
    }
}

} // namespace tavlo
