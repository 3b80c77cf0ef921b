#include "platform/sheets/Workbook.h"

#include "platform/sheets/OdsWorkbook.h"
#include "platform/sheets/OpcPackage.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsWorkbook.h"
#include "platform/sheets/XlsbWorkbook.h"
#include "platform/sheets/XlsxWorkbook.h"
#include "platform/sheets/ZipArchive.h"

#include <QFile>

namespace quercino::sheets {

std::unique_ptr<Workbook> ApriCartella(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        throw SheetError(QStringLiteral("Impossibile aprire il file %1.").arg(percorso));
    const QByteArray firma = file.read(8);
    file.close();
    // A compound file: a workbook of Excel 5.0 to 2003, or an encrypted workbook of any version.
    if (firma.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")))
        return std::make_unique<XlsWorkbook>(percorso);
    if (InizioExcelAnteriore(firma))
        throw ExcelAnteriore(percorso);
    if (!firma.startsWith("PK"))
        throw NonCartellaLeggibile(percorso);

    auto archivio = std::make_unique<ZipArchive>(percorso.toStdString());
    if (const auto tipo = archivio->Trova("mimetype")) {
        const std::string mime = archivio->Leggi(*tipo, 4096);
        if (mime.find("opendocument") != std::string::npos)
            return std::make_unique<OdsWorkbook>(percorso, std::move(archivio));
    }
    // The same package holds an .xlsx or an .xlsb workbook: its workbook part tells which.
    const std::string parteCartella = ParteDocumento(*archivio);
    if (!parteCartella.empty() && CartellaBinaria(*archivio, parteCartella))
        return std::make_unique<XlsbWorkbook>(percorso, std::move(archivio), parteCartella);
    return std::make_unique<XlsxWorkbook>(percorso, std::move(archivio));
}

} // namespace quercino::sheets
