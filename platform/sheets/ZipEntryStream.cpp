#include "platform/sheets/ZipEntryStream.h"

#include "platform/sheets/SheetError.h"

#include <QString>

#include <algorithm>

namespace quercino::sheets {

void ZipEntryStream::Danneggiato() const
{
    throw ErroreParte(voce_.Nome, percorso_, QStringLiteral("è danneggiata e non può essere letta."));
}

ZipEntryStream::ZipEntryStream(std::ifstream& file, const std::string& percorso, const ZipEntry& voce, std::uint64_t inizioDati)
    : file_(file), percorso_(percorso), voce_(voce), posizione_(inizioDati), restanti_(voce.DimensioneCompressa)
{
    crc_ = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
    if (voce_.Metodo == 8) {
        if (inflateInit2(&z_, -MAX_WBITS) != Z_OK)
            Danneggiato();
        zAperto_ = true;
        ingresso_.resize(1 << 16);
    }
}

ZipEntryStream::~ZipEntryStream()
{
    if (zAperto_)
        inflateEnd(&z_);
}

std::size_t ZipEntryStream::LeggiCompressi(char* destinazione, std::size_t n)
{
    const std::size_t quanti = static_cast<std::size_t>(std::min<std::uint64_t>(n, restanti_));
    if (quanti == 0)
        return 0;
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(posizione_));
    file_.read(destinazione, static_cast<std::streamsize>(quanti));
    if (static_cast<std::size_t>(file_.gcount()) != quanti)
        Danneggiato();
    posizione_ += quanti;
    restanti_ -= quanti;
    return quanti;
}

std::size_t ZipEntryStream::Leggi(char* destinazione, std::size_t n)
{
    if (fine_ || n == 0)
        return 0;
    std::size_t prodotti = 0;
    if (voce_.Metodo == 0) {
        prodotti = LeggiCompressi(destinazione, n);
    } else {
        z_.next_out = reinterpret_cast<Bytef*>(destinazione);
        z_.avail_out = static_cast<uInt>(std::min<std::size_t>(n, 1u << 30));
        while (z_.avail_out > 0) {
            if (z_.avail_in == 0) {
                const std::size_t letti = LeggiCompressi(ingresso_.data(), ingresso_.size());
                z_.next_in = reinterpret_cast<Bytef*>(ingresso_.data());
                z_.avail_in = static_cast<uInt>(letti);
            }
            const int esito = inflate(&z_, Z_NO_FLUSH);
            if (esito == Z_STREAM_END) {
                fine_ = true;
                break;
            }
            if (esito == Z_BUF_ERROR && z_.avail_in == 0 && restanti_ == 0)
                Danneggiato();   // the compressed data ran out before their end
            if (esito != Z_OK && esito != Z_BUF_ERROR)
                Danneggiato();
        }
        prodotti = static_cast<std::size_t>(reinterpret_cast<char*>(z_.next_out) - destinazione);
    }
    if (prodotti > 0) {
        crc_ = static_cast<std::uint32_t>(crc32(crc_, reinterpret_cast<const Bytef*>(destinazione), static_cast<uInt>(prodotti)));
        prodotti_ += prodotti;
        // A member that grows past its declared size is damaged or built to exhaust memory.
        if (prodotti_ > voce_.Dimensione)
            Danneggiato();
    }
    if (voce_.Metodo == 0 && restanti_ == 0)
        fine_ = true;
    if (fine_)
        Verifica();
    return prodotti;
}

void ZipEntryStream::Verifica()
{
    if (prodotti_ != voce_.Dimensione || crc_ != voce_.Crc)
        Danneggiato();
}

} // namespace quercino::sheets
