#include "support/scrittore_xlsb.h"

#include <cstring>

namespace quercino::test {

namespace {

// Record types of the parts written.
enum : std::uint32_t {
    RowHdr = 0, CellBlank = 1, CellRk = 2, CellError = 3, CellBool = 4, CellReal = 5, CellSt = 6, CellIsst = 7,
    FmlaString = 8, FmlaNum = 9, FmlaBool = 10, FmlaError = 11, ShortBlank = 12, ShortIsst = 18, SSTItem = 19, Fmt = 44, XF = 47,
    BeginSheet = 129, EndSheet = 130, BeginBook = 131, EndBook = 132, BeginBundleShs = 143, EndBundleShs = 144,
    BeginSheetData = 145, EndSheetData = 146, WbProp = 153, BundleSh = 156, BeginSst = 159, EndSst = 160,
    BeginStyleSheet = 278, EndStyleSheet = 279, BeginFmts = 615, EndFmts = 616, BeginCellXFs = 617, EndCellXFs = 618,
    BeginCellStyleXFs = 626, EndCellStyleXFs = 627,
};

std::u16string Utf16(std::string_view utf8)
{
    std::u16string r;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int lunghezza = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = lunghezza == 1 ? c : lunghezza == 2 ? (c & 0x1F) : lunghezza == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < lunghezza && i + static_cast<std::size_t>(k) < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(lunghezza);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            r += static_cast<char16_t>(0xD800 + (cp >> 10));
            r += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            r += static_cast<char16_t>(cp);
        }
    }
    return r;
}

std::string Unita(const std::u16string& s)
{
    std::string r;
    for (char16_t u : s)
        r += U16Xlsb(u);
    return r;
}

// A CellParsedFormula of one constant token, and no extra data.
std::string Formula(std::string_view token)
{
    return U16Xlsb(0) + U32Xlsb(static_cast<std::uint32_t>(token.size())) + std::string(token) + U32Xlsb(0);
}

std::string Xml(std::string corpo)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n" + corpo;
}

const char* const Relazioni = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

} // namespace

