#include "pdf/media/source/PdfValue.h"

#include "pdf/core/TavloError.h"

#include <charconv>
#include <limits>

namespace tavlo::source {

void Damaged(const std::string& why)
{
    throw TavloError(ErrorCode::InvalidFileFormat,
                     TavloError::StandardDescription(ErrorCode::InvalidFileFormat) + ": " + why);
}

bool PdfValue::IsName(std::string_view name) const
{
    if (kind != ValueKind::Name)
        return false;
    const std::string_view raw = std::string_view(text).substr(1);
    return raw.find('#') == std::string_view::npos ? raw == name : DecodeName(text) == name;
}

double PdfValue::Number() const
{
    if (kind == ValueKind::Integer)
        return static_cast<double>(integer);
    if (kind != ValueKind::Real)
        return 0;
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '+')
        digits.remove_prefix(1);
    double value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

const PdfValue* PdfValue::Get(std::string_view key) const
{
    if (kind != ValueKind::Dictionary)
        return nullptr;
    for (std::size_t i = 0; i + 1 < items.size(); i += 2)
        if (items[i].IsName(key))
            return &items[i + 1];
    return nullptr;
}

PdfValue Parser::ParseValue()
{
    values_ = 0;
    return ParseFrom(lexer_.Next(), 0);
}

bool Parser::ReferenceFollows(std::int64_t number, PdfValue& reference)
{
    const std::size_t back = lexer_.Position();
    const Token generation = lexer_.Next();
    if (generation.kind == TokenKind::Integer) {
        const Token r = lexer_.Next();
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        if (r.kind == TokenKind::Keyword && r.text == "R" && number >= 0 && number <= kMax &&
            generation.integer >= 0 && generation.integer <= kMax) {
            reference.kind = ValueKind::Reference;
            reference.integer = number;
            reference.generation = static_cast<std::int32_t>(generation.integer);
            return true;
        }
    }
    lexer_.Seek(back);
    return false;
}

PdfValue Parser::ParseFrom(Token token, int depth)
{
    if (++values_ > kMaxValuesPerObject)
        Damaged("oggetto con troppi valori");
    if (depth > kMaxNesting)
        Damaged("oggetti annidati troppo in profondità");
    PdfValue value;
    switch (token.kind) {
    case TokenKind::Integer:
        value.kind = ValueKind::Integer;
        value.integer = token.integer;
        value.text = token.text;
        if (!ReferenceFollows(token.integer, value))
            return value;
        value.text.clear();
        return value;
    case TokenKind::Real:
        value.kind = ValueKind::Real;
        value.text = token.text;
        return value;
    case TokenKind::Name:
        value.kind = ValueKind::Name;
        value.text = token.text;
        return value;
    case TokenKind::String:
        value.kind = ValueKind::String;
        value.text = std::move(token.value);
        return value;
    case TokenKind::ArrayOpen:
        value.kind = ValueKind::Array;
        for (Token next = lexer_.Next(); next.kind != TokenKind::ArrayClose; next = lexer_.Next())
            value.items.push_back(ParseFrom(std::move(next), depth + 1));
        return value;
    case TokenKind::DictOpen:
        value.kind = ValueKind::Dictionary;
        for (Token key = lexer_.Next(); key.kind != TokenKind::DictClose; key = lexer_.Next()) {
            if (key.kind != TokenKind::Name)
                Damaged("chiave di dizionario non valida");
            value.items.push_back(ParseFrom(std::move(key), depth + 1));
            Token next = lexer_.Next();
            if (next.kind == TokenKind::DictClose) {
                // A key without its value reads as a key with the null value.
                value.items.emplace_back();
                break;
            }
            value.items.push_back(ParseFrom(std::move(next), depth + 1));
        }
        return value;
    case TokenKind::Keyword:
        if (token.text == "true" || token.text == "false") {
            value.kind = ValueKind::Boolean;
            value.text = token.text;
            return value;
        }
        if (token.text == "null")
            return value;
        Damaged("parola chiave inattesa: " + std::string(token.text.substr(0, 32)));
    case TokenKind::End:
        Damaged("oggetto troncato alla fine del file");
    default:
        Damaged("dati non validi alla posizione " + std::to_string(token.start));
    }
}

} // namespace tavlo::source
