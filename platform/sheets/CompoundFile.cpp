#include "platform/sheets/CompoundFile.h"

#include "platform/sheets/SheetError.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace quercino::sheets {

namespace {

constexpr std::uint32_t FineCatena = 0xFFFFFFFE;
constexpr std::uint32_t NessunaVoce = 0xFFFFFFFF;
constexpr std::uint32_t LimiteMiniStream = 4096;
constexpr std::uint32_t MiniSettore = 64;
constexpr std::size_t VociNellIntestazione = 109;

std::uint16_t U16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t U32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8)
        | (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

char16_t Maiuscola(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool StessoNome(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Maiuscola(x) == Maiuscola(y); });
}

std::uint64_t Pezzi(std::uint64_t dimensione, std::uint32_t pezzo) { return (dimensione + pezzo - 1) / pezzo; }

} // namespace

void CompoundFile::Danneggiato() const
{
    throw SheetError(QStringLiteral("Il file %1 non è un archivio leggibile: è danneggiato o non è una cartella di lavoro Excel.")
                         .arg(QString::fromStdString(percorso_)));
}

CompoundFile::CompoundFile(const std::string& percorso) : percorso_(percorso)
{
    file_.open(percorso, std::ios::binary);
    if (!file_)
        throw SheetError(QStringLiteral("Impossibile aprire il file %1.").arg(QString::fromStdString(percorso)));
    file_.seekg(0, std::ios::end);
    dimensioneFile_ = static_cast<std::uint64_t>(file_.tellg());

    char h[512];
    if (!LeggiA(0, h, sizeof h) || std::memcmp(h, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0)
        Danneggiato();
    const std::uint16_t versione = U16(h + 0x1A);
    const std::uint16_t scala = U16(h + 0x1E);
    if (U16(h + 0x1C) != 0xFFFE || !((versione == 3 && scala == 9) || (versione == 4 && scala == 12)) || U16(h + 0x20) != 6
        || U32(h + 0x38) != LimiteMiniStream)
        Danneggiato();
    settore_ = 1u << scala;
    // The header takes the whole first sector; a last sector may be cut short.
    if (dimensioneFile_ <= settore_)
        Danneggiato();
    settori_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(Pezzi(dimensioneFile_ - settore_, settore_), 0xFFFFFFF0u));
    const std::uint32_t settoriFat = U32(h + 0x2C);
    const std::uint32_t settoriDifat = U32(h + 0x48);
    if (settoriFat == 0 || settoriFat > settori_)
        Danneggiato();

    // Where the allocation table lies: 109 sectors named in the header, the others in the
    // chain of DIFAT sectors.
    std::vector<std::uint32_t> fat;
    fat.reserve(settoriFat);
    for (std::size_t i = 0; i < VociNellIntestazione && fat.size() < settoriFat; ++i)
        fat.push_back(U32(h + 0x4C + 4 * i));
    std::vector<char> dati(settore_);
    std::vector<bool> visti(settori_);
    std::uint32_t difat = U32(h + 0x44);
    for (std::uint32_t letti = 0; fat.size() < settoriFat; ++letti) {
        if (letti >= settoriDifat || difat >= settori_ || visti[difat])
            Danneggiato();
        visti[difat] = true;
        LeggiSettore(difat, dati);
        const std::size_t voci = settore_ / 4 - 1;
        for (std::size_t i = 0; i < voci && fat.size() < settoriFat; ++i)
            fat.push_back(U32(dati.data() + 4 * i));
        difat = U32(dati.data() + 4 * voci);
    }
    fat_.reserve(static_cast<std::size_t>(settoriFat) * (settore_ / 4));
    for (const std::uint32_t s : fat) {
        if (s >= settori_)
            Danneggiato();
        LeggiSettore(s, dati);
        for (std::size_t i = 0; i < settore_ / 4; ++i)
            fat_.push_back(U32(dati.data() + 4 * i));
    }

    // The directory: 128 bytes for each entry, the root storage first.
    for (const std::uint32_t s : Catena(fat_, U32(h + 0x30), fat_.size())) {
        LeggiSettore(s, dati);
        for (std::size_t i = 0; i + 128 <= settore_; i += 128) {
            const char* e = dati.data() + i;
            Voce v;
            const std::size_t caratteri = std::min<std::size_t>(U16(e + 0x40), 64) / 2;
            for (std::size_t k = 0; k + 1 < caratteri; ++k)
                v.Nome += static_cast<char16_t>(U16(e + 2 * k));
            v.Tipo = static_cast<std::uint8_t>(e[0x42]);
            v.Sinistra = U32(e + 0x44);
            v.Destra = U32(e + 0x48);
            v.Figlio = U32(e + 0x4C);
            v.Inizio = U32(e + 0x74);
            // Version 3 files leave the high half of the size undefined.
            v.Dimensione = versione == 3 ? U32(e + 0x78) : U32(e + 0x78) | (static_cast<std::uint64_t>(U32(e + 0x7C)) << 32);
            voci_.push_back(std::move(v));
        }
    }
    if (voci_.empty() || voci_[0].Tipo != 5)
        Danneggiato();

    inizioMiniFat_ = U32(h + 0x3C);
    settoriMiniFat_ = U32(h + 0x40);
}

