#pragma once
// The records of an Excel 5.0 to 2003 workbook stream (type, length, data), read in order,
// and the data of a record together with the CONTINUE records that carry on its texts.

#include "platform/sheets/CompoundFile.h"
#include "platform/sheets/XlsCodePage.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace quercino::sheets {

namespace xls {
// Record types.
inline constexpr std::uint16_t Formula = 0x0006;
inline constexpr std::uint16_t Eof = 0x000A;
inline constexpr std::uint16_t DateMode = 0x0022;
inline constexpr std::uint16_t FilePass = 0x002F;
inline constexpr std::uint16_t Continue = 0x003C;
inline constexpr std::uint16_t CodePage = 0x0042;
inline constexpr std::uint16_t BoundSheet = 0x0085;
inline constexpr std::uint16_t MulRk = 0x00BD;
inline constexpr std::uint16_t MulBlank = 0x00BE;
inline constexpr std::uint16_t RString = 0x00D6;
inline constexpr std::uint16_t Xf = 0x00E0;
inline constexpr std::uint16_t Sst = 0x00FC;
inline constexpr std::uint16_t LabelSst = 0x00FD;
inline constexpr std::uint16_t Blank = 0x0201;
inline constexpr std::uint16_t Number = 0x0203;
inline constexpr std::uint16_t Label = 0x0204;
inline constexpr std::uint16_t BoolErr = 0x0205;
inline constexpr std::uint16_t String = 0x0207;
inline constexpr std::uint16_t Rk = 0x027E;
inline constexpr std::uint16_t Format = 0x041E;
inline constexpr std::uint16_t Bof = 0x0809;
} // namespace xls

class XlsRecords {
public:
    // Records from the reader's current position; `danneggiato` is the message of a record
    // that runs past the end of the stream.
    XlsRecords(CompoundStreamReader& flusso, QString danneggiato);

    // The next record; false at the end of the stream.
    bool Prossimo();
    // The next Prossimo gives the current record again.
    void Rimetti() { rimesso_ = true; }

    std::uint16_t Tipo() const { return tipo_; }
    std::size_t Lunghezza() const { return dati_.size(); }
    const unsigned char* Dati() const { return dati_.data(); }
    std::uint16_t U16(std::size_t i) const;
    std::uint32_t U32(std::size_t i) const;

    [[noreturn]] void Danneggiato() const;

private:
    CompoundStreamReader& flusso_;
    QString danneggiato_;
    std::uint16_t tipo_ = 0;
    std::vector<unsigned char> dati_;
    bool rimesso_ = false;
};

// The data of the current record from `inizio` on, then of the CONTINUE records after it,
// as one: a text cut between two records starts again, in the next one, with the byte that
// says whether its characters take one byte or two. Anything read past the last CONTINUE
// makes the stream damaged; the record after it stays to be read.
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

// An Excel 5.0/95 text: its length in one or two bytes, then its bytes in the workbook's
// code page (going on, without a flags byte, in CONTINUE records).
QString Testo8Bit(XlsContinuo& dati, bool lunghezzaDueByte, const XlsCodePage& codePage);

} // namespace quercino::sheets
