#pragma once
// Excel 97-2003 and 5.0/95 workbooks built by hand, record by record, in compound files also
// built by hand: the forms no spreadsheet program at hand writes (error cells, texts cut
// between records, code pages, charts inside a sheet) and damaged or hostile files. The
// layouts follow the published descriptions of the two formats.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace xls_fixture {

inline void Le(std::string& s, std::uint64_t valore, int byte)
{
    for (int i = 0; i < byte; ++i)
        s += static_cast<char>((valore >> (8 * i)) & 0xFF);
}

inline std::string U16(std::uint32_t v) { std::string s; Le(s, v, 2); return s; }
inline std::string U32(std::uint32_t v) { std::string s; Le(s, v, 4); return s; }

inline std::string Double(double v)
{
    std::uint64_t bit = 0;
    std::memcpy(&bit, &v, 8);
    std::string s;
    Le(s, bit, 8);
    return s;
}

// ---- Records

inline std::string Record(std::uint16_t tipo, const std::string& dati)
{
    return U16(tipo) + U16(static_cast<std::uint32_t>(dati.size())) + dati;
}

// Beginning of the globals (0x0005), of a worksheet (0x0010) or of a chart (0x0020).
inline std::string Bof(std::uint16_t tipo, bool biff8 = true)
{
    return biff8 ? Record(0x0809, U16(0x0600) + U16(tipo) + U16(0x0DBB) + U16(0x07CC) + U32(0) + U32(0x0206))
                 : Record(0x0809, U16(0x0500) + U16(tipo) + U16(0x0DBB) + U16(0x07CC));
}
inline std::string Eof() { return Record(0x000A, ""); }

// An Excel 97-2003 text: length (two bytes, or one for sheet names), flags, characters in
// one byte each when they all fit in Latin-1 (or when `doppi` is false), else in two.
inline std::string Testo(const std::u16string& t, bool lunghezzaUnByte = false, int doppi = -1)
{
    const bool due = doppi >= 0 ? doppi == 1 : std::any_of(t.begin(), t.end(), [](char16_t c) { return c > 0xFF; });
    std::string s = lunghezzaUnByte ? std::string(1, static_cast<char>(t.size())) : U16(static_cast<std::uint32_t>(t.size()));
    s += static_cast<char>(due ? 1 : 0);
    for (const char16_t c : t)
        Le(s, c, due ? 2 : 1);
    return s;
}

inline std::string Cella(std::uint16_t riga, std::uint16_t colonna, std::uint16_t xf)
{
    return U16(riga) + U16(colonna) + U16(xf);
}

inline std::string Numero(std::uint16_t r, std::uint16_t c, double v, std::uint16_t xf = 0)
{
    return Record(0x0203, Cella(r, c, xf) + Double(v));
}
inline std::string Rk(std::uint16_t r, std::uint16_t c, std::uint32_t rk, std::uint16_t xf = 0)
{
    return Record(0x027E, Cella(r, c, xf) + U32(rk));
}
// Several RK numbers in one row from column c on: (xf, rk) each.
inline std::string MulRk(std::uint16_t r, std::uint16_t c, const std::vector<std::pair<std::uint16_t, std::uint32_t>>& valori)
{
    std::string d = U16(r) + U16(c);
    for (const auto& [xf, rk] : valori)
        d += U16(xf) + U32(rk);
    return Record(0x00BD, d + U16(static_cast<std::uint32_t>(c + valori.size() - 1)));
}
inline std::string Etichetta(std::uint16_t r, std::uint16_t c, const std::u16string& t, std::uint16_t xf = 0, int doppi = -1)
{
    return Record(0x0204, Cella(r, c, xf) + Testo(t, false, doppi));
}
inline std::string EtichettaSst(std::uint16_t r, std::uint16_t c, std::uint32_t indice, std::uint16_t xf = 0)
{
    return Record(0x00FD, Cella(r, c, xf) + U32(indice));
}
inline std::string BoolErr(std::uint16_t r, std::uint16_t c, std::uint8_t valore, bool errore, std::uint16_t xf = 0)
{
    return Record(0x0205, Cella(r, c, xf) + std::string(1, static_cast<char>(valore)) + std::string(1, errore ? '\1' : '\0'));
}
inline std::string Blank(std::uint16_t r, std::uint16_t c, std::uint16_t xf = 0) { return Record(0x0201, Cella(r, c, xf)); }
// A formula (its tokens: the number 1) with the cached result's eight bytes.
inline std::string Formula(std::uint16_t r, std::uint16_t c, const std::string& risultato, std::uint16_t xf = 0)
{
    return Record(0x0006, Cella(r, c, xf) + risultato + U16(0) + U32(0) + U16(3) + std::string("\x1E\x01\x00", 3));
}
inline std::string RisultatoNumero(double v) { return Double(v); }
// The kinds given in the first byte when the last two are FFFF: 0 text (a STRING record
// follows), 1 boolean, 2 error, 3 empty text.
inline std::string RisultatoTipo(std::uint8_t tipo, std::uint8_t valore = 0)
{
    return std::string(1, static_cast<char>(tipo)) + '\0' + std::string(1, static_cast<char>(valore)) + std::string(3, '\0') + "\xFF\xFF";
}

