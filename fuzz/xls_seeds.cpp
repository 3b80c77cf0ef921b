// Seeds of the .xls harness: the workbooks the reader's tests build record by record (every
// cell record, shared strings cut between records, Excel 5.0/95 with a code page, the
// container's mini stream and its 4096-byte sectors).

#include "fuzz/FuzzHarness.h"
#include "platform/xls_fixture.h"

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    namespace xf = xls_fixture;
    const std::string biff5 = xf::Cartella(xf::CodePage(1251) + xf::Record(0x041E, xf::U16(164) + "\x0A" + "dd/mm/yyyy") + xf::Stili({164}, false),
                                           {{u"", xf::Record(0x0204, xf::Cella(0, 0, 15) + xf::U16(3) + "\xCF\xF0\xE8")
                                                      + xf::Numero(1, 0, 42750, 16) + xf::Formula(1, 1, xf::RisultatoTipo(0))
                                                      + xf::Record(0x0207, xf::U16(2) + "ab"),
                                             0, "\xCB\xE8"}},
                                           false);
    bool scritti = true;
    scritti = ScriviSeme(cartella, "forme.xls", xf::CartellaForme(8224)) && scritti;
    scritti = ScriviSeme(cartella, "forme_tagliate.xls", xf::CartellaForme(37)) && scritti;
    scritti = ScriviSeme(cartella, "excel5.xls", biff5) && scritti;
    scritti = ScriviSeme(cartella, "mini.xls", xf::FileComposto({{u"Workbook", xf::FlussoPiccolo()}}).Byte) && scritti;
    scritti = ScriviSeme(cartella, "settori_4096.xls", xf::FileComposto({{u"Workbook", xf::FlussoPiccolo(300)}}, 4).Byte) && scritti;
    return scritti;
}

} // namespace quercino::fuzz
