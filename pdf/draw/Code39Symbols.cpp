#include "pdf/draw/Code39Symbols.h"

#include "pdf/core/TavloError.h"

#include <array>
#include <cstring>

namespace tavlo {

namespace {

constexpr const char* kSymbols = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

// Wide elements of each symbol in the published order, bar first, "w" wide and "n" narrow.
constexpr std::array<const char*, 44> kWidths = {
    "nnnwwnwnn", "wnnwnnnnw", "nnwwnnnnw", "wnwwnnnnn", "nnnwwnnnw", "wnnwwnnnn", "nnwwwnnnn", "nnnwnnwnw",
    "wnnwnnwnn", "nnwwnnwnn", "wnnnnwnnw", "nnwnnwnnw", "wnwnnwnnn", "nnnnwwnnw", "wnnnwwnnn", "nnwnwwnnn",
    "nnnnnwwnw", "wnnnnwwnn", "nnwnnwwnn", "nnnnwwwnn", "wnnnnnnww", "nnwnnnnww", "wnwnnnnwn", "nnnnwnnww",
    "wnnnwnnwn", "nnwnwnnwn", "nnnnnnwww", "wnnnnnwwn", "nnwnnnwwn", "nnnnwnwwn", "wwnnnnnnw", "nwwnnnnnw",
    "wwwnnnnnn", "nwnnwnnnw", "wwnnwnnnn", "nwwnwnnnn", "nwnnnnwnw", "wwnnnnwnn", "nwwnnnwnn", "nwnwnwnnn",
    "nwnwnnnwn", "nwnnnwnwn", "nnnwnwnwn", "nwnnwnwnn"};

std::array<std::string, 44> BuildWords()
{
    std::array<std::string, 44> words;
    for (std::size_t v = 0; v < kWidths.size(); ++v)
        for (std::size_t k = 0; k < 9; ++k) {
            const bool bar = k % 2 == 0, wide = kWidths[v][k] == 'w';
            words[v] += bar ? (wide ? 'B' : 'b') : (wide ? 'W' : 'w');
        }
    return words;
}

int ValueOf(char c)
{
    return static_cast<int>(std::strchr(kSymbols, c) - kSymbols);
}

bool OwnSymbol(unsigned char c)
{
    return c != 0 && c != '*' && std::strchr(kSymbols, c) != nullptr;
}

} // namespace

const std::string& Code39Word(int value)
{
    static const std::array<std::string, 44> words = BuildWords();
    if (value < 0 || value > code39::StartStop)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    return words[static_cast<std::size_t>(value)];
}

std::vector<int> Code39Values(const std::string& code)
{
    std::vector<int> values;
    for (char c : code) {
        const auto u = static_cast<unsigned char>(c);
        if (u > 127)
            return {};
        // An asterisk of the text would read as the stop symbol: it takes its pair /J.
        if (OwnSymbol(u)) {
            values.push_back(ValueOf(c));
            continue;
        }
        char shift = '%', letter;
        if (u == 0)
            letter = 'U';
        else if (u <= 26)
            shift = '$', letter = static_cast<char>(u + 64);
        else if (u <= 31)
            letter = static_cast<char>(u + 38);
        else if (u <= 44 || u == 58)
            shift = '/', letter = static_cast<char>(u + 32);
        else if (u <= 63)
            letter = static_cast<char>(u + 11);
        else if (u == 64)
            letter = 'V';
        else if (u <= 95)
            letter = static_cast<char>(u - 16);
        else if (u == 96)
            letter = 'W';
        else if (u <= 122)
            shift = '+', letter = static_cast<char>(u - 32);
        else
            letter = static_cast<char>(u - 43);
        values.push_back(ValueOf(shift));
        values.push_back(ValueOf(letter));
    }
    return values;
}

int Code39Check(const std::vector<int>& values)
{
    int sum = 0;
    for (int v : values)
        sum = (sum + v) % 43;
    return sum;
}

} // namespace tavlo
