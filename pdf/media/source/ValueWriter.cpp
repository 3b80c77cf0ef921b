#include "pdf/media/source/ValueWriter.h"

namespace tavlo::source {

std::string ValueWriter::Write(const PdfValue& value) const
{
    std::string out;
    Append(out, value);
    return out;
}

std::string ValueWriter::WriteDictionary(const PdfValue& dictionary, std::string_view skippedKey,
                                         std::string_view addedEntries) const
{
    std::string out = "<<";
    for (std::size_t i = 0; i + 1 < dictionary.items.size(); i += 2) {
        if (!skippedKey.empty() && dictionary.items[i].IsName(skippedKey))
            continue;
        out += ' ';
        out += dictionary.items[i].text;
        out += ' ';
        Append(out, dictionary.items[i + 1]);
    }
    if (!addedEntries.empty()) {
        out += ' ';
        out += addedEntries;
    }
    out += " >>";
    return out;
}

void ValueWriter::Append(std::string& out, const PdfValue& value) const
{
    switch (value.kind) {
    case ValueKind::Null:
        out += "null";
        break;
    case ValueKind::Boolean:
    case ValueKind::Integer:
    case ValueKind::Real:
    case ValueKind::Name:
        out += value.text;
        break;
    case ValueKind::String:
        out += string(value.text);
        break;
    case ValueKind::Reference:
        out += reference(value.Reference());
        break;
    case ValueKind::Array:
        out += '[';
        for (std::size_t i = 0; i < value.items.size(); ++i) {
            if (i > 0)
                out += ' ';
            Append(out, value.items[i]);
        }
        out += ']';
        break;
    case ValueKind::Dictionary:
        out += WriteDictionary(value);
        break;
    }
}

} // namespace tavlo::source
