#include "support/pdf/content_stream.h"

#include <algorithm>

namespace tavlo::test {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c)
{
    return std::string("()<>[]{}/%").find(c) != std::string::npos;
}

// The end of the token starting at `at`: strings, arrays and dictionaries are one token.
std::size_t TokenEnd(const std::string& s, std::size_t at)
{
    const char c = s[at];
    if (c == '(') {
        int depth = 0;
        for (std::size_t i = at; i < s.size(); ++i) {
            if (s[i] == '\\')
                ++i;
            else if (s[i] == '(')
                ++depth;
            else if (s[i] == ')' && --depth == 0)
                return i + 1;
        }
        return s.size();
    }
    if (c == '[' || (c == '<' && at + 1 < s.size() && s[at + 1] == '<')) {
        const char open = c, close = c == '[' ? ']' : '>';
        int depth = 0;
        for (std::size_t i = at; i < s.size(); ++i) {
            if (s[i] == '(') {
                i = TokenEnd(s, i) - 1;
            } else if (s[i] == open) {
                ++depth;
                if (open == '<')
                    ++i;
            } else if (s[i] == close && (close == ']' || (i + 1 < s.size() && s[i + 1] == '>'))) {
                if (close == '>')
                    ++i;
                if (--depth == 0)
                    return i + 1;
            } else if (open == '<' && s[i] == '<') {
                // a hex string inside a dictionary
                i = s.find('>', i);
            }
        }
        return s.size();
    }
    if (c == '<')
        return std::min(s.size(), s.find('>', at) + 1);
    std::size_t end = at + 1;
    while (end < s.size() && !IsSpace(s[end]) && !IsDelimiter(s[end]))
        ++end;
    return end;
}

// An array with single spaces between its items and none inside its brackets.
std::string Tidy(const std::string& array)
{
    std::string out;
    for (std::size_t i = 0; i < array.size(); ++i) {
        const char c = array[i];
        if (c == '(') {
            const std::size_t end = TokenEnd(array, i);
            out += array.substr(i, end - i);
            i = end - 1;
        } else if (IsSpace(c)) {
            if (!out.empty() && out.back() != ' ' && out.back() != '[')
                out += ' ';
        } else {
            if (c == ']' && !out.empty() && out.back() == ' ')
                out.pop_back();
            out += c;
        }
    }
    return out;
}

} // namespace

std::string Operation::Line() const
{
    std::string out;
    for (const std::string& operand : operands)
        out += operand + " ";
    return out + op;
}

std::vector<Operation> Operations(const std::string& s)
{
    std::vector<Operation> out;
    std::vector<std::string> operands;
    std::size_t at = 0;
    while (at < s.size()) {
        if (IsSpace(s[at])) {
            ++at;
            continue;
        }
        if (s[at] == '%') {
            at = s.find_first_of("\r\n", at);
            continue;
        }
        const std::size_t end = TokenEnd(s, at);
        std::string token = s.substr(at, end - at);
        at = end;
        const char c = token[0];
        const bool operand = c == '(' || c == '<' || c == '[' || c == '/' || c == '+' || c == '-' || c == '.' ||
                             (c >= '0' && c <= '9') || token == "true" || token == "false" || token == "null";
        if (operand) {
            operands.push_back(c == '[' ? Tidy(token) : token);
            continue;
        }
        if (token == "ID") {
            // Inline image data up to the EI that stands alone.
            std::size_t ei = at;
            while ((ei = s.find("EI", ei + 1)) != std::string::npos)
                if (IsSpace(s[ei - 1]) && (ei + 2 >= s.size() || IsSpace(s[ei + 2])))
                    break;
            at = ei == std::string::npos ? s.size() : ei + 2;
            token = "EI";
        }
        out.push_back({token, operands});
        operands.clear();
    }
    return out;
}

int CountOf(const std::vector<Operation>& operations, const std::string& op)
{
    return static_cast<int>(
        std::count_if(operations.begin(), operations.end(), [&](const Operation& o) { return o.op == op; }));
}

bool SavesBalanced(const std::vector<Operation>& operations)
{
    int depth = 0;
    for (const Operation& o : operations) {
        depth += o.op == "q" ? 1 : o.op == "Q" ? -1 : 0;
        if (depth < 0)
            return false;
    }
    return depth == 0;
}

std::vector<std::string> LinesOf(const std::vector<Operation>& operations, const std::vector<std::string>& ops)
{
    std::vector<std::string> lines;
    for (const Operation& o : operations)
        if (ops.empty() || std::find(ops.begin(), ops.end(), o.op) != ops.end())
            lines.push_back(o.Line());
    return lines;
}

} // namespace tavlo::test
