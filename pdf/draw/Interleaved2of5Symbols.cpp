#include "pdf/draw/Interleaved2of5Symbols.h"

#include <array>

namespace tavlo {

namespace {

constexpr std::array<const char*, 10> kDigits = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                                 "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

} // namespace

std::string Interleaved2of5Digits(const std::string& code, bool addCheck)
{
    if (code.empty() || code.find_first_not_of("0123456789") != std::string::npos)
        return {};
    std::string digits = code;
    if (addCheck) {
        // Weight 3 on the last digit and every second one before it.
        int sum = 0;
        for (std::size_t k = 0; k < code.size(); ++k)
            sum += (code[code.size() - 1 - k] - '0') * (k % 2 == 0 ? 3 : 1);
        digits += static_cast<char>('0' + (10 - sum % 10) % 10);
    }
    if (digits.size() % 2 == 1)
        digits.insert(digits.begin(), '0');
    return digits;
}

std::string Interleaved2of5Elements(const std::string& digits)
{
    std::string elements = "nnnn";
    for (std::size_t k = 0; k + 1 < digits.size(); k += 2) {
        const char* bars = kDigits[static_cast<std::size_t>(digits[k] - '0')];
        const char* spaces = kDigits[static_cast<std::size_t>(digits[k + 1] - '0')];
        for (std::size_t j = 0; j < 5; ++j) {
            elements += bars[j];
            elements += spaces[j];
        }
    }
    return elements + "wnnn";
}

} // namespace tavlo
