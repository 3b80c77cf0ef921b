#include "platform/sheets/XlsbRecords.h"

#include "platform/sheets/SheetError.h"

#include <algorithm>
#include <cstring>

namespace quercino::sheets {

XlsbRecords::XlsbRecords(std::unique_ptr<ZipEntryStream> flusso, std::string nomeParte, std::string file)
    : flusso_(std::move(flusso)), nomeParte_(std::move(nomeParte)), file_(std::move(file))
{
}

void XlsbRecords::Danneggiata() const
{
    throw ErroreParte(nomeParte_, file_, QStringLiteral("è danneggiata e non può essere letta."));
}

bool XlsbRecords::Byte(std::uint8_t& b)
{
    if (pos_ == fine_) {
        fine_ = flusso_->Leggi(buffer_.data(), buffer_.size());
        pos_ = 0;
        if (fine_ == 0)
            return false;
    }
    b = static_cast<std::uint8_t>(buffer_[pos_++]);
    return true;
}

std::size_t XlsbRecords::Leggi(char* destinazione, std::size_t n)
{
    std::size_t letti = 0;
    while (letti < n) {
        if (pos_ == fine_) {
            fine_ = flusso_->Leggi(buffer_.data(), buffer_.size());
            pos_ = 0;
            if (fine_ == 0)
                break;
        }
        const std::size_t k = std::min(n - letti, fine_ - pos_);
        if (destinazione)
            std::memcpy(destinazione + letti, buffer_.data() + pos_, k);
        pos_ += k;
        letti += k;
    }
    return letti;
}

bool XlsbRecords::Prossimo()
{
    std::uint8_t b = 0;
    if (!Byte(b))
        return false;
    tipo_ = b & 0x7Fu;
    if (b & 0x80u) {
        // Two bytes at most; a third would make a type no record has.
        if (!Byte(b) || (b & 0x80u))
            Danneggiata();
        tipo_ |= static_cast<std::uint32_t>(b & 0x7Fu) << 7;
    }
    dimensione_ = 0;
    for (int i = 0;; ++i) {
        if (!Byte(b))
            Danneggiata();
        dimensione_ |= static_cast<std::uint32_t>(b & 0x7Fu) << (7 * i);
        if (!(b & 0x80u))
            break;
        // Four bytes at most: a fifth is no size this format writes.
        if (i == 3)
            Danneggiata();
    }
    const std::size_t tenuti = std::min<std::size_t>(dimensione_, MassimoDatiRecord);
    dati_.resize(tenuti);
    if (Leggi(dati_.data(), tenuti) != tenuti || Leggi(nullptr, dimensione_ - tenuti) != dimensione_ - tenuti)
        Danneggiata();
    return true;
}

std::string_view CampiRecord::Prendi(std::size_t n)
{
    if (n > restanti_ || n > dati_.size())
        record_.Danneggiata();
    const std::string_view p = dati_.substr(0, n);
    dati_.remove_prefix(n);
    restanti_ -= n;
    return p;
}

std::uint8_t CampiRecord::U8()
{
    return static_cast<std::uint8_t>(Prendi(1)[0]);
}

std::uint16_t CampiRecord::U16()
{
    const auto p = Prendi(2);
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(p[0]) | (static_cast<std::uint8_t>(p[1]) << 8));
}

std::uint32_t CampiRecord::U32()
{
    const auto p = Prendi(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(p[static_cast<std::size_t>(i)]);
    return v;
}

double CampiRecord::F64()
{
    const std::uint64_t basso = U32();
    const std::uint64_t alto = U32();
    const std::uint64_t bit = basso | (alto << 32);
    double v = 0;
    std::memcpy(&v, &bit, sizeof v);
    return v;
}

void CampiRecord::Salta(std::uint64_t byte)
{
    if (byte > restanti_)
        record_.Danneggiata();
    const std::size_t tenuti = static_cast<std::size_t>(std::min<std::uint64_t>(byte, dati_.size()));
    dati_.remove_prefix(tenuti);
    restanti_ -= byte;
}

QString CampiRecord::Stringa(qsizetype massimo)
{
    const std::uint64_t caratteri = U32();
    if (caratteri * 2 > restanti_)
        record_.Danneggiata();
    const auto presi = static_cast<std::size_t>(std::min<std::uint64_t>(caratteri, static_cast<std::uint64_t>(massimo)));
    const std::string_view byte = Prendi(presi * 2);
    Salta((caratteri - presi) * 2);
    QString testo(static_cast<qsizetype>(presi), Qt::Uninitialized);
    for (std::size_t i = 0; i < presi; ++i)
        testo[static_cast<qsizetype>(i)] = QChar(static_cast<char16_t>(static_cast<std::uint8_t>(byte[2 * i])
                                                                     | (static_cast<std::uint8_t>(byte[2 * i + 1]) << 8)));
    return testo;
}

QString CampiRecord::StringaNullabile(qsizetype massimo)
{
    if (dati_.size() >= 4 && restanti_ >= 4 && std::memcmp(dati_.data(), "\xFF\xFF\xFF\xFF", 4) == 0) {
        Salta(4);
        return {};
    }
    return Stringa(massimo);
}

} // namespace quercino::sheets
