#pragma once
// The XML namespaces of the parts the readers use, with the numbers the readers match
// elements and attributes by. An element is the format's only when its namespace is: an
// extension element of the same local name (Excel's <x15:workbookPr> beside
// <workbookPr>) is another element.

#include "platform/sheets/XmlPullParser.h"

#include <vector>

namespace quercino::sheets {

// Office Open XML (.xlsx, .xlsm and the package of .xlsb): each in its transitional and,
// where it has one, its strict form.
namespace ooxml {
inline constexpr int Foglio = 1;             // SpreadsheetML: workbook, sheets, shared strings, styles
inline constexpr int Relazioni = 2;          // the r:id of the parts a workbook names
inline constexpr int RelazioniPacchetto = 3; // the relationships parts (.rels)
inline constexpr int TipiContenuto = 4;      // [Content_Types].xml

inline std::vector<SpazioNomi> Spazi()
{
    return {{"http://schemas.openxmlformats.org/spreadsheetml/2006/main", Foglio},
            {"http://purl.oclc.org/ooxml/spreadsheetml/main", Foglio},
            {"http://schemas.openxmlformats.org/officeDocument/2006/relationships", Relazioni},
            {"http://purl.oclc.org/ooxml/officeDocument/relationships", Relazioni},
            {"http://schemas.openxmlformats.org/package/2006/relationships", RelazioniPacchetto},
            {"http://schemas.openxmlformats.org/package/2006/content-types", TipiContenuto}};
}
} // namespace ooxml

// OpenDocument (.ods): content.xml, styles.xml and the manifest.
namespace odf {
inline constexpr int Office = 1;
inline constexpr int Tabella = 2;
inline constexpr int Testo = 3;
inline constexpr int Stile = 4;
inline constexpr int Numero = 5;             // the data styles
inline constexpr int Disegno = 6;            // shapes, which may stand in a cell's text
inline constexpr int Manifesto = 7;
inline constexpr int Calcext = 8;            // LibreOffice's extension: a cell's error type
inline constexpr int Disegno3d = 9;

inline std::vector<SpazioNomi> Spazi()
{
    return {{"urn:oasis:names:tc:opendocument:xmlns:office:1.0", Office},
            {"urn:oasis:names:tc:opendocument:xmlns:table:1.0", Tabella},
            {"urn:oasis:names:tc:opendocument:xmlns:text:1.0", Testo},
            {"urn:oasis:names:tc:opendocument:xmlns:style:1.0", Stile},
            {"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0", Numero},
            {"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0", Disegno},
            {"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0", Manifesto},
            {"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0", Calcext},
            {"urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0", Disegno3d}};
}
} // namespace odf

} // namespace quercino::sheets
