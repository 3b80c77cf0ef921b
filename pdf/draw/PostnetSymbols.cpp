#include "pdf/draw/PostnetSymbols.h"

#include <array>

namespace tavlo {

namespace {

constexpr std::array<const char*, 10> kDigits = {"11000", "00011", "00101", "00110", "01001",
                                                 "01010", "01100", "10001", "10010", "10100"};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string PostnetDigits(const std::string& code)
{
    std::string digits = code;
    if (code.size() == 10 && !IsDigit(code[5]))
        digits.erase(5, 1);
    if ((digits.size() != 5 && digits.size() != 9 && digits.size() != 11) ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return {};
    int sum = 0;
    for (char c : digits)
        sum += c - '0';
    return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string PostnetBars(const std::string& digits)
{
    std::string bars = "1";
    for (char c : digits)
        bars += kDigits[static_cast<std::size_t>(c - '0')];
    return bars + "1";
}

} // namespace tavlo
