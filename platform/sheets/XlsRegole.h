#pragma once
// What the format allows of a record of an Excel 5.0 to 2003 workbook stream, by its type
// alone: where it may stand (the workbook's globals, a worksheet, a chart or other part
// nested in a worksheet) and what length it may have. BIFF has no checksum: a record whose
// type or length byte was damaged is told by a type the format does not know where it
// stands, a length its type cannot have, or the next record read from a wrong position.

#include <cstdint>
#include <cstddef>

namespace quercino::sheets::xls {

enum class Parte { Globali, Foglio, Annidata };

// The longest data of one record (8224 bytes in Excel 97-2003, 2080 in Excel 5.0/95).
std::size_t LunghezzaMassima(int versione);

// Whether a record of this type may stand in that part of the stream.
bool Noto(std::uint16_t tipo, Parte parte);

// Whether a record of this type may have `lunghezza` bytes of data (the types whose length
// depends on counts inside them are checked where they are read).
bool LunghezzaAmmessa(std::uint16_t tipo, std::size_t lunghezza, const unsigned char* dati, int versione);

// Whether a CONTINUE record may follow one of this type: records of one fixed size, and
// cell records, never go on in another.
bool Continuabile(std::uint16_t tipo, int versione);

} // namespace quercino::sheets::xls
