#pragma once
// The objects of a source PDF file as values, parsed from its bytes with the lexer. Nesting
// is capped and so is the number of values one object may hold, so that no file can make
// the parser recurse without end or claim memory out of proportion to what is read.

#include "pdf/media/source/Lexer.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo::source {

constexpr int kMaxNesting = 64;
constexpr std::size_t kMaxValuesPerObject = std::size_t{1} << 20;

enum class ValueKind { Null, Boolean, Integer, Real, Name, String, Array, Dictionary, Reference };

struct ObjectId {
    std::int32_t number = 0;
    std::int32_t generation = 0;
    auto operator<=>(const ObjectId&) const = default;
};

struct PdfValue {
    ValueKind kind = ValueKind::Null;
    // Boolean, Integer, Real, Name: the token as written; String: the decoded bytes.
    std::string text;
    std::int64_t integer = 0;  // Integer; Reference: the object number
    std::int32_t generation = 0;
    // Array: the items; Dictionary: each key (a Name) followed by its value.
    std::vector<PdfValue> items;

    bool Is(ValueKind k) const { return kind == k; }
    bool IsName(std::string_view name) const;
    bool IsNumber() const { return kind == ValueKind::Integer || kind == ValueKind::Real; }
    double Number() const;  // Integer or Real; 0 for anything else
    ObjectId Reference() const { return {static_cast<std::int32_t>(integer), generation}; }
    // The value of a key at this dictionary's own level (not inside nested values); null
    // when absent or when this is no dictionary. Keys compare as decoded names.
    const PdfValue* Get(std::string_view key) const;
};

// Raises the invalid-format error (321) with the reason after the standard text.
[[noreturn]] void Damaged(const std::string& why);

class Parser {
public:
    Parser(std::string_view data, std::size_t position) : lexer_(data, position) {}

    // One value; a malformed or cut-off one is the invalid-format error.
    PdfValue ParseValue();
    Lexer& Tokens() { return lexer_; }

private:
    PdfValue ParseFrom(Token token, int depth);
    // An integer followed by an integer and R is a reference.
    bool ReferenceFollows(std::int64_t number, PdfValue& reference);

    Lexer lexer_;
    std::size_t values_ = 0;
};

} // namespace tavlo::source
