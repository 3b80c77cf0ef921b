#include "pdf/draw/Code128Symbols.h"

#include "pdf/core/TavloError.h"

namespace tavlo {

namespace {

// Bar and space widths of each symbol, bar first, as the symbology publishes them.
constexpr std::array<const char*, 107> kWidths = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

std::array<std::string, 107> BuildModules()
{
    std::array<std::string, 107> modules;
    for (std::size_t v = 0; v < kWidths.size(); ++v) {
        bool dark = true;
        for (const char* w = kWidths[v]; *w; ++w) {
            modules[v].append(static_cast<std::size_t>(*w - '0'), dark ? '1' : '0');
            dark = !dark;
        }
    }
    return modules;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool AllDigits(const std::string& code, std::size_t from, std::size_t count)
{
    for (std::size_t j = from; j < from + count; ++j)
        if (!IsDigit(code[j]))
            return false;
    return true;
}

} // namespace

const std::string& Code128Modules(int value)
{
    static const std::array<std::string, 107> modules = BuildModules();
    if (value < 0 || value > code128::Stop)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    return modules[static_cast<std::size_t>(value)];
}

std::vector<int> Code128Values(const std::string& code)
{
    // Set B has no symbol for any code outside 32 to 126 (198 included), so such a
    // text is refused as a whole rather than half drawn.
    if (code.empty())
        return {};
    for (char c : code) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u > 126)
            return {};
    }

    std::vector<int> values;
    int k = 0, s = 0;
    auto add = [&](int value) {
        ++k;
        if (k > 32767 || static_cast<long>(k) * value > 32767)
            throw TavloError(ErrorCode::Overflow);
        values.push_back(value);
        s = (s + k * value) % 103;
    };

    const std::size_t length = code.size();
    std::size_t i = 0;  // from 0 here: the first character is i = 0
    bool setB = true;
    while (i < length) {
        if (setB) {
            // Set C pays off for four digits at the start or the end, six in the middle.
            const std::size_t n = (i == 0 || i + 4 == length) ? 4 : 6;
            if (i + n <= length && AllDigits(code, i, n)) {
                if (i == 0)
                    values.push_back(code128::StartC);
                else
                    add(code128::CodeC);
                setB = false;
            } else if (i == 0) {
                values.push_back(code128::StartB);
            }
        }
        if (!setB) {
            if (i + 1 < length && IsDigit(code[i]) && IsDigit(code[i + 1])) {
                add((code[i] - '0') * 10 + (code[i + 1] - '0'));
                i += 2;
            } else {
                add(code128::CodeB);
                setB = true;
            }
        }
        if (setB && i < length) {
            add(static_cast<unsigned char>(code[i]) - 32);
            ++i;
        }
    }
    values.push_back((values.front() + s) % 103);
    values.push_back(code128::Stop);
    return values;
}

} // namespace tavlo
