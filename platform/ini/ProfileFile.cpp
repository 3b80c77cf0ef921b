#include "platform/ini/ProfileFile.h"

#include "platform/text/DecodeText.h"

#include <QFile>
#include <QStringView>

#include <algorithm>

namespace quercino {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedBlanks(QStringView s)
{
    qsizetype start = 0;
    qsizetype end = s.size();
    while (start < end && isBlank(s[start]))
        ++start;
    while (end > start && isBlank(s[end - 1]))
        --end;
    return s.sliced(start, end - start);
}

QStringView withoutQuotes(QStringView value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.sliced(1, value.size() - 2);
    }
    return value;
}

// The section name of a "[name]" line, or a null view when the line is not a header.
QStringView sectionName(QStringView line)
{
    if (line.isEmpty() || line.front() != u'[')
        return {};
    const qsizetype close = line.indexOf(u']');
    const QStringView inner = close < 0 ? line.sliced(1) : line.sliced(1, close - 1);
    return trimmedBlanks(inner);
}

} // namespace

QString readProfileValueFromBytes(std::span<const std::uint8_t> bytes, const QString& section,
                                  const QString& key, int maxLength)
{
    const QString text = decodeUtf8OrWindows1252(bytes);
    const QStringView wantedSection = trimmedBlanks(section);
    const QStringView wantedKey = trimmedBlanks(key);
    if (wantedKey.isEmpty() || maxLength <= 0)
        return {};

    bool inSection = false;
    for (QStringView rawLine : QStringView(text).split(u'\n')) {
        if (rawLine.endsWith(u'\r'))
            rawLine.chop(1);
        const QStringView line = trimmedBlanks(rawLine);
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            inSection = sectionName(line).compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        if (trimmedBlanks(line.first(eq)).compare(wantedKey, Qt::CaseInsensitive) != 0)
            continue;
        const QStringView value = withoutQuotes(trimmedBlanks(line.sliced(eq + 1)));
        return value.first(std::min<qsizetype>(value.size(), maxLength)).toString();
    }
    return {};
}

QString readProfileValue(const QString& path, const QString& section, const QString& key,
                         int maxLength)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    // A profile is a few lines; a huge file named like one is read only in its first part.
    constexpr qint64 maxBytes = 1 << 20;
    const QByteArray data = file.read(maxBytes);
    return readProfileValueFromBytes(
        std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                  static_cast<std::size_t>(data.size())),
        section, key, maxLength);
}

} // namespace quercino
