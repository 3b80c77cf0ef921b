#include "platform/sheets/CsvReader.h"

#include "platform/sheets/SheetError.h"
#include "platform/text/DecodeText.h"
#include "platform/text/Windows1252.h"

#include <array>
#include <cstdint>
#include <span>

namespace quercino::sheets {

namespace {

constexpr std::size_t Blocco = 1 << 16;
constexpr qsizetype MassimoRecord = 1 << 20;

std::size_t LunghezzaSequenza(std::uint8_t b)
{
    if (b >= 0xF0) return 4;
    if (b >= 0xE0) return 3;
    if (b >= 0xC0) return 2;
    return 1;
}

// The length of the prefix of `dati` that holds only whole UTF-8 sequences.
std::size_t SequenzeIntere(std::span<const std::uint8_t> dati)
{
    const std::size_t n = dati.size();
    for (std::size_t indietro = 1; indietro <= 3 && indietro <= n; ++indietro) {
        const std::uint8_t b = dati[n - indietro];
        if ((b & 0xC0) == 0x80)
            continue;            // a continuation byte: look further back for the lead
        if (b >= 0xC0 && LunghezzaSequenza(b) > indietro)
            return n - indietro;
        return n;
    }
    return n;
}

// One pass over the file to choose the decoding: UTF-8 only when every byte fits it.
bool FileUtf8(std::ifstream& file)
{
    std::vector<std::uint8_t> dati;
    std::array<char, Blocco> buffer{};
    for (;;) {
        file.read(buffer.data(), buffer.size());
        const auto letti = static_cast<std::size_t>(file.gcount());
        if (letti == 0)
            break;
        dati.insert(dati.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(letti));
        const std::size_t intere = SequenzeIntere(dati);
        if (!isValidUtf8(std::span(dati.data(), intere)))
            return false;
        dati.erase(dati.begin(), dati.begin() + static_cast<std::ptrdiff_t>(intere));
    }
    return dati.empty() || isValidUtf8(dati);
}

} // namespace

CsvReader::CsvReader(const QString& percorso, const QString& separatore)
    : percorso_(percorso), separatore_(separatore), decoder_(QStringConverter::Utf8)
{
    if (separatore_.isEmpty())
        throw SheetError(QStringLiteral("Indicare il carattere separatore dei campi del file CSV."));
    file_.open(percorso.toStdString(), std::ios::binary);
    if (!file_)
        throw SheetError(QStringLiteral("Impossibile aprire il file %1.").arg(percorso));
    utf8_ = FileUtf8(file_);
    file_.clear();
    file_.seekg(0);
    // The byte-order mark goes before anything else looks at the text.
    char bom[3] = {};
    file_.read(bom, 3);
    if (!(file_.gcount() == 3 && static_cast<std::uint8_t>(bom[0]) == 0xEF && static_cast<std::uint8_t>(bom[1]) == 0xBB
          && static_cast<std::uint8_t>(bom[2]) == 0xBF)) {
        file_.clear();
        file_.seekg(0);
    }
}

bool CsvReader::Riempi()
{
    if (fineFile_)
        return false;
    testo_.remove(0, pos_);
    pos_ = 0;
    std::array<char, Blocco> buffer{};
    const qsizetype prima = testo_.size();
    // A block may decode to no text at all (a second byte-order mark, part of a UTF-8
    // sequence): read on until there is text or the file ends.
    while (testo_.size() == prima) {
        file_.read(buffer.data(), buffer.size());
        const auto letti = static_cast<std::size_t>(file_.gcount());
        if (file_.bad())
            throw SheetError(QStringLiteral("Errore nella lettura del file %1.").arg(percorso_));
        if (letti == 0) {
            fineFile_ = true;
            return false;
        }
        const auto* byte = reinterpret_cast<const std::uint8_t*>(buffer.data());
        if (utf8_)
            testo_ += decoder_.decode(QByteArrayView(buffer.data(), static_cast<qsizetype>(letti)));
        else
            testo_ += decodeWindows1252(std::span(byte, letti));
    }
    return true;
}

void CsvReader::ChiudiCampo(SheetRow& riga)
{
    riga.Celle.push_back(campo_);
    campo_.clear();
    tuttiVirgolette_ = false;
    dentroVirgolette_ = false;
    virgolettaInSospeso_ = false;
}

bool CsvReader::Prossima(SheetRow& riga)
{
    riga.Celle.clear();
    bool iniziato = false;
    lunghezzaRecord_ = 0;
    const QChar primoSeparatore = separatore_.at(0);
    for (;;) {
        if (pos_ >= testo_.size() && !Riempi()) {
            if (dentroVirgolette_ && !virgolettaInSospeso_)
                throw SheetError(QStringLiteral("Il file %1 contiene un campo tra virgolette non chiuso (riga %2).")
                                     .arg(percorso_).arg(record_ + 1));
            if (!iniziato)
                return false;
            ChiudiCampo(riga);
            riga.Numero = ++record_;
            return true;
        }
        const QChar c = testo_.at(pos_);
        if (crInSospeso_) {
            crInSospeso_ = false;
            if (c == u'\n') {
                ++pos_;
                continue;
            }
        }
        if (++lunghezzaRecord_ > MassimoRecord)
            throw SheetError(QStringLiteral("Il file %1 contiene una riga troppo lunga o un campo tra virgolette non chiuso (riga %2).")
                                 .arg(percorso_).arg(record_ + 1));
        iniziato = true;
        if (dentroVirgolette_) {
            if (virgolettaInSospeso_) {
                virgolettaInSospeso_ = false;
                if (c == u'"') {
                    campo_ += c;     // a doubled mark stands for one
                    ++pos_;
                    continue;
                }
                dentroVirgolette_ = false;   // the closing mark: fall through to the plain rules
            } else {
                if (c == u'"')
                    virgolettaInSospeso_ = true;
                else
                    campo_ += c;
                ++pos_;
                continue;
            }
        }
        if (c == u'\r' || c == u'\n') {
            ++pos_;
            crInSospeso_ = c == u'\r';
            ChiudiCampo(riga);
            riga.Numero = ++record_;
            return true;
        }
        if (c == primoSeparatore) {
            if (separatore_.size() == 1) {
                ++pos_;
                ChiudiCampo(riga);
                continue;
            }
            while (testo_.size() - pos_ < separatore_.size() && Riempi()) {}
            if (QStringView(testo_).mid(pos_).startsWith(separatore_)) {
                pos_ += separatore_.size();
                ChiudiCampo(riga);
                continue;
            }
        }
        if (c == u'"' && campo_.isEmpty() && !tuttiVirgolette_) {
            tuttiVirgolette_ = true;
            dentroVirgolette_ = true;
            ++pos_;
            continue;
        }
        campo_ += c;
        ++pos_;
    }
}

} // namespace quercino::sheets
