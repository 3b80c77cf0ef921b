#include "platform/sheets/XlsxSharedStrings.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

namespace quercino::sheets {

namespace {

constexpr std::size_t CostoVoce = sizeof(QString) + 16;

int CifraEsadecimale(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

QString DecodificaEscapeOoxml(const std::string& utf8)
{
    QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // The escapes are ASCII: their bytes are the same before the decoding.
    if (utf8.find("_x") == std::string::npos)
        return s;
    QString r;
    r.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'_' && i + 6 < s.size() && s[i + 1] == u'x' && s[i + 6] == u'_') {
            int v = 0;
            bool ok = true;
            for (int k = 2; k < 6; ++k) {
                const int h = CifraEsadecimale(s[i + k]);
                ok = ok && h >= 0;
                v = v * 16 + (h < 0 ? 0 : h);
            }
            if (ok) {
                r += QChar(static_cast<char16_t>(v));
                i += 6;
                continue;
            }
        }
        r += s[i];
    }
    return r;
}

} // namespace

QString TestoCella(const std::string& utf8)
{
    QString testo = DecodificaEscapeOoxml(utf8);
    testo.truncate(MassimoCaratteriCella);
    return testo;
}

XlsxSharedStrings::XlsxSharedStrings(const ZipArchive& archivio, const ZipEntry& voce, std::size_t memoriaMassima)
{
    auto flusso = archivio.Apri(voce);
    XmlPullParser xml([&flusso](char* d, std::size_t n) { return flusso->Leggi(d, n); });
    std::string corrente;
    bool dentroSi = false;
    bool dentroT = false;
    int dentroFonetica = 0;    // phonetic runs (rPh) are not part of the text
    std::size_t totale = 0;
    for (;;) {
        const auto e = xml.Prossimo();
        if (e == XmlPullParser::Evento::FineDocumento)
            break;
        if (e == XmlPullParser::Evento::Inizio) {
            const auto nome = xml.Nome();
            if (nome == "si") {
                dentroSi = true;
                corrente.clear();
            } else if (nome == "t" && dentroSi) {
                dentroT = true;
            } else if (nome == "rPh") {
                ++dentroFonetica;
            }
        } else if (e == XmlPullParser::Evento::Fine) {
            const auto nome = xml.Nome();
            if (nome == "si") {
                dentroSi = false;
                testi_.push_back(TestoCella(corrente));
                totale += 2 * static_cast<std::size_t>(testi_.back().size()) + CostoVoce;
                if (totale > memoriaMassima)
                    throw SheetError(QStringLiteral("La tabella dei testi della cartella di lavoro è troppo grande."));
            } else if (nome == "t") {
                dentroT = false;
            } else if (nome == "rPh" && dentroFonetica > 0) {
                --dentroFonetica;
            }
        } else if (dentroT && dentroFonetica == 0) {
            AggiungiLimitato(corrente, xml.Testo());
        }
    }
}

} // namespace quercino::sheets
