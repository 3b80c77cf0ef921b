#pragma once
// Read-only access to the streams of a compound file (the container of Excel 97-2003
// workbooks, and of encrypted workbooks of any version). The allocation tables are read
// once; a stream is read in place through its sector chain, never loaded whole. Every chain
// is checked as it is followed: a sector past the end of the file, a sector met twice (a
// loop) or a chain shorter than its stream make the file damaged.

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quercino::sheets {

// Where a stream's bytes lie in the file: pieces of equal size (a sector, or a mini sector
// for small streams), in order.
struct CompoundStream {
    std::uint64_t Dimensione = 0;
    std::uint32_t Pezzo = 0;
    std::vector<std::uint64_t> Posizioni;
};

class CompoundFile {
public:
    // Throws SheetError when the file cannot be opened or its structure is damaged.
    explicit CompoundFile(const std::string& percorso);
    ~CompoundFile();
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    // The stream of that name among the root storage's children, compared without regard
    // to case as the format compares names; none when there is no such stream. Throws
    // SheetError when its chain is damaged.
    std::optional<CompoundStream> Trova(std::u16string_view nome) const;
    // Whether the root storage has a stream of that name, its chain not looked at.
    bool Esiste(std::u16string_view nome) const { return VoceDi(nome) != nullptr; }

    // Reads `n` bytes of the file at `posizione`; false when the file ends before them.
    bool LeggiA(std::uint64_t posizione, char* dati, std::size_t n) const;

    const std::string& Percorso() const { return percorso_; }

    [[noreturn]] void Danneggiato() const;

private:
    struct Voce {
        std::u16string Nome;
        std::uint8_t Tipo = 0;
        std::uint32_t Sinistra = 0;
        std::uint32_t Destra = 0;
        std::uint32_t Figlio = 0;
        std::uint32_t Inizio = 0;
        std::uint64_t Dimensione = 0;
    };

    const Voce* VoceDi(std::u16string_view nome) const;
    std::vector<std::uint32_t> Catena(const std::vector<std::uint32_t>& tabella, std::uint32_t inizio,
                                      std::uint64_t massimo) const;
    std::uint64_t PosizioneSettore(std::uint32_t settore) const;
    void LeggiSettore(std::uint32_t settore, std::vector<char>& dati) const;
    void PreparaMiniStream() const;

    std::string percorso_;
    mutable std::ifstream file_;
    std::uint64_t dimensioneFile_ = 0;
    std::uint32_t settore_ = 512;
    std::uint32_t settori_ = 0;            // whole or partial sectors after the header
    std::vector<std::uint32_t> fat_;
    std::uint32_t inizioMiniFat_ = 0;
    std::uint32_t settoriMiniFat_ = 0;
    // Read when a stream of the mini stream is first asked for.
    mutable bool miniPronto_ = false;
    mutable std::vector<std::uint32_t> miniFat_;
    mutable std::vector<std::uint32_t> miniStream_;   // the sectors of the root's mini stream
    mutable std::uint64_t dimensioneMiniStream_ = 0;
    std::vector<Voce> voci_;
};

// A stream read in order from its pieces; the compound file must outlive it.
class CompoundStreamReader {
public:
    CompoundStreamReader(const CompoundFile& file, CompoundStream flusso);

    std::uint64_t Dimensione() const { return flusso_.Dimensione; }
    std::uint64_t Posizione() const { return posizione_; }
    // Moves to `posizione` (at most the stream's size).
    void Vai(std::uint64_t posizione);
    // Up to n bytes from the current position; fewer only at the end of the stream. Throws
    // SheetError when the file ends before the stream does.
    std::size_t Leggi(char* dati, std::size_t n);

private:
    std::size_t LeggiDalFile(std::uint64_t posizione, char* dati, std::size_t n) const;

    const CompoundFile& file_;
    CompoundStream flusso_;
    std::uint64_t posizione_ = 0;
    // The stream's bytes from inizioBuffer_ on, read ahead: records are a few bytes each.
    std::vector<char> buffer_;
    std::uint64_t inizioBuffer_ = 0;
};

} // namespace quercino::sheets
