#include "platform/sheets/ZipArchive.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/ZipEntryStream.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace quercino::sheets {

namespace {

constexpr std::uint32_t FirmaFineDirectory = 0x06054b50;
constexpr std::uint32_t FirmaVoceDirectory = 0x02014b50;
constexpr std::uint32_t FirmaIntestazione = 0x04034b50;
constexpr std::uint32_t FirmaFineDirectory64 = 0x06064b50;
constexpr std::uint32_t FirmaLocalizzatore64 = 0x07064b50;

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t U64(const unsigned char* p)
{
    return static_cast<std::uint64_t>(U32(p)) | (static_cast<std::uint64_t>(U32(p + 4)) << 32);
}

[[noreturn]] void Danneggiato(const std::string& percorso)
{
    throw SheetError(QStringLiteral("Il file %1 non è un archivio leggibile: è danneggiato, troncato o non è una cartella di lavoro "
                                    "(.xlsx, .xlsm, .xlsb o .ods).")
                         .arg(QString::fromStdString(percorso)));
}

std::string Minuscolo(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

} // namespace

ZipArchive::ZipArchive(const std::string& percorso) : percorso_(percorso)
{
    file_.open(percorso, std::ios::binary);
    if (!file_)
        throw SheetError(QStringLiteral("Impossibile aprire il file %1.").arg(QString::fromStdString(percorso)));
    file_.seekg(0, std::ios::end);
    dimensioneFile_ = static_cast<std::uint64_t>(file_.tellg());
    LeggiDirectory();
}

ZipArchive::~ZipArchive() = default;

void ZipArchive::LeggiDirectory()
{
    // The end record sits in the last 22 bytes plus a comment of at most 65535.
    const std::uint64_t coda = std::min<std::uint64_t>(dimensioneFile_, 22 + 65535);
    if (coda < 22)
        Danneggiato(percorso_);
    std::vector<unsigned char> buffer(coda);
    file_.seekg(static_cast<std::streamoff>(dimensioneFile_ - coda));
    file_.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(coda));
    if (!file_)
        Danneggiato(percorso_);
    std::int64_t fine = -1;
    for (std::int64_t i = static_cast<std::int64_t>(coda) - 22; i >= 0; --i) {
        if (U32(&buffer[i]) == FirmaFineDirectory) {
            fine = i;
            break;
        }
    }
    if (fine < 0)
        Danneggiato(percorso_);
    const unsigned char* e = &buffer[fine];
    std::uint64_t numeroVoci = U16(e + 10);
    std::uint64_t dimensioneDir = U32(e + 12);
    std::uint64_t inizioDir = U32(e + 16);

    // Zip64: the locator just before the end record points at the larger record.
    if ((numeroVoci == 0xFFFF || dimensioneDir == 0xFFFFFFFF || inizioDir == 0xFFFFFFFF) && fine >= 20
        && U32(&buffer[fine - 20]) == FirmaLocalizzatore64) {
        const std::uint64_t posizione64 = U64(&buffer[fine - 20 + 8]);
        unsigned char r[56];
        file_.seekg(static_cast<std::streamoff>(posizione64));
        file_.read(reinterpret_cast<char*>(r), sizeof r);
        if (!file_ || U32(r) != FirmaFineDirectory64)
            Danneggiato(percorso_);
        numeroVoci = U64(r + 32);
        dimensioneDir = U64(r + 40);
        inizioDir = U64(r + 48);
    }
    if (inizioDir > dimensioneFile_ || dimensioneDir > dimensioneFile_ - inizioDir || numeroVoci > dimensioneDir / 46 + 1)
        Danneggiato(percorso_);

    std::vector<unsigned char> dir(dimensioneDir);
    file_.seekg(static_cast<std::streamoff>(inizioDir));
    file_.read(reinterpret_cast<char*>(dir.data()), static_cast<std::streamsize>(dimensioneDir));
    if (!file_)
        Danneggiato(percorso_);

