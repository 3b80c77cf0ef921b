#include "platform/text/ControlCharacters.h"

namespace quercino {

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

bool hasControlCharacters(const QString& text)
{
    for (const QChar c : text)
        if (isControl(c.unicode()))
            return true;
    return false;
}

QString withoutControlCharacters(const QString& text)
{
    if (!hasControlCharacters(text))
        return text;
    QString clean = QStringLiteral("");   // empty, never null: the drivers store a null as NULL
    clean.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'\t' && u <= u'\r')
            clean += QLatin1Char(' ');
        else if (!isControl(u))
            clean += c;
    }
    return clean;
}

} // namespace quercino
