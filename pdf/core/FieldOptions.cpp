#include "pdf/core/FieldOptions.h"

#include <algorithm>

namespace tavlo {

namespace {

bool Bit(std::int32_t options, int bit)
{
    return (static_cast<std::uint32_t>(options) >> bit) & 1u;
}

} // namespace

std::int32_t FieldAnnotationFlags(std::int32_t options)
{
    std::int32_t flags = Bit(options, 0) ? 2 : 0;
    if (!Bit(options, 1))
        flags |= 4;
    return flags;
}

FieldFlags FieldFieldFlags(std::int32_t options)
{
    FieldFlags result;
    struct Entry {
        int bit;
        std::int32_t flag;
        std::int32_t version;
    };
    static constexpr Entry entries[] = {
        {3, 1, 0},       {4, 4096, 0},    {5, 8192, 0},     {7, 2097152, 0},
        {8, 4194304, 1}, {9, 8388608, 1}, {10, 16777216, 2},
    };
    for (const Entry& entry : entries) {
        if (Bit(options, entry.bit)) {
            result.flags |= entry.flag;
            result.versionIncrement = std::max(result.versionIncrement, entry.version);
        }
    }
    return result;
}

std::string FieldBorder(std::int32_t options)
{
    std::string text = Bit(options, 15) ? "2 " : Bit(options, 16) ? "3 " : "1 ";
    if (Bit(options, 17))
        text += "/S /D /D [ 1 1 ]";
    else if (Bit(options, 19))
        text += "/S /I";
    else if (Bit(options, 18))
        text += "/S /B";
    else if (Bit(options, 20))
        text += "/S /U";
    else
        text += "/S /S";
    return text;
}

std::string FieldCheckMark(std::int32_t options)
{
    if (Bit(options, 22))
        return "5";
    if (Bit(options, 23))
        return "F";
    if (Bit(options, 21))
        return "l";
    if (Bit(options, 24))
        return "H";
    if (Bit(options, 25))
        return "n";
    return "4";
}

std::string FieldRotation(std::int32_t options)
{
    if (Bit(options, 26))
        return "/R 90 ";
    if (Bit(options, 27))
        return "/R 180 ";
    if (Bit(options, 28))
        return "/R 270 ";
    return "";
}

} // namespace tavlo