    std::size_t p = 0;
    voci_.reserve(numeroVoci);
    for (std::uint64_t n = 0; n < numeroVoci; ++n) {
        if (p + 46 > dir.size() || U32(&dir[p]) != FirmaVoceDirectory)
            Danneggiato(percorso_);
        const unsigned char* v = &dir[p];
        ZipEntry voce;
        voce.Flag = U16(v + 8);
        voce.Metodo = U16(v + 10);
        voce.Crc = U32(v + 16);
        voce.DimensioneCompressa = U32(v + 20);
        voce.Dimensione = U32(v + 24);
        const std::size_t lunghezzaNome = U16(v + 28);
        const std::size_t lunghezzaExtra = U16(v + 30);
        const std::size_t lunghezzaCommento = U16(v + 32);
        voce.OffsetIntestazione = U32(v + 42);
        if (p + 46 + lunghezzaNome + lunghezzaExtra + lunghezzaCommento > dir.size())
            Danneggiato(percorso_);
        voce.Nome.assign(reinterpret_cast<const char*>(v + 46), lunghezzaNome);
        // Zip64 extra field: the 64-bit values follow in order for the fields that overflowed.
        const unsigned char* x = v + 46 + lunghezzaNome;
        for (std::size_t q = 0; q + 4 <= lunghezzaExtra;) {
            const std::uint16_t id = U16(x + q);
            const std::size_t len = U16(x + q + 2);
            if (q + 4 + len > lunghezzaExtra)
                break;
            if (id == 1) {
                const unsigned char* d = x + q + 4;
                std::size_t usati = 0;
                auto prendi = [&](std::uint64_t& campo) {
                    if (campo == 0xFFFFFFFF && usati + 8 <= len) {
                        campo = U64(d + usati);
                        usati += 8;
                    }
                };
                prendi(voce.Dimensione);
                prendi(voce.DimensioneCompressa);
                prendi(voce.OffsetIntestazione);
            }
            q += 4 + len;
        }
        voci_.push_back(std::move(voce));
        p += 46 + lunghezzaNome + lunghezzaExtra + lunghezzaCommento;
    }
}

std::optional<ZipEntry> ZipArchive::Trova(const std::string& nome) const
{
    for (const auto& v : voci_)
        if (v.Nome == nome)
            return v;
    const std::string cercato = Minuscolo(nome);
    for (const auto& v : voci_)
        if (Minuscolo(v.Nome) == cercato)
            return v;
    return std::nullopt;
}

std::unique_ptr<ZipEntryStream> ZipArchive::Apri(const ZipEntry& voce) const
{
    unsigned char h[30];
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(voce.OffsetIntestazione));
    file_.read(reinterpret_cast<char*>(h), sizeof h);
    if (!file_ || U32(h) != FirmaIntestazione)
        Danneggiato(percorso_);
    if (voce.Flag & 1)
        throw SheetError(QStringLiteral("Il file %1 è protetto da password: toglierne la protezione e ripetere.")
                             .arg(QString::fromStdString(percorso_)));
    if (voce.Metodo != 0 && voce.Metodo != 8)
        throw SheetError(QStringLiteral("Il file %1 usa una compressione non supportata.").arg(QString::fromStdString(percorso_)));
    const std::uint64_t inizio = voce.OffsetIntestazione + 30 + U16(h + 26) + U16(h + 28);
    if (inizio > dimensioneFile_ || voce.DimensioneCompressa > dimensioneFile_ - inizio)
        Danneggiato(percorso_);
    return std::make_unique<ZipEntryStream>(file_, percorso_, voce, inizio);
}

std::unique_ptr<ZipEntryStream> ZipArchive::ApriVerificato(const ZipEntry& voce) const
{
    {
        auto prova = Apri(voce);
        std::vector<char> buffer(1 << 16);
        while (prova->Leggi(buffer.data(), buffer.size()) > 0) {}
    }
    return Apri(voce);
}

std::string ZipArchive::Leggi(const ZipEntry& voce, std::uint64_t limite) const
{
    auto flusso = Apri(voce);
    std::string dati;
    char buffer[65536];
    for (;;) {
        const std::size_t n = flusso->Leggi(buffer, sizeof buffer);
        if (n == 0)
            break;
        if (dati.size() + n > limite)
            throw SheetError(QStringLiteral("Il file %1 contiene una parte troppo grande per essere letta.")
                                 .arg(QString::fromStdString(percorso_)));
        dati.append(buffer, n);
    }
    return dati;
}

} // namespace quercino::sheets
