#include "pdf/draw/EanSymbols.h"

#include <array>

namespace tavlo {

namespace {

constexpr std::array<const char*, 10> kSetA = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                               "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<const char*, 10> kSetB = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                               "0111001", "0000101", "0010001", "0001001", "0010111"};
// Number set of each left-hand digit of an EAN-13 by its leading digit.
constexpr std::array<const char*, 10> kParity = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                                 "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

int DigitValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

} // namespace

EanSymbol MakeEanSymbol(const std::string& code, std::size_t dataLength)
{
    EanSymbol symbol;
    if ((code.size() != dataLength && code.size() != dataLength + 1) ||
        code.find_first_not_of("0123456789") != std::string::npos)
        return symbol;
    symbol.digits = code.substr(0, dataLength);
    int sum = 0;
    for (std::size_t k = 0; k < dataLength; ++k) {
        // Weight 3 falls on the digit next to the check digit and every second one before it.
        sum += DigitValue(symbol.digits[k]) * (((dataLength - k) % 2 == 1) ? 3 : 1);
    }
    symbol.digits += static_cast<char>('0' + (10 - sum % 10) % 10);

    const bool ean13 = dataLength == 12;
    const std::string left = ean13 ? symbol.digits.substr(1, 6) : symbol.digits.substr(0, 4);
    const std::string right = ean13 ? symbol.digits.substr(7, 6) : symbol.digits.substr(4, 4);
    const char* parity = ean13 ? kParity[static_cast<std::size_t>(DigitValue(symbol.digits[0]))] : "AAAA";

    symbol.modules = "101";
    for (std::size_t i = 0; i < left.size(); ++i) {
        const auto d = static_cast<std::size_t>(DigitValue(left[i]));
        symbol.modules += parity[i] == 'A' ? kSetA[d] : kSetB[d];
    }
    symbol.modules += "01010";
    for (char c : right) {
        // Right-hand digits: number set B read backwards.
        const std::string b = kSetB[static_cast<std::size_t>(DigitValue(c))];
        symbol.modules.append(b.rbegin(), b.rend());
    }
    symbol.modules += "101";
    return symbol;
}

} // namespace tavlo