// Streams below 4096 bytes lie in 64-byte pieces of the mini stream, itself a stream of
// ordinary sectors that the root entry describes. They are looked at only when such a
// stream is asked for: a workbook in sectors of its own is read whatever state they are in.
void CompoundFile::PreparaMiniStream() const
{
    if (miniPronto_)
        return;
    const std::uint64_t dimensione = voci_[0].Dimensione;
    if (dimensione > dimensioneFile_)
        Danneggiato();
    std::vector<std::uint32_t> settori;
    std::vector<std::uint32_t> tabella;
    if (dimensione > 0) {
        const std::uint64_t servono = Pezzi(dimensione, settore_);
        if (servono > settori_)
            Danneggiato();
        settori = Catena(fat_, voci_[0].Inizio, servono);
        if (settori.size() < servono || settoriMiniFat_ > settori_)
            Danneggiato();
        std::vector<char> dati(settore_);
        for (const std::uint32_t s : Catena(fat_, inizioMiniFat_, settoriMiniFat_)) {
            LeggiSettore(s, dati);
            for (std::size_t i = 0; i < settore_ / 4; ++i)
                tabella.push_back(U32(dati.data() + 4 * i));
        }
    }
    dimensioneMiniStream_ = dimensione;
    miniStream_ = std::move(settori);
    miniFat_ = std::move(tabella);
    miniPronto_ = true;
}

CompoundFile::~CompoundFile() = default;

bool CompoundFile::LeggiA(std::uint64_t posizione, char* dati, std::size_t n) const
{
    if (posizione > dimensioneFile_ || n > dimensioneFile_ - posizione)
        return false;
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(posizione));
    file_.read(dati, static_cast<std::streamsize>(n));
    return static_cast<std::size_t>(file_.gcount()) == n;
}

std::uint64_t CompoundFile::PosizioneSettore(std::uint32_t settore) const
{
    return (static_cast<std::uint64_t>(settore) + 1) * settore_;
}

void CompoundFile::LeggiSettore(std::uint32_t settore, std::vector<char>& dati) const
{
    dati.resize(settore_);
    if (!LeggiA(PosizioneSettore(settore), dati.data(), settore_))
        Danneggiato();
}

// The sectors of a chain, up to `massimo` of them: a sector outside the table or the file,
// or one met again, makes the file damaged (a loop would never end).
std::vector<std::uint32_t> CompoundFile::Catena(const std::vector<std::uint32_t>& tabella, std::uint32_t inizio,
                                                std::uint64_t massimo) const
{
    const bool mini = &tabella == &miniFat_;
    const std::uint64_t limite = mini ? Pezzi(dimensioneMiniStream_, MiniSettore) : settori_;
    std::vector<std::uint32_t> catena;
    std::vector<bool> visti;
    for (std::uint32_t s = inizio; s != FineCatena && catena.size() < massimo; s = tabella[s]) {
        if (s >= tabella.size() || s >= limite)
            Danneggiato();
        if (visti.empty())
            visti.resize(tabella.size());
        if (visti[s])
            Danneggiato();
        visti[s] = true;
        catena.push_back(s);
    }
    return catena;
}

const CompoundFile::Voce* CompoundFile::VoceDi(std::u16string_view nome) const
{
    // The root's children form a tree through their left and right siblings; each entry
    // is visited once, whatever the links say.
    std::vector<bool> visitate(voci_.size());
    std::vector<std::uint32_t> daVedere = {voci_[0].Figlio};
    const Voce* trovata = nullptr;
    while (!daVedere.empty() && !trovata) {
        const std::uint32_t i = daVedere.back();
        daVedere.pop_back();
        if (i == NessunaVoce || i >= voci_.size() || visitate[i])
            continue;
        visitate[i] = true;
        const Voce& v = voci_[i];
        if (v.Tipo == 2 && StessoNome(v.Nome, nome))
            trovata = &v;
        daVedere.push_back(v.Sinistra);
        daVedere.push_back(v.Destra);
    }
    return trovata;
}

