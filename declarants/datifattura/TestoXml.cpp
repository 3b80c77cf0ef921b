#include "declarants/datifattura/TestoXml.h"

namespace quercino::datifattura {

namespace {

// XML 1.0 allows tab, LF and CR among the controls; we blank them too, since every value
// stands on one line of its own.
bool Vietato(char32_t c)
{
    return c < 0x20 || c == 0xFFFE || c == 0xFFFF || (c >= 0xD800 && c <= 0xDFFF);
}

void AggiungiUtf8(std::string& uscita, char32_t c)
{
    if (c < 0x80) {
        uscita.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        uscita.push_back(static_cast<char>(0xC0 | (c >> 6)));
        uscita.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        uscita.push_back(static_cast<char>(0xE0 | (c >> 12)));
        uscita.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        uscita.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        uscita.push_back(static_cast<char>(0xF0 | (c >> 18)));
        uscita.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        uscita.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        uscita.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Calls `azione` with each code point of `testo`; a lone surrogate comes as itself, so that
// the caller blanks it.
template <typename Azione>
void PerOgniCarattere(QStringView testo, Azione azione)
{
    const qsizetype n = testo.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = testo.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(testo.at(i + 1).unicode())) {
            azione(QChar::surrogateToUcs4(u, testo.at(i + 1).unicode()));
            ++i;
        } else {
            azione(static_cast<char32_t>(u));
        }
    }
}

// Copies the leading characters of `testo` that stand for themselves (printable ASCII other
// than the `speciale` ones) as one byte each, as most values are whole; returns how many
// there were.
template <typename Speciale>
qsizetype CopiaAscii(std::string& uscita, QStringView testo, Speciale speciale)
{
    const std::size_t inizio = uscita.size();
    uscita.resize(inizio + static_cast<std::size_t>(testo.size()));
    char* scritto = uscita.data() + inizio;
    qsizetype i = 0;
    for (const QChar c : testo) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u >= 0x80 || speciale(u))
            break;
        scritto[i++] = static_cast<char>(u);
    }
    uscita.resize(inizio + static_cast<std::size_t>(i));
    return i;
}

} // namespace

void AggiungiValore(std::string& uscita, const QString& testo)
{
    const qsizetype copiati = CopiaAscii(uscita, testo, [](char16_t u) { return u == u'&' || u == u'<' || u == u'>'; });
    PerOgniCarattere(QStringView(testo).sliced(copiati), [&uscita](char32_t c) {
        switch (c) {
        case U'&': uscita.append("&amp;"); break;
        case U'<': uscita.append("&lt;"); break;
        case U'>': uscita.append("&gt;"); break;
        default:
            if (Vietato(c))
                uscita.push_back(' ');
            else
                AggiungiUtf8(uscita, c);
        }
    });
}

QByteArray ValoreXml(const QString& testo)
{
    std::string uscita;
    uscita.reserve(static_cast<std::size_t>(testo.size()));
    AggiungiValore(uscita, testo);
    return QByteArray::fromStdString(uscita);
}

void AggiungiCommento(std::string& uscita, const QString& testo)
{
    // The characters copied at once are not "-": the rule starts afresh after them.
    const qsizetype copiati = CopiaAscii(uscita, testo, [](char16_t u) { return u == u'-'; });
    bool trattino = false;
    PerOgniCarattere(QStringView(testo).sliced(copiati), [&](char32_t c) {
        if (c == U'-') {
            if (trattino)
                uscita.push_back(' ');
            uscita.push_back('-');
            trattino = true;
            return;
        }
        trattino = false;
        if (Vietato(c))
            uscita.push_back(' ');
        else
            AggiungiUtf8(uscita, c);
    });
    if (trattino)
        uscita.push_back(' ');
}

} // namespace quercino::datifattura
