#include "platform/sheets/XlsRecords.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsxSharedStrings.h"

#include <algorithm>

namespace quercino::sheets {

XlsRecords::XlsRecords(CompoundStreamReader& flusso, QString danneggiato, std::size_t lunghezzaMassima)
    : flusso_(flusso), danneggiato_(std::move(danneggiato)), lunghezzaMassima_(lunghezzaMassima)
{
}

void XlsRecords::Danneggiato() const { throw SheetError(danneggiato_); }

bool XlsRecords::Prossimo()
{
    if (rimesso_) {
        rimesso_ = false;
        return true;
    }
    char intestazione[4];
    const std::size_t letti = flusso_.Leggi(intestazione, 4);
    if (letti == 0)
        return false;
    if (letti < 4)
        Danneggiato();
    const auto* b = reinterpret_cast<const unsigned char*>(intestazione);
    tipo_ = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    const std::size_t lunghezza = static_cast<std::size_t>(b[2] | (b[3] << 8));
    if (lunghezza > lunghezzaMassima_)
        Danneggiato();
    dati_.resize(lunghezza);
    if (flusso_.Leggi(reinterpret_cast<char*>(dati_.data()), lunghezza) < lunghezza)
        Danneggiato();
    return true;
}

std::optional<std::uint16_t> XlsRecords::TipoSeguente()
{
    if (rimesso_)
        return tipo_;
    const std::uint64_t qui = flusso_.Posizione();
    unsigned char b[2];
    const std::size_t letti = flusso_.Leggi(reinterpret_cast<char*>(b), 2);
    flusso_.Vai(qui);
    if (letti < 2)
        return std::nullopt;
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint16_t XlsRecords::U16(std::size_t i) const
{
    if (i + 2 > dati_.size())
        Danneggiato();
    return static_cast<std::uint16_t>(dati_[i] | (dati_[i + 1] << 8));
}

std::uint32_t XlsRecords::U32(std::size_t i) const
{
    if (i + 4 > dati_.size())
        Danneggiato();
    return static_cast<std::uint32_t>(U16(i)) | (static_cast<std::uint32_t>(U16(i + 2)) << 16);
}

XlsContinuo::XlsContinuo(XlsRecords& record, std::size_t inizio) : r_(record), pos_(inizio) {}

bool XlsContinuo::Avanza()
{
    if (r_.TipoSeguente() != xls::Continue)
        return false;
    r_.Prossimo();
    pos_ = 0;
    return true;
}

bool XlsContinuo::Finito()
{
    while (pos_ >= r_.Lunghezza())
        if (!Avanza())
            return true;
    return false;
}

void XlsContinuo::Servono(std::size_t n)
{
    // A field is never cut between two records.
    if (Finito() || r_.Lunghezza() - pos_ < n)
        r_.Danneggiato();
}

std::uint8_t XlsContinuo::U8()
{
    Servono(1);
    return r_.Dati()[pos_++];
}

std::uint16_t XlsContinuo::U16()
{
    Servono(2);
    const std::uint16_t v = r_.U16(pos_);
    pos_ += 2;
    return v;
}

std::uint32_t XlsContinuo::U32()
{
    Servono(4);
    const std::uint32_t v = r_.U32(pos_);
    pos_ += 4;
    return v;
}

void XlsContinuo::Salta(std::uint64_t n)
{
    while (n > 0) {
        if (Finito())
            r_.Danneggiato();
        const std::uint64_t qui = std::min<std::uint64_t>(n, r_.Lunghezza() - pos_);
        pos_ += static_cast<std::size_t>(qui);
        n -= qui;
    }
}

void XlsContinuo::Caratteri(std::uint32_t n, bool doppi, std::u16string& testo, std::size_t massimo)
{
    while (n > 0) {
        if (pos_ >= r_.Lunghezza()) {
            if (!Avanza())
                r_.Danneggiato();
            // A CONTINUE in the middle of a text begins with the width of what follows.
            if (r_.Lunghezza() == 0)
                continue;
            doppi = (r_.Dati()[0] & 1) != 0;
            pos_ = 1;
        }
        const std::size_t larghezza = doppi ? 2 : 1;
        const std::size_t qui = std::min<std::size_t>(n, (r_.Lunghezza() - pos_) / larghezza);
        if (qui == 0)
            r_.Danneggiato();   // half of a two-byte character
        const unsigned char* p = r_.Dati() + pos_;
        for (std::size_t k = 0; k < qui && testo.size() < massimo; ++k)
            testo += doppi ? static_cast<char16_t>(p[2 * k] | (p[2 * k + 1] << 8)) : static_cast<char16_t>(p[k]);
        pos_ += qui * larghezza;
        n -= static_cast<std::uint32_t>(qui);
    }
}

void XlsContinuo::Byte(std::uint32_t n, std::string& testo, std::size_t massimo)
{
    while (n > 0) {
        if (Finito())
            r_.Danneggiato();
        const std::size_t qui = std::min<std::size_t>(n, r_.Lunghezza() - pos_);
        const auto* p = reinterpret_cast<const char*>(r_.Dati() + pos_);
        testo.append(p, std::min(qui, massimo - std::min(massimo, testo.size())));
        pos_ += qui;
        n -= static_cast<std::uint32_t>(qui);
    }
}

namespace {

void TestoXlsFinoA(XlsContinuo& dati, std::uint32_t caratteri, bool ricco, std::u16string& testo, std::size_t massimo)
{
    const std::uint8_t opzioni = dati.U8();
    std::uint32_t sequenze = 0;
    std::uint32_t fonetica = 0;
    if (ricco && (opzioni & 0x08))
        sequenze = dati.U16();
    if (ricco && (opzioni & 0x04))
        fonetica = dati.U32();
    dati.Caratteri(caratteri, (opzioni & 0x01) != 0, testo, massimo);
    dati.Salta(4ull * sequenze + fonetica);
}

} // namespace

void AggiungiTestoXls(XlsContinuo& dati, std::uint32_t caratteri, bool ricco, std::u16string& testo)
{
    TestoXlsFinoA(dati, caratteri, ricco, testo, testo.size() + static_cast<std::size_t>(MassimoCaratteriCella));
}

void SaltaTestoXls(XlsContinuo& dati, std::uint32_t caratteri, bool ricco)
{
    std::u16string nessuno;
    TestoXlsFinoA(dati, caratteri, ricco, nessuno, 0);
}

QString TestoXls(XlsContinuo& dati, std::uint32_t caratteri, bool ricco)
{
    std::u16string testo;
    AggiungiTestoXls(dati, caratteri, ricco, testo);
    return QString(reinterpret_cast<const QChar*>(testo.data()), static_cast<qsizetype>(testo.size()));
}

QString Testo8Bit(XlsContinuo& dati, bool lunghezzaDueByte, const XlsCodePage& codePage)
{
    const std::uint32_t lunghezza = lunghezzaDueByte ? dati.U16() : dati.U8();
    std::string byte;
    dati.Byte(lunghezza, byte, lunghezza);
    QString testo = codePage.Testo(byte);
    testo.truncate(MassimoCaratteriCella);
    return testo;
}

} // namespace quercino::sheets