std::optional<CompoundStream> CompoundFile::Trova(std::u16string_view nome) const
{
    const Voce* trovata = VoceDi(nome);
    if (!trovata)
        return std::nullopt;

    CompoundStream flusso;
    flusso.Dimensione = trovata->Dimensione;
    // No stream is larger than the file (a size of 2^64 would also count no sectors at all).
    if (flusso.Dimensione > dimensioneFile_)
        Danneggiato();
    if (flusso.Dimensione == 0)
        return flusso;
    if (flusso.Dimensione < LimiteMiniStream) {
        PreparaMiniStream();
        flusso.Pezzo = MiniSettore;
        const std::uint64_t servono = Pezzi(flusso.Dimensione, MiniSettore);
        const auto catena = Catena(miniFat_, trovata->Inizio, servono);
        if (catena.size() < servono)
            Danneggiato();
        for (const std::uint32_t m : catena) {
            const std::uint64_t dove = static_cast<std::uint64_t>(m) * MiniSettore;
            flusso.Posizioni.push_back(PosizioneSettore(miniStream_[dove / settore_]) + dove % settore_);
        }
    } else {
        flusso.Pezzo = settore_;
        const std::uint64_t servono = Pezzi(flusso.Dimensione, settore_);
        if (servono > settori_)
            Danneggiato();
        for (const std::uint32_t s : Catena(fat_, trovata->Inizio, servono))
            flusso.Posizioni.push_back(PosizioneSettore(s));
        if (flusso.Posizioni.size() < servono)
            Danneggiato();
    }
    return flusso;
}

CompoundStreamReader::CompoundStreamReader(const CompoundFile& file, CompoundStream flusso)
    : file_(file), flusso_(std::move(flusso))
{
}

void CompoundStreamReader::Vai(std::uint64_t posizione) { posizione_ = std::min(posizione, flusso_.Dimensione); }

std::size_t CompoundStreamReader::Leggi(char* dati, std::size_t n)
{
    constexpr std::size_t Anticipo = 64 * 1024;
    std::size_t letti = 0;
    while (letti < n && posizione_ < flusso_.Dimensione) {
        if (posizione_ < inizioBuffer_ || posizione_ >= inizioBuffer_ + buffer_.size()) {
            buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(Anticipo, flusso_.Dimensione - posizione_)));
            buffer_.resize(LeggiDalFile(posizione_, buffer_.data(), buffer_.size()));
            inizioBuffer_ = posizione_;
        }
        const std::size_t dove = static_cast<std::size_t>(posizione_ - inizioBuffer_);
        const std::size_t quanti = std::min(n - letti, buffer_.size() - dove);
        std::copy_n(buffer_.data() + dove, quanti, dati + letti);
        letti += quanti;
        posizione_ += quanti;
    }
    return letti;
}

// Up to n bytes of the stream from `posizione` (fewer only at its end).
std::size_t CompoundStreamReader::LeggiDalFile(std::uint64_t posizione, char* dati, std::size_t n) const
{
    std::size_t letti = 0;
    while (letti < n && posizione < flusso_.Dimensione) {
        // Pieces that follow one another in the file are read at once.
        std::size_t k = static_cast<std::size_t>(posizione / flusso_.Pezzo);
        const std::uint64_t inizio = flusso_.Posizioni[k] + posizione % flusso_.Pezzo;
        std::uint64_t fine = flusso_.Posizioni[k] + flusso_.Pezzo;
        while (fine - inizio < n - letti && k + 1 < flusso_.Posizioni.size() && flusso_.Posizioni[k + 1] == fine) {
            fine += flusso_.Pezzo;
            ++k;
        }
        const auto quanti = static_cast<std::size_t>(std::min({fine - inizio, static_cast<std::uint64_t>(n - letti), flusso_.Dimensione - posizione}));
        if (!file_.LeggiA(inizio, dati + letti, quanti))
            file_.Danneggiato();
        letti += quanti;
        posizione += quanti;
    }
    return letti;
}

} // namespace quercino::sheets