// A record whose data is longer than `massimo` bytes goes on in CONTINUE records; a text
// cut between two records starts again with its flags byte.
class Spezzatore {
public:
    explicit Spezzatore(std::uint16_t tipo, std::size_t massimo = 8224) : tipo_(tipo), massimo_(massimo) {}
    // Bytes that must stay whole in one record.
    void Intero(const std::string& b)
    {
        if (attuale_.size() + b.size() > massimo_)
            Chiudi();
        attuale_ += b;
    }
    // Bytes that may be cut anywhere.
    void Libero(const std::string& b)
    {
        for (const char c : b) {
            if (attuale_.size() >= massimo_)
                Chiudi();
            attuale_ += c;
        }
    }
    // Characters of a text, cut only between characters; the cut repeats the flags byte.
    void Caratteri(const std::u16string& t, bool due)
    {
        for (const char16_t c : t) {
            const std::size_t larghezza = due ? 2 : 1;
            if (attuale_.size() + larghezza > massimo_) {
                Chiudi();
                attuale_ += static_cast<char>(due ? 1 : 0);
            }
            Le(attuale_, c, static_cast<int>(larghezza));
        }
    }
    std::string Fine()
    {
        Chiudi();
        return uscita_;
    }

private:
    void Chiudi()
    {
        uscita_ += Record(primo_ ? tipo_ : 0x003C, attuale_);
        primo_ = false;
        attuale_.clear();
    }
    std::uint16_t tipo_;
    std::size_t massimo_;
    bool primo_ = true;
    std::string attuale_;
    std::string uscita_;
};

// The shared strings: a count (the real one unless given) and the texts; `ricchi` gives
// texts formatting runs and phonetic data to be passed over.
inline std::string Sst(const std::vector<std::u16string>& testi, std::size_t massimo = 8224, bool ricchi = false,
                       std::int64_t conteggio = -1)
{
    Spezzatore s(0x00FC, massimo);
    const auto n = static_cast<std::uint32_t>(conteggio >= 0 ? conteggio : static_cast<std::int64_t>(testi.size()));
    s.Intero(U32(n) + U32(n));
    for (std::size_t i = 0; i < testi.size(); ++i) {
        const std::u16string& t = testi[i];
        const bool due = std::any_of(t.begin(), t.end(), [](char16_t c) { return c > 0xFF; });
        const bool ricco = ricchi && i % 2 == 1;
        std::string intestazione = U16(static_cast<std::uint32_t>(t.size()));
        intestazione += static_cast<char>((due ? 1 : 0) | (ricco ? 0x0C : 0));
        if (ricco)
            intestazione += U16(2) + U32(5);
        s.Intero(intestazione);
        s.Caratteri(t, due);
        if (ricco)
            s.Libero(std::string(8, '\x01') + "FONET");
    }
    return s.Fine();
}

// A formula's text result, going on in CONTINUE records past `massimo` bytes.
inline std::string Stringa(const std::u16string& t, std::size_t massimo = 8224)
{
    Spezzatore s(0x0207, massimo);
    const bool due = std::any_of(t.begin(), t.end(), [](char16_t c) { return c > 0xFF; });
    s.Intero(U16(static_cast<std::uint32_t>(t.size())) + std::string(1, due ? '\1' : '\0'));
    s.Caratteri(t, due);
    return s.Fine();
}

