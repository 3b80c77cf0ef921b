#pragma once
// The values the EPS importer's PostScript reader keeps on its operand stack and in its
// dictionaries. Names and strings are views into the file's text (or the reader's own
// constant names), which outlives the reading.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavlo {

struct EpsDict;

struct EpsValue {
    enum Kind : std::uint8_t { kNull, kNumber, kBoolean, kName, kString, kArray, kMark, kDict, kOperator, kSave };
    Kind kind = kNull;
    bool executable = false;  // a name to look up, an array to run (a procedure)
    bool integer = false;     // a number written without a point or exponent
    double number = 0;        // a number, a boolean (0 or 1), a save's depth
    std::string_view text;    // a name (without its slash) or a string with its delimiters
    std::shared_ptr<std::vector<EpsValue>> items;  // an array's or a procedure's
    std::shared_ptr<EpsDict> dict;
    std::uint16_t op = 0;  // an operator's index (EpsOperators.h)

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
    bool IsProcedure() const { return kind == kArray && executable; }
};

struct EpsDict {
    std::unordered_map<std::string, EpsValue> entries;
};

} // namespace tavlo