std::string U16Xlsb(std::uint32_t v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string U32Xlsb(std::uint32_t v)
{
    return U16Xlsb(v & 0xFFFF) + U16Xlsb(v >> 16);
}

std::string F64Xlsb(double v)
{
    std::uint64_t bit = 0;
    std::memcpy(&bit, &v, sizeof bit);
    return U32Xlsb(static_cast<std::uint32_t>(bit)) + U32Xlsb(static_cast<std::uint32_t>(bit >> 32));
}

std::string RecordXlsb(std::uint32_t tipo, std::string_view dati)
{
    std::string r;
    if (tipo < 0x80) {
        r += static_cast<char>(tipo);
    } else {
        r += static_cast<char>(0x80 | (tipo & 0x7F));
        r += static_cast<char>((tipo >> 7) & 0x7F);
    }
    auto dimensione = static_cast<std::uint32_t>(dati.size());
    do {
        const auto b = static_cast<std::uint8_t>(dimensione & 0x7F);
        dimensione >>= 7;
        r += static_cast<char>(dimensione ? (b | 0x80) : b);
    } while (dimensione);
    r += dati;
    return r;
}

std::string StringaXlsb(std::string_view utf8)
{
    const std::u16string u = Utf16(utf8);
    return U32Xlsb(static_cast<std::uint32_t>(u.size())) + Unita(u);
}

std::uint32_t RkIntero(std::int32_t v, bool centesimi)
{
    return (static_cast<std::uint32_t>(v) << 2) | 2u | (centesimi ? 1u : 0u);
}

std::uint32_t RkReale(double v, bool centesimi)
{
    std::uint64_t bit = 0;
    std::memcpy(&bit, &v, sizeof bit);
    return (static_cast<std::uint32_t>(bit >> 32) & 0xFFFFFFFCu) | (centesimi ? 1u : 0u);
}

ScrittoreXlsb::ScrittoreXlsb(Membro membro, Scrivi scrivi, bool sistema1904)
    : membro_(std::move(membro)), scrivi_(std::move(scrivi)), sistema1904_(sistema1904)
{
}

int ScrittoreXlsb::Stile(const std::string& codice)
{
    auto [voce, nuovo] = formatiPropri_.try_emplace(codice, 164 + static_cast<int>(formatiPropri_.size()));
    (void)nuovo;
    return StileIncorporato(voce->second);
}

int ScrittoreXlsb::StileIncorporato(int formato)
{
    stili_.push_back(formato);
    return static_cast<int>(stili_.size()) - 1;
}

void ScrittoreXlsb::FineFoglio()
{
    if (!foglioAperto_)
        return;
    buffer_ += RecordXlsb(EndSheetData, {});
    buffer_ += RecordXlsb(EndSheet, {});
    scrivi_(buffer_);
    buffer_.clear();
    foglioAperto_ = false;
}

void ScrittoreXlsb::Foglio(const std::string& nome)
{
    FineFoglio();
    fogli_.push_back(nome);
    membro_("xl/worksheets/sheet" + std::to_string(fogli_.size()) + ".bin");
    foglioAperto_ = true;
    buffer_ += RecordXlsb(BeginSheet, {});
    buffer_ += RecordXlsb(BeginSheetData, {});
}

void ScrittoreXlsb::Riga(int numero)
{
    // Index, style, height (15 points in twips), flags, no column spans.
    buffer_ += RecordXlsb(RowHdr, U32Xlsb(static_cast<std::uint32_t>(numero - 1)) + U32Xlsb(0) + U16Xlsb(300)
                                       + std::string(3, '\0') + U32Xlsb(0));
    ultimaColonna_ = 0;
    if (buffer_.size() > (1u << 20)) {
        scrivi_(buffer_);
        buffer_.clear();
    }
}

void ScrittoreXlsb::Record(std::uint32_t tipo, std::string_view dati)
{
    buffer_ += RecordXlsb(tipo, dati);
}

void ScrittoreXlsb::Cella(std::uint32_t tipo, int colonna, int stile, std::string_view valore)
{
    const std::string stileCella = U32Xlsb(static_cast<std::uint32_t>(stile) & 0xFFFFFFu);
    // The short forms (types 12 to 18) are those of the long ones 1 to 7 without the column,
    // which is the one after the previous cell's: the row's first cell has none.
    if (brevi_ && tipo <= CellIsst && ultimaColonna_ > 0 && colonna == ultimaColonna_ + 1)
        buffer_ += RecordXlsb(tipo - CellBlank + ShortBlank, stileCella + std::string(valore));
    else
        buffer_ += RecordXlsb(tipo, U32Xlsb(static_cast<std::uint32_t>(colonna - 1)) + stileCella + std::string(valore));
    ultimaColonna_ = colonna;
}

void ScrittoreXlsb::Numero(int colonna, double valore, int stile)
{
    Cella(CellReal, colonna, stile, F64Xlsb(valore));
}

void ScrittoreXlsb::Rk(int colonna, std::uint32_t rk, int stile)
{
    Cella(CellRk, colonna, stile, U32Xlsb(rk));
}

std::uint32_t ScrittoreXlsb::IndiceTesto(const std::string& voce, const std::string& chiave)
{
    ++riferimenti_;
    const auto [posizione, nuovo] = indici_.try_emplace(chiave, static_cast<std::uint32_t>(testi_.size()));
    if (nuovo)
        testi_.push_back(voce);
    return posizione->second;
}

void ScrittoreXlsb::Testo(int colonna, const std::string& utf8, int stile)
{
    Cella(CellIsst, colonna, stile, U32Xlsb(IndiceTesto(std::string(1, '\0') + StringaXlsb(utf8), utf8)));
}

void ScrittoreXlsb::TestoRicco(int colonna, const std::string& utf8, bool ricco, const std::string& fonetico)
{
    const std::u16string testo = Utf16(utf8);
    std::string voce(1, static_cast<char>((ricco ? 1 : 0) | (fonetico.empty() ? 0 : 2)));
    voce += StringaXlsb(utf8);
    if (ricco) {
        // Two runs: the first half in the first font, the rest in the second.
        voce += U32Xlsb(2) + U16Xlsb(0) + U16Xlsb(0) + U16Xlsb(static_cast<std::uint32_t>(testo.size() / 2)) + U16Xlsb(1);
    }
    if (!fonetico.empty())
        voce += StringaXlsb(fonetico) + U32Xlsb(0);
    Cella(CellIsst, colonna, 0, U32Xlsb(IndiceTesto(voce, voce)));
}

void ScrittoreXlsb::TestoInCella(int colonna, const std::string& utf8)
{
    Cella(CellSt, colonna, 0, StringaXlsb(utf8));
}

void ScrittoreXlsb::Booleano(int colonna, bool valore)
{
    Cella(CellBool, colonna, 0, std::string(1, valore ? '\1' : '\0'));
}

void ScrittoreXlsb::Errore(int colonna, std::uint8_t codice)
{
    Cella(CellError, colonna, 0, std::string(1, static_cast<char>(codice)));
}

void ScrittoreXlsb::Vuota(int colonna, int stile)
{
    Cella(CellBlank, colonna, stile, {});
}

void ScrittoreXlsb::FormulaNumero(int colonna, double valore, int stile)
{
    Cella(FmlaNum, colonna, stile, F64Xlsb(valore) + Formula("\x1F" + F64Xlsb(valore)));
}

void ScrittoreXlsb::FormulaTesto(int colonna, const std::string& utf8)
{
    const std::u16string u = Utf16(utf8);
    Cella(FmlaString, colonna, 0, StringaXlsb(utf8) + Formula("\x17" + U16Xlsb(static_cast<std::uint32_t>(u.size())) + Unita(u)));
}

void ScrittoreXlsb::FormulaBooleano(int colonna, bool valore)
{
    const std::string v(1, valore ? '\1' : '\0');
    Cella(FmlaBool, colonna, 0, v + Formula("\x1D" + v));
}

void ScrittoreXlsb::FormulaErrore(int colonna, std::uint8_t codice)
{
    const std::string v(1, static_cast<char>(codice));
    Cella(FmlaError, colonna, 0, v + Formula("\x1C" + v));
}

void ScrittoreXlsb::Chiudi()
{
    FineFoglio();

    std::string libro = RecordXlsb(BeginBook, {});
    libro += RecordXlsb(WbProp, U32Xlsb(sistema1904_ ? 1 : 0) + U32Xlsb(0) + StringaXlsb(""));
    libro += RecordXlsb(BeginBundleShs, {});
    for (std::size_t i = 0; i < fogli_.size(); ++i)
        libro += RecordXlsb(BundleSh, U32Xlsb(0) + U32Xlsb(static_cast<std::uint32_t>(i + 1))
                                          + StringaXlsb("rId" + std::to_string(i + 1)) + StringaXlsb(fogli_[i]));
    libro += RecordXlsb(EndBundleShs, {});
    libro += RecordXlsb(EndBook, {});
    membro_("xl/workbook.bin");
    scrivi_(libro);

    std::string testi = RecordXlsb(BeginSst, U32Xlsb(riferimenti_) + U32Xlsb(static_cast<std::uint32_t>(testi_.size())));
    for (const std::string& voce : testi_)
        testi += RecordXlsb(SSTItem, voce);
    testi += RecordXlsb(EndSst, {});
    membro_("xl/sharedStrings.bin");
    scrivi_(testi);

    // Cell formats: one cell style (general) as their parent, then each style's number format.
    const auto xf = [](std::uint32_t genitore, int formato) {
        return RecordXlsb(XF, U16Xlsb(genitore) + U16Xlsb(static_cast<std::uint32_t>(formato)) + std::string(12, '\0'));
    };
    std::string stili = RecordXlsb(BeginStyleSheet, {});
    stili += RecordXlsb(BeginFmts, U32Xlsb(static_cast<std::uint32_t>(formatiPropri_.size())));
    for (const auto& [codice, id] : formatiPropri_)
        stili += RecordXlsb(Fmt, U16Xlsb(static_cast<std::uint32_t>(id)) + StringaXlsb(codice));
    stili += RecordXlsb(EndFmts, {});
    stili += RecordXlsb(BeginCellStyleXFs, U32Xlsb(1)) + xf(0xFFFF, 0) + RecordXlsb(EndCellStyleXFs, {});
    stili += RecordXlsb(BeginCellXFs, U32Xlsb(static_cast<std::uint32_t>(stili_.size())));
    for (int formato : stili_)
        stili += xf(0, formato);
    stili += RecordXlsb(EndCellXFs, {});
    stili += RecordXlsb(EndStyleSheet, {});
    membro_("xl/styles.bin");
    scrivi_(stili);

    std::string tipi = "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-excel.sheet.binary.macroEnabled.main\"/>"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    std::string relazioni = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (std::size_t i = 0; i < fogli_.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        tipi += "<Override PartName=\"/xl/worksheets/sheet" + n + ".bin\" ContentType=\"application/vnd.ms-excel.worksheet\"/>";
        relazioni += "<Relationship Id=\"rId" + n + "\" Type=\"" + Relazioni + "worksheet\" Target=\"worksheets/sheet" + n + ".bin\"/>";
    }
    tipi += "<Override PartName=\"/xl/styles.bin\" ContentType=\"application/vnd.ms-excel.styles\"/>"
            "<Override PartName=\"/xl/sharedStrings.bin\" ContentType=\"application/vnd.ms-excel.sharedStrings\"/></Types>";
    relazioni += std::string("<Relationship Id=\"rIdS\" Type=\"") + Relazioni + "styles\" Target=\"styles.bin\"/>"
                 "<Relationship Id=\"rIdT\" Type=\"" + Relazioni + "sharedStrings\" Target=\"sharedStrings.bin\"/></Relationships>";
    membro_("xl/_rels/workbook.bin.rels");
    scrivi_(Xml(relazioni));
    membro_("[Content_Types].xml");
    scrivi_(Xml(tipi));
    membro_("_rels/.rels");
    scrivi_(Xml(std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                            "<Relationship Id=\"rId1\" Type=\"") + Relazioni + "officeDocument\" Target=\"xl/workbook.bin\"/></Relationships>"));
}

} // namespace quercino::test