inline std::string Formato(std::uint16_t id, const std::u16string& codice) { return Record(0x041E, U16(id) + Testo(codice)); }
inline std::string Font(bool biff8 = true)
{
    std::string d = U16(200) + U16(0) + U16(0x7FFF) + U16(400) + U16(0) + std::string(4, '\0');
    return Record(0x0031, d + (biff8 ? Testo(u"Arial", true) : std::string("\x05") + "Arial"));
}
// An XF record of Excel 97-2003 (20 bytes) or 5.0/95 (16 bytes) with the given format, of a
// cell or of a style.
inline std::string Xf(std::uint16_t formato, bool biff8 = true, bool stile = false)
{
    return Record(0x00E0, U16(0) + U16(formato) + U16(stile ? 0xFFF5 : 0x0001) + std::string(biff8 ? 14 : 10, '\0'));
}
// What every workbook's globals have: fonts, the 15 style XFs and the cell XF 15, then one
// cell XF for each format given (indices 16 on).
inline std::string Stili(const std::vector<std::uint16_t>& formati = {}, bool biff8 = true)
{
    std::string s;
    for (int i = 0; i < 5; ++i)
        s += Font(biff8);
    for (int i = 0; i < 15; ++i)
        s += Xf(0, biff8, true);
    s += Xf(0, biff8);
    for (const std::uint16_t f : formati)
        s += Xf(f, biff8);
    return s;
}
inline std::string CodePage(std::uint16_t n) { return Record(0x0042, U16(n)); }
inline std::string DateMode1904() { return Record(0x0022, U16(1)); }

// The size a sheet says it has (rows and columns after the last used).
inline std::string Dimensioni(std::uint32_t righe, std::uint16_t colonne, bool biff8 = true)
{
    return Record(0x0200, biff8 ? U32(0) + U32(righe) + U16(0) + U16(colonne) + U16(0)
                                : U16(0) + U16(righe) + U16(0) + U16(colonne) + U16(0));
}

struct Foglio {
    Foglio(std::u16string nome, std::string record, std::uint8_t tipo = 0, std::string nomeByte = {}, std::uint32_t righe = 100,
           std::uint16_t colonne = 40)
        : Nome(std::move(nome)), Record(std::move(record)), Tipo(tipo), NomeByte(std::move(nomeByte)), Righe(righe), Colonne(colonne)
    {
    }
    std::u16string Nome;
    std::string Record;            // the records between its BOF (and DIMENSIONS) and its EOF
    std::uint8_t Tipo;             // in BOUNDSHEET: 0 worksheet, 2 chart
    std::string NomeByte;          // Excel 5.0/95: the name in the code page's bytes
    std::uint32_t Righe;           // what its DIMENSIONS record says
    std::uint16_t Colonne;
    std::string Prima;             // records between its BOF and its DIMENSIONS (WSBOOL)
    std::uint16_t TipoBof = 0;     // the kind its BOF says; by default as its type says
};

// The WSBOOL record of a worksheet, or of a dialog sheet.
inline std::string WsBool(bool dialogo = false) { return Record(0x0081, U16(dialogo ? 0x04D1 : 0x04C1)); }

// The workbook stream: globals (BOF, the records given, a BOUNDSHEET for each sheet, EOF),
// then each sheet.
inline std::string Flusso(const std::string& globali, const std::vector<Foglio>& fogli, bool biff8 = true)
{
    const std::string inizio = Bof(0x0005, biff8) + globali;
    std::vector<std::string> nomi;
    std::size_t lunghezza = inizio.size() + Eof().size();
    for (const Foglio& f : fogli) {
        std::string nome;
        if (biff8) {
            nome = Testo(f.Nome, true);
        } else {
            nome = std::string(1, static_cast<char>(f.NomeByte.size())) + f.NomeByte;
        }
        nomi.push_back(nome);
        lunghezza += 4 + 6 + nome.size();
    }
    std::string flusso = inizio;
    std::string corpi;
    for (std::size_t i = 0; i < fogli.size(); ++i) {
        const auto posizione = static_cast<std::uint32_t>(lunghezza + corpi.size());
        flusso += Record(0x0085, U32(posizione) + '\0' + std::string(1, static_cast<char>(fogli[i].Tipo)) + nomi[i]);
        const std::uint16_t bof = fogli[i].TipoBof ? fogli[i].TipoBof : fogli[i].Tipo == 2 ? 0x0020 : 0x0010;
        corpi += Bof(bof, biff8) + fogli[i].Prima + Dimensioni(fogli[i].Righe, fogli[i].Colonne, biff8) + fogli[i].Record + Eof();
    }
    return flusso + Eof() + corpi;
}

