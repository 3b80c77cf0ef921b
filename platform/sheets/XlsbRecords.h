#pragma once
// The records of one part of an .xlsb file, read in order as a stream: a record type of one
// or two bytes and a size of one to four, seven bits each, then the data. Only the record
// being read is in memory, and of it at most MassimoDatiRecord bytes: longer records (no
// cell or string the import reads is that long) are read through and their rest dropped.

#include "platform/sheets/ZipEntryStream.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quercino::sheets {

inline constexpr std::size_t MassimoDatiRecord = std::size_t{1} << 18;

class XlsbRecords {
public:
    // The part `nomeParte` of the file `file`, streamed by `flusso`.
    XlsbRecords(std::unique_ptr<ZipEntryStream> flusso, std::string nomeParte, std::string file);

    // The next record; false at the end of the part (only between two records).
    // Throws SheetError when the part is damaged.
    bool Prossimo();
    std::uint32_t Tipo() const { return tipo_; }
    std::uint32_t Dimensione() const { return dimensione_; }
    // The record's data up to MassimoDatiRecord bytes.
    std::string_view Dati() const { return dati_; }

    [[noreturn]] void Danneggiata() const;
    const std::string& Parte() const { return nomeParte_; }
    const std::string& File() const { return file_; }

private:
    bool Byte(std::uint8_t& b);
    std::size_t Leggi(char* destinazione, std::size_t n);

    std::unique_ptr<ZipEntryStream> flusso_;
    std::string nomeParte_;
    std::string file_;
    std::string buffer_ = std::string(std::size_t{1} << 16, '\0');
    std::size_t pos_ = 0;
    std::size_t fine_ = 0;
    std::uint32_t tipo_ = 0;
    std::uint32_t dimensione_ = 0;
    std::string dati_;
};

// The fields of one record's data, read in order; any field past the record's end, or a
// string longer than what is left of it, makes the part damaged.
class CampiRecord {
public:
    explicit CampiRecord(const XlsbRecords& record) : record_(record), dati_(record.Dati()), restanti_(record.Dimensione()) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    double F64();
    // An XLWideString (count of UTF-16 units, then the units) cut at `massimo` characters.
    QString Stringa(qsizetype massimo);
    // An XLNullableWideString: a count of 0xFFFFFFFF is no string.
    QString StringaNullabile(qsizetype massimo);
    void Salta(std::uint64_t byte);

private:
    std::string_view Prendi(std::size_t n);

    const XlsbRecords& record_;
    std::string_view dati_;
    std::uint64_t restanti_;    // of the whole record, kept or not
};

// Record types of the parts the import reads.
namespace brt {
inline constexpr std::uint32_t RowHdr = 0, CellBlank = 1, CellRk = 2, CellError = 3, CellBool = 4, CellReal = 5,
                               CellSt = 6, CellIsst = 7, FmlaString = 8, FmlaNum = 9, FmlaBool = 10, FmlaError = 11,
                               ShortBlank = 12, ShortRk = 13, ShortError = 14, ShortBool = 15, ShortReal = 16,
                               ShortSt = 17, ShortIsst = 18, SSTItem = 19, FRTBegin = 35, FRTEnd = 36, ACBegin = 37,
                               ACEnd = 38, Fmt = 44, XF = 47, CellMeta = 49, ValueMeta = 50, CellRString = 62,
                               BeginSheet = 129, BeginBook = 131, BeginSheetData = 145, EndSheetData = 146, WbProp = 153,
                               BundleSh = 156, BeginSst = 159, BeginStyleSheet = 278, ArrFmla = 426, ShrFmla = 427,
                               Table = 428, BeginCellXFs = 617, EndCellXFs = 618, RwDescent = 1024;
}

} // namespace quercino::sheets
