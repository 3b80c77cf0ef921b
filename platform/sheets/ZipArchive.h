#pragma once
// Read-only access to the members of a zip file, through its central directory.
// Members are streamed (stored or deflated), never loaded whole.

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quercino::sheets {

struct ZipEntry {
    std::string Nome;
    std::uint16_t Metodo = 0;            // 0 stored, 8 deflated
    std::uint16_t Flag = 0;
    std::uint32_t Crc = 0;
    std::uint64_t DimensioneCompressa = 0;
    std::uint64_t Dimensione = 0;
    std::uint64_t OffsetIntestazione = 0;
};

class ZipEntryStream;

class ZipArchive {
public:
    // Throws SheetError when the file cannot be opened or is not a readable zip.
    explicit ZipArchive(const std::string& percorso);
    ~ZipArchive();

    const std::string& Percorso() const { return percorso_; }
    const std::vector<ZipEntry>& Voci() const { return voci_; }
    // Exact name first, then a case-insensitive match (some writers differ in case).
    std::optional<ZipEntry> Trova(const std::string& nome) const;
    // A stream over the member's uncompressed bytes; the archive must outlive it.
    std::unique_ptr<ZipEntryStream> Apri(const ZipEntry& voce) const;
    // The same, once the whole member has been read through and its length and CRC found
    // right: what is made from its first bytes cannot be undone if its last ones are wrong.
    std::unique_ptr<ZipEntryStream> ApriVerificato(const ZipEntry& voce) const;
    // A whole small member (mimetype, relationships); refuses members above the limit.
    std::string Leggi(const ZipEntry& voce, std::uint64_t limite) const;

private:
    void LeggiDirectory();

    std::string percorso_;
    mutable std::ifstream file_;
    std::uint64_t dimensioneFile_ = 0;
    std::vector<ZipEntry> voci_;
};

} // namespace quercino::sheets
