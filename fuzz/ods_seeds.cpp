// The spreadsheets of the .ods tests: their content.xml files (the hand-built forms, the
// cells typed in LibreOffice Calc as a flat file, which holds its sheets the same way) and
// one of them as a whole .ods file.

#include "fuzz/FuzzHarness.h"
#include "platform/sheets_fixture.h"

#include <QDir>
#include <QFile>

namespace quercino::fuzz {

namespace {

std::string Leggi(const QString& nome)
{
    QFile file(QStringLiteral(QUERCINO_SOURCE_DIR "/tests/platform/casi/") + nome);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

} // namespace

bool GeneraSemi(const std::filesystem::path& cartella)
{
    const std::string aMano = Leggi(QStringLiteral("ods_a_mano/content.xml"));
    const std::string nativa = Leggi(QStringLiteral("ods_nativa.fods"));
    const std::string piccola = sheets_fixture::ContenutoOds(
        "<table:table table:name=\"A\"><table:table-row table:number-rows-repeated=\"2\"><table:table-cell "
        "table:number-columns-repeated=\"3\"/><table:table-cell office:value-type=\"string\"><text:p>NOME</text:p>"
        "</table:table-cell></table:table-row><table:table-row><table:table-cell office:value-type=\"float\" "
        "office:value=\"12345678901\"/><table:table-cell office:value-type=\"date\" office:date-value=\"2017-01-15\"/>"
        "<table:table-cell office:value-type=\"time\" office:time-value=\"PT10H30M\"/></table:table-row></table:table>"
        "<table:table table:name=\"B\"/>");
    if (aMano.empty() || nativa.empty())
        return false;
    return ScriviSeme(cartella, "a_mano.xml", aMano) && ScriviSeme(cartella, "nativa.xml", nativa)
        && ScriviSeme(cartella, "piccola.xml", piccola)
        && ScriviSeme(cartella, "a_mano.ods",
                      sheets_fixture::ZipCartella(QStringLiteral(QUERCINO_SOURCE_DIR "/tests/platform/casi/ods_a_mano")));
}

} // namespace quercino::fuzz
