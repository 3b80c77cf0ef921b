#include "ZipInUscita.h"

namespace {

// Little-endian fields of 2 or 4 bytes.
void Campi(std::string& s, std::initializer_list<std::pair<int, std::uint32_t>> campi)
{
    for (const auto& [byte, valore] : campi)
        for (int i = 0; i < byte; ++i)
            s += static_cast<char>((valore >> (8 * i)) & 0xFF);
}

} // namespace

ZipInUscita::ZipInUscita(const std::string& percorso) : file_(percorso, std::ios::binary | std::ios::trunc) {}

ZipInUscita::~ZipInUscita()
{
    if (aperto_)
        deflateEnd(&z_);
}

void ZipInUscita::Membro(const std::string& nome)
{
    FineMembro();
    Voce v;
    v.Nome = nome;
    v.Offset = static_cast<std::uint32_t>(file_.tellp());
    voci_.push_back(v);
    // Crc and sizes are written once known, over these zeros.
    std::string testata;
    Campi(testata, {{4, 0x04034b50}, {2, 20}, {2, 0}, {2, 8}, {2, 0}, {2, 0x21}, {4, 0}, {4, 0}, {4, 0},
                    {2, static_cast<std::uint32_t>(nome.size())}, {2, 0}});
    file_ << testata << nome;
    z_ = z_stream{};
    deflateInit2(&z_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    aperto_ = true;
}

void ZipInUscita::Comprimi(int fine)
{
    do {
        z_.next_out = reinterpret_cast<Bytef*>(uscita_.data());
        z_.avail_out = static_cast<uInt>(uscita_.size());
        deflate(&z_, fine);
        file_.write(uscita_.data(), static_cast<std::streamsize>(uscita_.size() - z_.avail_out));
    } while (z_.avail_out == 0);
}

void ZipInUscita::Scrivi(std::string_view dati)
{
    Voce& v = voci_.back();
    v.Crc = static_cast<std::uint32_t>(crc32(v.Crc, reinterpret_cast<const Bytef*>(dati.data()), static_cast<uInt>(dati.size())));
    v.Dimensione += static_cast<std::uint32_t>(dati.size());
    z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data()));
    z_.avail_in = static_cast<uInt>(dati.size());
    Comprimi(Z_NO_FLUSH);
}

void ZipInUscita::FineMembro()
{
    if (!aperto_)
        return;
    Comprimi(Z_FINISH);
    Voce& v = voci_.back();
    v.Compressi = static_cast<std::uint32_t>(z_.total_out);
    deflateEnd(&z_);
    aperto_ = false;
    const auto qui = file_.tellp();
    std::string campi;
    Campi(campi, {{4, v.Crc}, {4, v.Compressi}, {4, v.Dimensione}});
    file_.seekp(v.Offset + 14);
    file_ << campi;
    file_.seekp(qui);
}

bool ZipInUscita::Chiudi()
{
    FineMembro();
    const auto inizio = static_cast<std::uint32_t>(file_.tellp());
    std::string directory;
    for (const Voce& v : voci_) {
        Campi(directory, {{4, 0x02014b50}, {2, 20}, {2, 20}, {2, 0}, {2, 8}, {2, 0}, {2, 0x21}, {4, v.Crc}, {4, v.Compressi},
                          {4, v.Dimensione}, {2, static_cast<std::uint32_t>(v.Nome.size())}, {2, 0}, {2, 0}, {2, 0},
                          {2, 0}, {4, 0}, {4, v.Offset}});
        directory += v.Nome;
    }
    const auto voci = static_cast<std::uint32_t>(voci_.size());
    Campi(directory, {{4, 0x06054b50}, {2, 0}, {2, 0}, {2, voci}, {2, voci},
                      {4, static_cast<std::uint32_t>(directory.size())}, {4, inizio}, {2, 0}});
    file_ << directory;
    file_.close();
    return !file_.fail();
}
