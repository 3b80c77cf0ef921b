#include "platform/sheets/XlsRegole.h"

namespace quercino::sheets::xls {

namespace {

// The lengths a type may have: at least `minima`, at most `massima`, and `minima` plus a
// whole number of steps of `passo`.
struct Misura {
    std::uint16_t minima = 0;
    std::uint16_t passo = 1;
    std::uint16_t massima = 0xFFFF;
};

constexpr Misura Qualsiasi{};
constexpr Misura Esatta(std::uint16_t n) { return {n, 1, n}; }
constexpr Misura Almeno(std::uint16_t n) { return {n, 1, 0xFFFF}; }
constexpr Misura Tra(std::uint16_t a, std::uint16_t b) { return {a, 1, b}; }
constexpr Misura Passo(std::uint16_t base, std::uint16_t passo) { return {base, passo, 0xFFFF}; }

constexpr unsigned G = 1;   // the workbook's globals
constexpr unsigned F = 2;   // a worksheet
constexpr unsigned A = 4;   // only inside a part nested in a worksheet (a chart)

struct Regola {
    unsigned parti = 0;   // none: a type the format does not know
    Misura biff8;
    Misura biff5;
    bool maiContinuato = false;   // never followed by CONTINUE, whatever its length
};

constexpr Regola R(unsigned parti, Misura m, bool maiContinuato = false) { return {parti, m, m, maiContinuato}; }
constexpr Regola R(unsigned parti, Misura m8, Misura m5, bool maiContinuato = false) { return {parti, m8, m5, maiContinuato}; }

constexpr bool Fisso = true;

Regola RegolaDi(std::uint16_t tipo)
{
    // Records of later versions share one header: their first two bytes repeat their type.
    if (tipo >= 0x0800 && tipo <= 0x08FF && tipo != 0x0809)
        return R(G | F, Almeno(2));
    // The records of a chart; the colours of charts also among the globals' formatting.
    if (tipo == 0x105C)
        return R(G | A, Qualsiasi);
    if (tipo >= 0x1001 && tipo <= 0x1068)
        return R(A, Qualsiasi);
    switch (tipo) {
    case 0x0006: return R(F, Almeno(22), Fisso);                    // FORMULA
    case 0x000A: return R(G | F, Esatta(0));                        // EOF
    case 0x000C: return R(F, Esatta(2));                            // CALCCOUNT
    case 0x000D: return R(F, Esatta(2));                            // CALCMODE
    case 0x000E: return R(G | F, Esatta(2));                        // PRECISION
    case 0x000F: return R(F, Esatta(2));                            // REFMODE
    case 0x0010: return R(F, Esatta(8));                            // DELTA
    case 0x0011: return R(F, Esatta(2));                            // ITERATION
    case 0x0012: return R(G | F, Esatta(2));                        // PROTECT
    case 0x0013: return R(G | F, Esatta(2));                        // PASSWORD
    case 0x0014: return R(F, Qualsiasi, Fisso);                     // HEADER
    case 0x0015: return R(F, Qualsiasi, Fisso);                     // FOOTER
    case 0x0016: return R(G | F, Esatta(2));                        // EXTERNCOUNT
    case 0x0017: return R(G | F, Passo(2, 6), Qualsiasi);           // EXTERNSHEET
    case 0x0018: return R(G, Qualsiasi);                            // NAME
    case 0x0019: return R(G, Esatta(2));                            // WINDOWPROTECT
    case 0x001A: return R(F, Passo(2, 6), Passo(2, 2), Fisso);      // VERTICALPAGEBREAKS
    case 0x001B: return R(F, Passo(2, 6), Passo(2, 2), Fisso);      // HORIZONTALPAGEBREAKS
    case 0x001C: return R(F, Qualsiasi);                            // NOTE
    case 0x001D: return R(F, Passo(9, 6), Fisso);                   // SELECTION
    case 0x0022: return R(G, Esatta(2));                            // DATEMODE
    case 0x0023: return R(G | F, Qualsiasi);                        // EXTERNNAME
    case 0x0026: case 0x0027: case 0x0028: case 0x0029:
        return R(F, Esatta(8));                                     // margins
    case 0x002A: return R(F, Esatta(2));                            // PRINTHEADERS
    case 0x002B: return R(F, Esatta(2));                            // PRINTGRIDLINES
    case 0x002F: return R(G, Qualsiasi);                            // FILEPASS
    case 0x0031: return R(G, Almeno(15), Fisso);                    // FONT
    case 0x0033: return R(A, Qualsiasi);                            // PRINTSIZE
    case 0x003C: return R(G | F, Qualsiasi);                        // CONTINUE
    case 0x003D: return R(G, Esatta(18));                           // WINDOW1
    case 0x0040: return R(G, Esatta(2));                            // BACKUP
    case 0x0041: return R(F, Tra(9, 10));                           // PANE
    case 0x0042: return R(G, Esatta(2));                            // CODEPAGE
    case 0x004D: return R(F, Qualsiasi);                            // PLS
    case 0x0050: return R(F, Qualsiasi);                            // DCON
    case 0x0051: case 0x0052:
        return R(G | F, Qualsiasi);                                 // DCONREF, DCONNAME (also a pivot cache's source)
    case 0x0055: return R(F, Esatta(2));                            // DEFCOLWIDTH
    case 0x0059: case 0x005A:
        return R(G | F, Qualsiasi);                                 // XCT, CRN
    case 0x005B: return R(G, Qualsiasi);                            // FILESHARING
    case 0x005C: return R(G, Qualsiasi);                            // WRITEACCESS
    case 0x005D: return R(F, Qualsiasi);                            // OBJ
    case 0x005E: return R(F, Qualsiasi);                            // UNCALCED
    case 0x005F: return R(F, Esatta(2));                            // SAVERECALC
    case 0x0060: return R(G, Esatta(0));                            // TEMPLATE
    case 0x0063: return R(F, Esatta(2));                            // OBJECTPROTECT
    case 0x007D: return R(F, Tra(11, 12), Fisso);                   // COLINFO
    case 0x007F: return R(F, Qualsiasi);                            // IMDATA
    case 0x0080: return R(F, Esatta(8));                            // GUTS
    case 0x0081: return R(F, Esatta(2));                            // WSBOOL
    case 0x0082: return R(F, Esatta(2));                            // GRIDSET
    case 0x0083: return R(F, Esatta(2));                            // HCENTER
    case 0x0084: return R(F, Esatta(2));                            // VCENTER
    case 0x0085: return R(G, Almeno(7), Fisso);                     // BOUNDSHEET
    case 0x0086: return R(G, Qualsiasi);                            // WRITEPROT
    case 0x0087: case 0x0088:
        return R(G, Qualsiasi);                                     // ADDMENU, DELMENU
    case 0x008C: return R(G | F, Esatta(4));                        // COUNTRY
    case 0x008D: return R(G, Esatta(2));                            // HIDEOBJ
    case 0x0090: return R(F, Qualsiasi);                            // SORT
    case 0x0092: return R(G, Passo(2, 4), Fisso);                   // PALETTE
    case 0x0094: case 0x0096:
        return R(F, Qualsiasi);                                     // LHRECORD, SOUND
    case 0x0097: return R(F, Esatta(4));                            // SYNC
    case 0x0098: return R(F, Qualsiasi);                            // LPR
    case 0x0099: return R(F, Esatta(2));                            // STANDARDWIDTH
    case 0x009A: return R(G, Qualsiasi);                            // FNGROUPNAME
    case 0x009B: return R(F, Esatta(0));                            // FILTERMODE
    case 0x009C: return R(G, Esatta(2));                            // FNGROUPCOUNT
    case 0x009D: return R(F, Esatta(2));                            // AUTOFILTERINFO
    case 0x009E: return R(F, Qualsiasi);                            // AUTOFILTER
    case 0x00A0: return R(F, Esatta(4));                            // SCL
    case 0x00A1: return R(F, Esatta(34));                           // SETUP
    case 0x00AE: case 0x00AF:
        return R(F, Qualsiasi);                                     // SCENMAN, SCENARIO
    case 0x00B0: case 0x00B1: case 0x00B2: case 0x00B4: case 0x00B5: case 0x00B6:
        return R(F, Qualsiasi);                                     // pivot tables
    case 0x00B8: case 0x00B9:
        return R(G, Qualsiasi);                                     // DOCROUTE, RECIPNAME
    case 0x00BD: return R(F, Passo(12, 6), Fisso);                  // MULRK
    case 0x00BE: return R(F, Passo(8, 2), Fisso);                   // MULBLANK
    case 0x00BF: case 0x00C0:
        return R(G, Qualsiasi);                                     // TOOLBARHDR, TOOLBAREND
    case 0x00C1: return R(G, Esatta(2));                            // MMS
    case 0x00C5: return R(F, Qualsiasi);                            // SXDI
    case 0x00CD: return R(G, Qualsiasi);                            // SXSTRING
    case 0x00D0: case 0x00D1: case 0x00D2:
        return R(G, Qualsiasi);                                     // a pivot cache's source tables
    case 0x00D3: return R(G, Esatta(0));                            // OBPROJ
    case 0x00D5: return R(G, Esatta(2));                            // SXIDSTM
    case 0x00D6: return R(F, Almeno(10));                           // RSTRING
    case 0x00D7: return R(F, Passo(4, 2), Fisso);                   // DBCELL
    case 0x00DA: return R(G, Esatta(2));                            // BOOKBOOL
    case 0x00DC: return R(G | F, Qualsiasi);                        // PARAMQRY
    case 0x00DD: return R(F, Esatta(2));                            // SCENPROTECT
    case 0x00DE: return R(G, Qualsiasi);                            // OLESIZE
    case 0x00E0: return R(G, Esatta(20), Esatta(16));               // XF
    case 0x00E1: return R(G, Tra(0, 2));                            // INTERFACEHDR
    case 0x00E2: return R(G, Esatta(0));                            // INTERFACEEND
    case 0x00E3: return R(G, Esatta(2));                            // SXVS
    case 0x00E5: return R(F, Passo(2, 8), Fisso);                   // MERGEDCELLS
    case 0x00E9: return R(F, Qualsiasi);                            // BITMAP
    case 0x00EB: return R(G, Qualsiasi);                            // MSODRAWINGGROUP
    case 0x00EC: case 0x00ED:
        return R(F, Qualsiasi);                                     // MSODRAWING, MSODRAWINGSELECTION
    case 0x00EF: return R(F, Qualsiasi);                            // PHONETIC
    case 0x00F0: case 0x00F1: case 0x00F2: case 0x00F4: case 0x00F5: case 0x00F6: case 0x00F7: case 0x00F8:
    case 0x00F9: case 0x00FB: case 0x0100:
        return R(F, Qualsiasi);                                     // pivot tables
    case 0x00FC: return R(G, Almeno(8));                            // SST
    case 0x00FD: return R(F, Esatta(10));                           // LABELSST
    case 0x00FF: return R(G, Passo(2, 8), Fisso);                   // EXTSST
    case 0x013D: return R(G, Passo(0, 2), Fisso);                   // TABID
    case 0x015F: return R(F, Qualsiasi);                            // LABELRANGES
    case 0x0160: return R(G, Esatta(2));                            // USESELFS
    case 0x0161: return R(G, Esatta(2));                            // DSF
    case 0x0191: case 0x0192: case 0x0193: case 0x0194: case 0x0195: case 0x0196: case 0x0197: case 0x0198:
        return R(G, Qualsiasi);                                     // shared workbooks
    case 0x01A9: return R(G, Qualsiasi);                            // USERBVIEW
    case 0x01AA: case 0x01AB:
        return R(F, Qualsiasi);                                     // USERSVIEWBEGIN, USERSVIEWEND
    case 0x01AD: return R(F, Qualsiasi);                            // QSI
    case 0x01AE: return R(G, Qualsiasi);                            // SUPBOOK
    case 0x01AF: return R(G, Esatta(2));                            // PROT4REV
    case 0x01B0: case 0x01B1: case 0x01B2:
        return R(F, Qualsiasi);                                     // CONDFMT, CF, DVAL
    case 0x01B5: return R(G | F, Qualsiasi);                        // DCONBIN
    case 0x01B6: return R(F, Qualsiasi);                            // TXO
    case 0x01B7: return R(G, Esatta(2));                            // REFRESHALL
    case 0x01B8: return R(F, Qualsiasi);                            // HLINK
    case 0x01B9: return R(G, Qualsiasi);                            // LEL
    case 0x01BA: return R(G | F, Qualsiasi);                        // CODENAME
    case 0x01BC: return R(G, Esatta(2));                            // PROT4REVPASS
    case 0x01BD: return R(G | F, Qualsiasi);                        // OBNOMACROS
    case 0x01BE: return R(F, Qualsiasi);                            // DV
    case 0x01C0: return R(G, Esatta(0));                            // EXCEL9FILE
    case 0x01C1: return R(G, Esatta(8));                            // RECALCID
    case 0x01C2: return R(F, Qualsiasi);                            // ENTEXU2
    case 0x0200: return R(F, Esatta(14), Esatta(10));               // DIMENSIONS
    case 0x0201: return R(F, Esatta(6));                            // BLANK
    case 0x0203: return R(F, Esatta(14));                           // NUMBER
    case 0x0204: return R(F, Almeno(8));                            // LABEL
    case 0x0205: return R(F, Esatta(8));                            // BOOLERR
    case 0x0206: case 0x0406:
        return R(F, Almeno(18), Fisso);                             // FORMULA as Excel 3.0 and 4.0 numbered it
    case 0x0207: return R(F, Almeno(2));                            // STRING
    case 0x0208: return R(F, Esatta(16));                           // ROW
    case 0x020B: return R(F, Passo(16, 4), Passo(12, 4), Fisso);    // INDEX
    case 0x0221: return R(F, Almeno(14), Fisso);                    // ARRAY
    case 0x0225: return R(F, Esatta(4));                            // DEFAULTROWHEIGHT
    case 0x0236: return R(F, Esatta(16));                           // TABLEOP
    case 0x023E: return R(F, {10, 8, 18});                          // WINDOW2 (of a chart or of a sheet)
    case 0x027E: return R(F, Esatta(10));                           // RK
    case 0x0293: return R(G, Almeno(4), Fisso);                     // STYLE
    case 0x0418: return R(G | F, Qualsiasi);                        // BIGNAME
    case 0x043C: return R(F, Qualsiasi);                            // CONTINUEBIGNAME
    case 0x041E: return R(G, Almeno(3), Fisso);                     // FORMAT
    case 0x04BC: return R(F, Almeno(10), Fisso);                    // SHRFMLA
    case 0x0809: return R(G | F, Esatta(16), Esatta(8));            // BOF
    default: return {};
    }
}

} // namespace

std::size_t LunghezzaMassima(int versione) { return versione == 8 ? 8224 : 2080; }

bool Noto(std::uint16_t tipo, Parte parte)
{
    const unsigned parti = RegolaDi(tipo).parti;
    switch (parte) {
    case Parte::Globali: return (parti & G) != 0;
    case Parte::Foglio: return (parti & F) != 0;
    case Parte::Annidata: return parti != 0;
    }
    return false;
}

bool LunghezzaAmmessa(std::uint16_t tipo, std::size_t lunghezza, const unsigned char* dati, int versione)
{
    const Regola regola = RegolaDi(tipo);
    const Misura& m = versione == 8 ? regola.biff8 : regola.biff5;
    if (regola.parti == 0 || lunghezza < m.minima || lunghezza > m.massima || (lunghezza - m.minima) % m.passo != 0)
        return false;
    if (tipo >= 0x0800 && tipo <= 0x08FF && tipo != 0x0809)
        return (dati[0] | (dati[1] << 8)) == tipo;
    return true;
}

bool Continuabile(std::uint16_t tipo, int versione)
{
    const Regola regola = RegolaDi(tipo);
    const Misura& m = versione == 8 ? regola.biff8 : regola.biff5;
    return regola.parti != 0 && !regola.maiContinuato && m.minima != m.massima;
}

} // namespace quercino::sheets::xls
