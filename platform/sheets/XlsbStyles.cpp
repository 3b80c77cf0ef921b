#include "platform/sheets/XlsbStyles.h"

#include "platform/sheets/XlsbRecords.h"
#include "platform/sheets/XlsxStyles.h"

#include <map>

namespace quercino::sheets {

XlsbStyles::XlsbStyles(const ZipArchive& archivio, const ZipEntry& voce)
{
    XlsbRecords record(archivio.Apri(voce), voce.Nome, archivio.Percorso());
    if (!record.Prossimo() || record.Tipo() != brt::BeginStyleSheet)
        record.Danneggiata();
    std::map<int, bool> formatiPropri;
    bool dentroXf = false;
    while (record.Prossimo()) {
        switch (record.Tipo()) {
        case brt::Fmt: {
            CampiRecord campi(record);
            const int id = campi.U16();
            // A format code is short; a longer one is still read, its start deciding.
            formatiPropri[id] = FormatoData(-1, campi.Stringa(1024).toStdString());
            break;
        }
        case brt::BeginCellXFs: dentroXf = true; break;
        case brt::EndCellXFs: dentroXf = false; break;
        case brt::XF:
            if (dentroXf) {
                CampiRecord campi(record);
                campi.U16();   // the parent style
                const int formato = campi.U16();
                const auto proprio = formatiPropri.find(formato);
                date_.push_back(proprio != formatiPropri.end() ? proprio->second : FormatoData(formato, {}));
            }
            break;
        default: break;
        }
    }
}

} // namespace quercino::sheets
