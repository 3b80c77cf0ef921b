#include "platform/text/Trim.h"

namespace quercino {
namespace {

qsizetype firstNonBlank(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return i;
}

qsizetype endNonBlank(QStringView text, qsizetype from)
{
    qsizetype end = text.size();
    while (end > from && text[end - 1] == u' ')
        --end;
    return end;
}

} // namespace

QString trimBlanks(QStringView text)
{
    const qsizetype start = firstNonBlank(text);
    return text.sliced(start, endNonBlank(text, start) - start).toString();
}

QString trimLeadingBlanks(QStringView text)
{
    return text.sliced(firstNonBlank(text)).toString();
}

QString trimTrailingBlanks(QStringView text)
{
    return text.first(endNonBlank(text, 0)).toString();
}

} // namespace quercino
