#pragma once
// The uncompressed bytes of one zip member, read in chunks; the CRC and the length are
// checked at the end so that a damaged file is reported rather than read short.

#include "platform/sheets/ZipArchive.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace quercino::sheets {

class ZipEntryStream {
public:
    // The member `voce` of the zip file `percorso` (open as `file`), its data from `inizioDati`.
    ZipEntryStream(std::ifstream& file, const std::string& percorso, const ZipEntry& voce, std::uint64_t inizioDati);
    ~ZipEntryStream();
    ZipEntryStream(const ZipEntryStream&) = delete;
    ZipEntryStream& operator=(const ZipEntryStream&) = delete;

    // Fills up to n bytes; returns 0 only at the end of the member. Throws SheetError.
    std::size_t Leggi(char* destinazione, std::size_t n);

private:
    std::size_t LeggiCompressi(char* destinazione, std::size_t n);
    void Verifica();
    [[noreturn]] void Danneggiato() const;

    std::ifstream& file_;
    std::string percorso_;
    ZipEntry voce_;
    std::uint64_t posizione_;           // next compressed byte in the file
    std::uint64_t restanti_;            // compressed bytes not yet read
    std::uint64_t prodotti_ = 0;
    std::uint32_t crc_ = 0;
    bool fine_ = false;
    z_stream z_{};
    bool zAperto_ = false;
    std::vector<char> ingresso_;
};

} // namespace quercino::sheets
