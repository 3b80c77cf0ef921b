#include "pdf/core/CreationDate.h"

#include <cstdio>
#include <cstdlib>

namespace tavlo {

namespace {

std::string Piece(const std::string& text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}

} // namespace

std::string CreationDateText(std::time_t now, const std::string& docDate)
{
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "D:%04d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string text = stamp;

    const long offset = local.tm_gmtoff / 60;
    if (offset == 0) {
        text += "Z";
    } else {
        char zone[32];
        std::snprintf(zone, sizeof zone, "%c%02ld'%02ld'", offset < 0 ? '-' : '+', std::labs(offset) / 60,
                      std::labs(offset) % 60);
        text += zone;
    }

    const std::string date = Piece(docDate, 6, 4) + Piece(docDate, 3, 2) + Piece(docDate, 0, 2);
    text.replace(2, std::min<std::size_t>(8, date.size()), date.substr(0, 8));
    return text;
}

} // namespace tavlo
