#pragma once
// The values the EPS importer's PostScript reader keeps on its operand stack and in its
// dictionaries. Names are views into the file's text (or the reader's own names), which
// outlives the reading; strings hold their bytes, which PostScript may change in place.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavlo {

struct EpsDict;

struct EpsValue {
    enum Kind : std::uint8_t {
        kNull, kNumber, kBoolean, kName, kString, kArray, kMark, kDict, kOperator, kSave, kFile,
        kGState,  // made by gstate, used by nothing followed here
    };
    Kind kind = kNull;
    bool executable = false;  // a name to look up, an array to run (a procedure)
    bool integer = false;     // a number written without a point or exponent
    std::uint16_t op = 0;     // an operator's index (EpsOperators.h)
    double number = 0;        // a number, a boolean (0 or 1), a save's depth; a file: 0 the file read
    std::string_view text;    // a name, without its slash
    std::shared_ptr<std::vector<EpsValue>> items;  // an array's or a procedure's
    std::shared_ptr<EpsDict> dict;
    // A string: its bytes, shared with the strings made from it by getinterval.
    std::shared_ptr<std::string> bytes;
    std::uint32_t start = 0, length = 0;

    static EpsValue Number(double value, bool integer = false)
    {
        EpsValue v;
        v.kind = kNumber;
        v.number = value;
        v.integer = integer;
        return v;
    }
    static EpsValue Boolean(bool value)
    {
        EpsValue v;
        v.kind = kBoolean;
        v.number = value ? 1 : 0;
        return v;
    }
    static EpsValue Name(std::string_view text, bool executable)
    {
        EpsValue v;
        v.kind = kName;
        v.text = text;
        v.executable = executable;
        return v;
    }
    static EpsValue String(std::string bytes)
    {
        EpsValue v;
        v.kind = kString;
        v.length = static_cast<std::uint32_t>(bytes.size());
        v.bytes = std::make_shared<std::string>(std::move(bytes));
        return v;
    }
    bool IsProcedure() const { return kind == kArray && executable; }
    std::string_view Bytes() const
    {
        return bytes ? std::string_view(*bytes).substr(start, length) : std::string_view();
    }
};

struct EpsDict {
    std::unordered_map<std::string, EpsValue> entries;
};

} // namespace tavlo
