#include "platform/sheets/XlsxStyles.h"

#include "platform/sheets/SpaziXml.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

#include <charconv>
#include <map>
#include <string>

namespace quercino::sheets {

namespace {

int Intero(const std::optional<std::string>& testo)
{
    int n = 0;
    if (testo)
        std::from_chars(testo->data(), testo->data() + testo->size(), n);
    return n;
}

} // namespace

bool FormatoData(int identificativo, std::string_view codice)
{
    // Built-in formats: 14-17 and 22 are dates; 27-36 and 50-58 are the East Asian dates.
    if ((identificativo >= 14 && identificativo <= 17) || identificativo == 22
        || (identificativo >= 27 && identificativo <= 36) || (identificativo >= 50 && identificativo <= 58))
        return true;
    if (codice.empty())
        return false;
    // Only the first section (positive numbers) decides; quoted texts, escaped
    // characters and bracketed parts (colours, locales, elapsed times) do not count.
    bool virgolette = false;
    bool parentesi = false;
    for (std::size_t i = 0; i < codice.size(); ++i) {
        const char c = codice[i];
        if (virgolette) {
            virgolette = c != '"';
            continue;
        }
        if (parentesi) {
            parentesi = c != ']';
            continue;
        }
        if (c == '"') virgolette = true;
        else if (c == '[') parentesi = true;
        else if (c == '\\' || c == '_' || c == '*') ++i;
        else if (c == ';') return false;
        else if (c == 'd' || c == 'D' || c == 'y' || c == 'Y') return true;
    }
    return false;
}

XlsxStyles::XlsxStyles(const ZipArchive& archivio, const ZipEntry& voce)
{
    auto flusso = archivio.Apri(voce);
    XmlPullParser xml([&flusso](char* d, std::size_t n) { return flusso->Leggi(d, n); }, ooxml::Spazi(),
                      {voce.Nome, archivio.Percorso()});
    std::map<int, bool> formatiPropri;
    bool dentroXf = false;
    for (;;) {
        const auto e = xml.Prossimo();
        if (e == XmlPullParser::Evento::FineDocumento)
            break;
        if (e == XmlPullParser::Evento::Inizio) {
            const auto nome = xml.Spazio() == ooxml::Foglio ? xml.Nome() : std::string_view();
            if (nome == "numFmt") {
                const auto id = xml.Attributo("numFmtId");
                const auto codice = xml.Attributo("formatCode");
                if (id)
                    formatiPropri[Intero(id)] = FormatoData(-1, codice.value_or(std::string()));
            } else if (nome == "cellXfs") {
                dentroXf = true;
            } else if (nome == "xf" && dentroXf) {
                const auto id = xml.Attributo("numFmtId");
                const int n = Intero(id);
                const auto proprio = formatiPropri.find(n);
                date_.push_back(proprio != formatiPropri.end() ? proprio->second : FormatoData(n, {}));
            }
        } else if (e == XmlPullParser::Evento::Fine && xml.E(ooxml::Foglio, "cellXfs")) {
            dentroXf = false;
        }
    }
}

} // namespace quercino::sheets