// ---- Compound files

constexpr std::uint32_t FineCatena = 0xFFFFFFFE;
constexpr std::uint32_t Libero = 0xFFFFFFFF;

struct Composto {
    std::string Byte;
    std::uint32_t Settore = 512;
    std::map<std::u16string, std::uint32_t> PrimoSettore;   // of each stream of 4096 bytes or more
    std::vector<std::uint32_t> SettoriFat;
    std::uint32_t SettoreDirectory = 0;

    std::uint64_t Posizione(std::uint32_t settore) const { return (static_cast<std::uint64_t>(settore) + 1) * Settore; }
    // Changes the allocation table's entry of a sector.
    void Fat(std::uint32_t settore, std::uint32_t valore)
    {
        const std::uint32_t perSettore = Settore / 4;
        const std::uint64_t dove = Posizione(SettoriFat[settore / perSettore]) + 4 * (settore % perSettore);
        std::string v = U32(valore);
        Byte.replace(dove, 4, v);
    }
};

// A compound file (version 3 with 512-byte sectors, or 4 with 4096) whose root holds these
// streams: those of 4096 bytes or more in sectors of their own, the others in the mini stream.
inline Composto FileComposto(const std::vector<std::pair<std::u16string, std::string>>& flussi, int versione = 3)
{
    Composto c;
    const std::uint32_t S = versione == 4 ? 4096 : 512;
    c.Settore = S;
    std::vector<std::uint32_t> fat;
    std::string corpo;   // the sectors after the header
    const auto Aggiungi = [&](const std::string& dati) {
        const auto primo = static_cast<std::uint32_t>(fat.size());
        const std::size_t n = (dati.size() + S - 1) / S;
        for (std::size_t i = 0; i < n; ++i)
            fat.push_back(i + 1 < n ? primo + static_cast<std::uint32_t>(i) + 1 : FineCatena);
        corpo += dati;
        corpo.append(n * S - dati.size(), '\0');
        return n ? primo : FineCatena;
    };

    struct Voce { std::u16string nome; std::uint32_t inizio; std::uint64_t dimensione; };
    std::vector<Voce> voci;
    std::string mini;
    std::vector<std::uint32_t> miniFat;
    for (const auto& [nome, dati] : flussi) {
        if (dati.size() >= 4096) {
            const std::uint32_t primo = Aggiungi(dati);
            c.PrimoSettore[nome] = primo;
            voci.push_back({nome, primo, dati.size()});
        } else {
            const auto primo = static_cast<std::uint32_t>(miniFat.size());
            const std::size_t n = (dati.size() + 63) / 64;
            for (std::size_t i = 0; i < n; ++i)
                miniFat.push_back(i + 1 < n ? primo + static_cast<std::uint32_t>(i) + 1 : FineCatena);
            mini += dati;
            mini.append(n * 64 - dati.size(), '\0');
            voci.push_back({nome, n ? primo : FineCatena, dati.size()});
        }
    }
    const std::uint32_t inizioMini = Aggiungi(mini);
    std::string miniFatByte;
    for (const std::uint32_t v : miniFat)
        miniFatByte += U32(v);
    const std::uint32_t inizioMiniFat = miniFat.empty() ? FineCatena : Aggiungi(miniFatByte);
    const auto settoriMiniFat = static_cast<std::uint32_t>((miniFatByte.size() + S - 1) / S);

    // The directory: the root, then the streams as a chain of right siblings in the order
    // the format sorts names (shorter first, then by upper-case characters).
    std::vector<std::size_t> ordine(voci.size());
    for (std::size_t i = 0; i < ordine.size(); ++i)
        ordine[i] = i;
    const auto maiuscolo = [](std::u16string s) {
        for (char16_t& ch : s)
            if (ch >= u'a' && ch <= u'z')
                ch = static_cast<char16_t>(ch - 32);
        return s;
    };
    std::sort(ordine.begin(), ordine.end(), [&](std::size_t a, std::size_t b) {
        return voci[a].nome.size() != voci[b].nome.size() ? voci[a].nome.size() < voci[b].nome.size()
                                                           : maiuscolo(voci[a].nome) < maiuscolo(voci[b].nome);
    });
    const auto Voce = [](const std::u16string& nome, std::uint8_t tipo, std::uint32_t destra, std::uint32_t figlio,
                         std::uint32_t inizio, std::uint64_t dimensione) {
        std::string e;
        for (const char16_t ch : nome)
            Le(e, ch, 2);
        e.append(64 - e.size(), '\0');
        e += U16(static_cast<std::uint32_t>((nome.size() + 1) * 2));
        e += static_cast<char>(tipo);
        e += '\1';
        e += U32(Libero) + U32(destra) + U32(figlio);
        e.append(16 + 4 + 16, '\0');
        e += U32(inizio);
        Le(e, dimensione, 8);
        return e;
    };
    std::string directory = Voce(u"Root Entry", 5, Libero, voci.empty() ? Libero : 1, inizioMini, mini.size());
    for (std::size_t k = 0; k < ordine.size(); ++k) {
        const auto& v = voci[ordine[k]];
        directory += Voce(v.nome, 2, k + 1 < ordine.size() ? static_cast<std::uint32_t>(k + 2) : Libero, Libero, v.inizio, v.dimensione);
    }
    while (directory.size() % S != 0)
        directory += Voce(u"", 0, Libero, Libero, 0, 0);
    c.SettoreDirectory = Aggiungi(directory);

    // The allocation table covers every sector, its own and the DIFAT's included.
    const std::uint32_t perSettore = S / 4;
    std::uint32_t settoriFat = 1;
    std::uint32_t settoriDifat = 0;
    for (;;) {
        settoriDifat = settoriFat > 109 ? (settoriFat - 109 + perSettore - 2) / (perSettore - 1) : 0;
        if (static_cast<std::uint64_t>(settoriFat) * perSettore >= fat.size() + settoriFat + settoriDifat)
            break;
        ++settoriFat;
    }
    const auto primoFat = static_cast<std::uint32_t>(fat.size());
    for (std::uint32_t i = 0; i < settoriFat; ++i) {
        c.SettoriFat.push_back(primoFat + i);
        fat.push_back(0xFFFFFFFD);
    }
    const auto primoDifat = static_cast<std::uint32_t>(fat.size());
    for (std::uint32_t i = 0; i < settoriDifat; ++i)
        fat.push_back(0xFFFFFFFC);
    fat.resize(static_cast<std::size_t>(settoriFat) * perSettore, Libero);
    for (const std::uint32_t v : fat)
        corpo += U32(v);
    for (std::uint32_t i = 0; i < settoriDifat; ++i) {
        std::string d;
        for (std::uint32_t k = 0; k < perSettore - 1; ++k) {
            const std::uint64_t indice = 109 + static_cast<std::uint64_t>(i) * (perSettore - 1) + k;
            d += U32(indice < settoriFat ? primoFat + static_cast<std::uint32_t>(indice) : Libero);
        }
        d += U32(i + 1 < settoriDifat ? primoDifat + i + 1 : FineCatena);
        corpo += d;
    }

    std::string h = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0');
    h += U16(0x003E) + U16(static_cast<std::uint32_t>(versione)) + U16(0xFFFE) + U16(versione == 4 ? 12 : 9) + U16(6);
    h += std::string(6, '\0');
    h += U32(versione == 4 ? static_cast<std::uint32_t>(directory.size() / S) : 0);
    h += U32(settoriFat) + U32(c.SettoreDirectory) + U32(0) + U32(4096);
    h += U32(inizioMiniFat) + U32(settoriMiniFat) + U32(settoriDifat ? primoDifat : FineCatena) + U32(settoriDifat);
    for (std::uint32_t i = 0; i < 109; ++i)
        h += U32(i < settoriFat ? primoFat + i : Libero);
    h.append(S - h.size(), '\0');
    c.Byte = h + corpo;
    return c;
}

