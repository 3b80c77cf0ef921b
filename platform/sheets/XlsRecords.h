#pragma once
// The records of an Excel 5.0 to 2003 workbook stream (type, length, data), read in order,
// and the data of a record together with the CONTINUE records that carry on its texts.

#include "platform/sheets/CompoundFile.h"
#include "platform/sheets/XlsCodePage.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quercino::sheets {

namespace xls {
// Record types.
inline constexpr std::uint16_t Formula = 0x0006;
inline constexpr std::uint16_t Eof = 0x000A;
inline constexpr std::uint16_t Header = 0x0014;
inline constexpr std::uint16_t Footer = 0x0015;
inline constexpr std::uint16_t Selection = 0x001D;
inline constexpr std::uint16_t DateMode = 0x0022;
inline constexpr std::uint16_t FilePass = 0x002F;
inline constexpr std::uint16_t Font = 0x0031;
inline constexpr std::uint16_t Continue = 0x003C;
inline constexpr std::uint16_t CodePage = 0x0042;
inline constexpr std::uint16_t Uncalced = 0x005E;
inline constexpr std::uint16_t WsBool = 0x0081;
inline constexpr std::uint16_t BoundSheet = 0x0085;
inline constexpr std::uint16_t MulRk = 0x00BD;
inline constexpr std::uint16_t MulBlank = 0x00BE;
inline constexpr std::uint16_t RString = 0x00D6;
inline constexpr std::uint16_t Xf = 0x00E0;
inline constexpr std::uint16_t MergeCells = 0x00E5;
inline constexpr std::uint16_t Sst = 0x00FC;
inline constexpr std::uint16_t LabelSst = 0x00FD;
inline constexpr std::uint16_t Dimensions = 0x0200;
inline constexpr std::uint16_t Blank = 0x0201;
inline constexpr std::uint16_t Number = 0x0203;
inline constexpr std::uint16_t Label = 0x0204;
inline constexpr std::uint16_t BoolErr = 0x0205;
inline constexpr std::uint16_t Formula3 = 0x0206;    // FORMULA under the number of Excel 3.0,
inline constexpr std::uint16_t String = 0x0207;
inline constexpr std::uint16_t Row = 0x0208;
inline constexpr std::uint16_t Array = 0x0221;
inline constexpr std::uint16_t Table = 0x0236;
inline constexpr std::uint16_t Rk = 0x027E;
inline constexpr std::uint16_t Style = 0x0293;
inline constexpr std::uint16_t Formula4 = 0x0406;    // and of 4.0: some programs still write them
inline constexpr std::uint16_t Format = 0x041E;
inline constexpr std::uint16_t ShrFmla = 0x04BC;
inline constexpr std::uint16_t Bof = 0x0809;

// The records of one cell or of a run of cells of one row.
constexpr bool Cella(std::uint16_t tipo)
{
    switch (tipo) {
    case Number: case Rk: case MulRk: case LabelSst: case Label: case RString: case BoolErr:
    case Formula: case Formula3: case Formula4: case Blank: case MulBlank:
        return true;
    default:
        return false;
    }
}

} // namespace xls

class XlsRecords {
public:
    // Records from the reader's current position; `danneggiato` is the message of a record
    // that runs past the end of the stream or is longer than `lunghezzaMassima` bytes.
    XlsRecords(CompoundStreamReader& flusso, QString danneggiato, std::size_t lunghezzaMassima = 8224);

    // The next record; false at the end of the stream.
    bool Prossimo();
    void LunghezzaMassima(std::size_t n) { lunghezzaMassima_ = n; }
    // The next Prossimo gives the current record again.
    void Rimetti() { rimesso_ = true; }
    // The type of the record the next Prossimo gives, the current one kept; none at the end
    // of the stream.
    std::optional<std::uint16_t> TipoSeguente();

    std::uint16_t Tipo() const { return tipo_; }
    std::size_t Lunghezza() const { return dati_.size(); }
    const unsigned char* Dati() const { return dati_.data(); }
    std::uint16_t U16(std::size_t i) const;
    std::uint32_t U32(std::size_t i) const;

    [[noreturn]] void Danneggiato() const;

private:
    CompoundStreamReader& flusso_;
    QString danneggiato_;
    std::size_t lunghezzaMassima_;
    std::uint16_t tipo_ = 0;
    std::vector<unsigned char> dati_;
    bool rimesso_ = false;
};

// The data of the current record from `inizio` on, then of the CONTINUE records after it,
// as one: a text cut between two records starts again, in the next one, with the byte that
// says whether its characters take one byte or two. Anything read past the last CONTINUE
// makes the stream damaged; the record after it stays to be read. The current record stays
// at hand until a CONTINUE record is read.
class XlsContinuo {
public:
    XlsContinuo(XlsRecords& record, std::size_t inizio);

    // True when neither the record nor a CONTINUE after it has more data.
    bool Finito();
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    void Salta(std::uint64_t n);
    // `n` characters, one or two bytes each; at most `massimo` of them are kept.
    void Caratteri(std::uint32_t n, bool doppi, std::u16string& testo, std::size_t massimo);
    // `n` bytes of an 8-bit text; at most `massimo` of them are kept.
    void Byte(std::uint32_t n, std::string& testo, std::size_t massimo);

private:
    bool Avanza();
    void Servono(std::size_t n);

    XlsRecords& r_;
    std::size_t pos_;
};

// An Excel 97-2003 text of the given length: its flags byte, then its characters (rich
// text runs and phonetic data, when `ricco` and the flags announce them, are passed over).
// Its first MassimoCaratteriCella characters are added to `testo`.
void AggiungiTestoXls(XlsContinuo& dati, std::uint32_t caratteri, bool ricco, std::u16string& testo);
QString TestoXls(XlsContinuo& dati, std::uint32_t caratteri, bool ricco);
// The same text passed over.
void SaltaTestoXls(XlsContinuo& dati, std::uint32_t caratteri, bool ricco);

// An Excel 5.0/95 text: its length in one or two bytes, then its bytes in the workbook's
// code page (going on, without a flags byte, in CONTINUE records).
QString Testo8Bit(XlsContinuo& dati, bool lunghezzaDueByte, const XlsCodePage& codePage);

} // namespace quercino::sheets
