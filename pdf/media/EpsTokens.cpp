#include "pdf/media/EpsTokens.h"

#include <charconv>
#include <system_error>

namespace tavlo {

namespace {

// White space between tokens: PostScript's, less the line ends the lines were split at.
bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\0';
}

bool Delimiter(char c)
{
    switch (c) {
    case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '}': case '/': case '%':
        return true;
    default:
        return Blank(c);
    }
}

std::size_t TokenEnd(std::string_view line, std::size_t at)
{
    while (at < line.size() && !Delimiter(line[at]))
        ++at;
    return at;
}

// Past the end of an inline picture's data: the operator EI standing alone, or the line's end.
std::size_t InlineDataEnd(std::string_view line, std::size_t at, bool& found)
{
    for (std::size_t ei = line.find("EI", at); ei != std::string_view::npos; ei = line.find("EI", ei + 1)) {
        if ((ei == 0 || Blank(line[ei - 1])) && (ei + 2 == line.size() || Delimiter(line[ei + 2]))) {
            found = true;
            return ei + 2;
        }
    }
    found = false;
    return line.size();
}

} // namespace

bool EpsNumber(std::string_view token, double& value)
{
    std::size_t at = 0;
    if (at < token.size() && (token[at] == '+' || token[at] == '-'))
        ++at;
    bool digits = false;
    int points = 0;
    for (; at < token.size() && ((token[at] >= '0' && token[at] <= '9') || token[at] == '.'); ++at) {
        digits = digits || token[at] != '.';
        points += token[at] == '.';
    }
    if (!digits || points > 1)
        return false;
    if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
        ++at;
        if (at < token.size() && (token[at] == '+' || token[at] == '-'))
            ++at;
        const std::size_t exponent = at;
        while (at < token.size() && token[at] >= '0' && token[at] <= '9')
            ++at;
        if (at == exponent)
            return false;
    }
    if (at != token.size())
        return false;
    const char* first = token.data() + (token[0] == '+' ? 1 : 0);
    const auto result = std::from_chars(first, token.data() + token.size(), value);
    return result.ec == std::errc() && result.ptr == token.data() + token.size();
}

bool EpsTokenReader::Read(std::string_view line, const Take& take)
{
    Open& open = open_;
    auto anyOpen = [&] {
        return open.procedure > 0 || open.string > 0 || open.hex || open.ascii85 || open.inlineData;
    };
    const bool whole = !anyOpen();
    // Where the string and the procedure this line opened at the top level begin.
    std::size_t stringStart = 0, procedureStart = 0;
    bool stringHere = false, procedureHere = false;
    auto push = [&](EpsToken::Kind kind, std::size_t from, std::size_t to) {
        if (open.procedure == 0)
            take({kind, line.substr(from, to - from)});
    };
    std::size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (open.inlineData) {
            bool found = false;
            at = InlineDataEnd(line, at, found);
            open.inlineData = !found;
        } else if (open.string > 0) {
            ++at;
            if (c == '\\')
                ++at;
            else if (c == '(')
                ++open.string;
            else if (c == ')' && --open.string == 0 && stringHere)
                push(EpsToken::kString, stringStart, at);
        } else if (open.hex || open.ascii85) {
            const std::size_t end = line.find(open.hex ? ">" : "~>", at);
            at = end == std::string_view::npos ? line.size() : end + (open.hex ? 1 : 2);
            if (end != std::string_view::npos) {
                if (stringHere)
                    push(EpsToken::kString, stringStart, at);
                open.hex = open.ascii85 = false;
            }
        } else if (Blank(c)) {
            ++at;
        } else if (c == '%') {
            break;
        } else if (c == '(' || c == '<') {
            stringHere = true;
            stringStart = at;
            if (c == '(') {
                open.string = 1;
                ++at;
            } else if (at + 1 < line.size() && line[at + 1] == '<') {
                push(EpsToken::kOperator, at, at + 2);
                at += 2;
            } else if (at + 1 < line.size() && line[at + 1] == '~') {
                open.ascii85 = true;
                at += 2;
            } else {
                open.hex = true;
                ++at;
            }
        } else if (c == '{') {
            if (open.procedure++ == 0) {
                procedureStart = at;
                procedureHere = true;
            }
            ++at;
        } else if (c == '}' && open.procedure > 0) {
            ++at;
            if (--open.procedure == 0 && procedureHere)
                push(EpsToken::kProcedure, procedureStart, at);
        } else if (c == '[' || c == ']') {
            push(c == '[' ? EpsToken::kArrayOpen : EpsToken::kArrayClose, at, at + 1);
            ++at;
        } else if (c == ')' || c == '>' || c == '}') {  // closing nothing: never drawn
            const std::size_t end = c == '>' && at + 1 < line.size() && line[at + 1] == '>' ? at + 2 : at + 1;
            push(EpsToken::kOperator, at, end);
            at = end;
        } else if (c == '/') {
            const std::size_t name = at + 1 < line.size() && line[at + 1] == '/' ? at + 2 : at + 1;
            const std::size_t end = TokenEnd(line, name);
            push(EpsToken::kName, at, end);
            at = end;
        } else {
            const std::size_t end = TokenEnd(line, at);
            const std::string_view text = line.substr(at, end - at);
            double value = 0;
            if (open.procedure == 0)
                take({EpsNumber(text, value) ? EpsToken::kNumber : EpsToken::kOperator, text, value});
            // A content stream's inline picture: its data are no PostScript.
            open.inlineData = open.procedure == 0 && text == "ID";
            at = end;
        }
    }
    return whole && !anyOpen();
}

} // namespace tavlo