// A workbook of Excel 97-2003 (stream "Workbook") or 5.0/95 ("Book"), as a file's bytes.
inline std::string Cartella(const std::string& globali, const std::vector<Foglio>& fogli, bool biff8 = true, int versione = 3)
{
    return FileComposto({{biff8 ? u"Workbook" : u"Book", Flusso(globali, fogli, biff8)}}, versione).Byte;
}

// ---- Workbooks of the tests, the fuzzing seeds and the kept hostile inputs

inline std::uint32_t RkIntero(std::int32_t v, bool centesimi = false)
{
    return (static_cast<std::uint32_t>(v) << 2) | 2u | (centesimi ? 1u : 0u);
}

// An Excel 97-2003 workbook of every record form the reader knows: the cells of sheet 1 and
// 3 (sheet 2 is a chart sheet), with the shared strings cut every `taglio` bytes.
inline std::string CartellaForme(std::size_t taglio)
{
    std::u16string lunghissimo(40000, u'L');
    lunghissimo[32766] = u'Z';
    const std::u16string formulaLunga = std::u16string(5000, u'x') + std::u16string(5000, u'€');
    const std::vector<std::u16string> testi = {u"condiviso", u"ricco con fonetica", u"Perché ∑", lunghissimo, u""};
    const std::string globali = CodePage(1200) + Formato(164, u"dd/mm/yyyy") + Formato(165, u"[Red]0.00;\"d\"")
        + Stili({14, 164, 165, 20, 22}) + Sst(testi, taglio, true);
    std::string celle = Etichetta(0, 0, u"NOME") + Etichetta(0, 1, u"Città €") + Etichetta(0, 2, u"NOME", 15, 1)
        + Numero(1, 0, 42.5) + Rk(1, 1, RkIntero(1234567, true)) + Rk(1, 2, 0x3FE00000u) + Rk(1, 3, 0x405EC000u | 1u)
        + Rk(1, 4, RkIntero(-5)) + Numero(1, 5, 0.1 + 0.2) + Numero(1, 6, -0.0)
        + MulRk(2, 0, {{16, RkIntero(42750)}, {17, RkIntero(42750)}, {15, RkIntero(100)}, {18, RkIntero(42750)},
                           {19, 0x3FE80000u}, {20, RkIntero(43100)}});
    const std::uint8_t errori[] = {0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A, 0x2B, 0x99};
    celle += BoolErr(3, 0, 1, false) + BoolErr(3, 1, 0, false);
    for (std::uint16_t i = 0; i < 9; ++i)
        celle += BoolErr(3, static_cast<std::uint16_t>(2 + i), errori[i], true);
    celle += Formula(4, 0, RisultatoNumero(201)) + Formula(4, 1, RisultatoTipo(0)) + Stringa(u"FT/1")
        + Formula(4, 2, RisultatoTipo(1, 1)) + Formula(4, 3, RisultatoTipo(1, 0))
        + Formula(4, 4, RisultatoTipo(2, 0x17)) + Formula(4, 5, RisultatoTipo(3))
        + Formula(4, 6, RisultatoTipo(0)) + Record(0x04BC, std::string(10, '\0')) + Stringa(formulaLunga, 3000)
        + Formula(4, 7, RisultatoNumero(42750), 16);
    celle += EtichettaSst(5, 0, 0) + EtichettaSst(5, 1, 1) + EtichettaSst(5, 2, 2) + EtichettaSst(5, 3, 3)
        + EtichettaSst(5, 4, 4);
    // A formatted empty cell, a cell past the columns read, a chart inside the sheet (its own
    // cells are not the sheet's), a row after it.
    celle += Blank(6, 0) + Numero(7, 50, 1) + Bof(0x0020) + Numero(8, 0, 999) + Eof() + Numero(9, 0, 1);
    const Foglio grafico{u"Grafico", Numero(0, 0, 5), 2};
    return Cartella(globali, {{u"Primo", celle}, grafico, {u"Terzo", Etichetta(0, 0, u"terzo") + Numero(65535, 255, 7)}});
}

// A small workbook of one sheet: row 1 "NOME" and a number, row 2 a shared string, then
// `numeriInPiu` numbers eight to a row.
inline std::string FlussoPiccolo(std::size_t numeriInPiu = 0)
{
    std::string celle = Etichetta(0, 0, u"NOME") + Numero(0, 1, 12.5) + EtichettaSst(1, 0, 0);
    for (std::size_t n = 0; n < numeriInPiu; ++n)
        celle += Numero(static_cast<std::uint16_t>(2 + n / 8), static_cast<std::uint16_t>(n % 8), static_cast<double>(n));
    return Flusso(Stili() + Sst({u"condiviso"}), {{u"Foglio", celle, 0, {}, 65536, 256}});
}

} // namespace xls_fixture
