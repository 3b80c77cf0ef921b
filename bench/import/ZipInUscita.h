#pragma once
// A zip file written as a stream, one deflated member after the other: the benchmark's
// workbooks of hundreds of megabytes of XML never stand whole in memory. Members stay
// under 4 GB (no zip64).

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

class ZipInUscita {
public:
    explicit ZipInUscita(const std::string& percorso);
    ~ZipInUscita();
    ZipInUscita(const ZipInUscita&) = delete;
    ZipInUscita& operator=(const ZipInUscita&) = delete;

    // Begins a member; the one before it, if any, is ended.
    void Membro(const std::string& nome);
    void Scrivi(std::string_view dati);
    // Ends the last member and writes the central directory; false when a write failed.
    bool Chiudi();

private:
    struct Voce {
        std::string Nome;
        std::uint32_t Crc = 0;
        std::uint32_t Compressi = 0;
        std::uint32_t Dimensione = 0;
        std::uint32_t Offset = 0;
    };
    void Comprimi(int fine);
    void FineMembro();

    std::ofstream file_;
    std::vector<Voce> voci_;
    z_stream z_{};
    bool aperto_ = false;
    std::vector<char> uscita_ = std::vector<char>(1 << 16);
};
