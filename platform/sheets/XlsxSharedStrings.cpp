#include "platform/sheets/XlsxSharedStrings.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/SpaziXml.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

#include <algorithm>

namespace quercino::sheets {

namespace {

int CifraEsadecimale(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

QString DecodificaEscapeOoxml(std::string_view utf8)
{
    QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // The escapes are ASCII: their bytes are the same before the decoding.
    if (utf8.find("_x") == std::string_view::npos)
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

QString TestoCella(std::string_view utf8)
{
    QString testo = DecodificaEscapeOoxml(utf8);
    testo.truncate(MassimoCaratteriCella);
    return testo;
}

XlsxSharedStrings::XlsxSharedStrings(const ZipArchive& archivio, const ZipEntry& voce, std::size_t memoriaMassima)
{
    // The ends are 32-bit: the table never holds 4 GB.
    memoriaMassima = std::min<std::size_t>(memoriaMassima, UINT32_MAX);
    auto flusso = archivio.Apri(voce);
    XmlPullParser xml([&flusso](char* d, std::size_t n) { return flusso->Leggi(d, n); }, ooxml::Spazi(),
                      {voce.Nome, archivio.Percorso()});
    // The text read since the last <si> is testi_[inizio, end): it becomes the entry at </si>.
    std::size_t inizio = 0;
    std::size_t fineUltima = 0;
    bool dentroSi = false;
    bool dentroT = false;
    int dentroFonetica = 0;    // phonetic runs (rPh) are not part of the text
    for (;;) {
        const auto e = xml.Prossimo();
        if (e == XmlPullParser::Evento::FineDocumento)
            break;
        if (e == XmlPullParser::Evento::Inizio) {
            const auto nome = xml.Spazio() == ooxml::Foglio ? xml.Nome() : std::string_view();
            if (nome == "si") {
                testi_.resize(fineUltima);
                inizio = fineUltima;
                dentroSi = true;
            } else if (nome == "t" && dentroSi) {
                dentroT = true;
            } else if (nome == "rPh") {
                ++dentroFonetica;
            }
        } else if (e == XmlPullParser::Evento::Fine) {
            const auto nome = xml.Spazio() == ooxml::Foglio ? xml.Nome() : std::string_view();
            if (nome == "si") {
                dentroSi = false;
                if (inizio < fineUltima) {
                    // A second </si> with no <si> between (the parser matches depths, not
                    // names): the entry repeats the text since the last <si>.
                    const std::string ripetuto = testi_.substr(inizio);
                    testi_.resize(fineUltima);
                    testi_ += ripetuto;
                    inizio = fineUltima;
                }
                fineUltima = testi_.size();
                fini_.push_back(static_cast<std::uint32_t>(fineUltima));
            } else if (nome == "t") {
                dentroT = false;
            } else if (nome == "rPh" && dentroFonetica > 0) {
                --dentroFonetica;
            }
        } else if (dentroT && dentroFonetica == 0) {
            // Each entry is cut where a text of the parser is.
            const std::size_t letti = testi_.size() - inizio;
            testi_.append(xml.Testo().substr(0, MassimoTestoXml - std::min(MassimoTestoXml, letti)));
        }
        if (testi_.size() + sizeof(std::uint32_t) * fini_.size() > memoriaMassima)
            throw SheetError(QStringLiteral("La tabella dei testi della cartella di lavoro %1 è troppo grande.")
                                 .arg(QString::fromStdString(archivio.Percorso())));
    }
    testi_.resize(fineUltima);
}

std::optional<QString> XlsxSharedStrings::Testo(std::size_t indice) const
{
    if (indice >= fini_.size())
        return std::nullopt;
    const std::size_t inizio = indice == 0 ? 0 : fini_[indice - 1];
    return TestoCella(std::string_view(testi_).substr(inizio, fini_[indice] - inizio));
}

} // namespace quercino::sheets
