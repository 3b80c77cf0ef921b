// The reader of the towns list: both quoting styles, and a changed format refused with
// the line that broke it rather than a shorter table.
#include "tools/genera_database/ListaComuni.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using quercino::genera::leggiListaComuni;

namespace {

QString scrivi(const QTemporaryDir& dir, const QByteArray& testo)
{
    const QString percorso = dir.filePath(QStringLiteral("lista-comuni.js"));
    QFile file(percorso);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(testo);
    return percorso;
}

TEST(ListaComuni, VociConApiciEVirgolette)
{
    QTemporaryDir dir;
    const auto voci = leggiListaComuni(scrivi(dir,
        "export const COMUNI = [\n"
        "  ['A001', 'PD', 'ABANO BAGNI', 0],\n"
        "  ['A029', 'CT', \"ACI SANT'ANTONIO\", 1],\r\n"
        "\n"
        "  ['Z404', 'EE', \"STATI UNITI D'AMERICA\", 1]\n"
        "]\n"));
    ASSERT_EQ(voci.size(), 3u);
    EXPECT_EQ(voci[0].codice, QStringLiteral("A001"));
    EXPECT_EQ(voci[0].provincia, QStringLiteral("PD"));
    EXPECT_EQ(voci[0].nome, QStringLiteral("ABANO BAGNI"));
    EXPECT_FALSE(voci[0].attivo);
    EXPECT_EQ(voci[1].nome, QStringLiteral("ACI SANT'ANTONIO"));
    EXPECT_TRUE(voci[1].attivo);
    EXPECT_EQ(voci[2].provincia, QStringLiteral("EE"));
    EXPECT_EQ(voci[2].nome, QStringLiteral("STATI UNITI D'AMERICA"));
}

TEST(ListaComuni, UnaRigaInattesaFermaLaLettura)
{
    QTemporaryDir dir;
    try {
        leggiListaComuni(scrivi(dir,
            "export const COMUNI = [\n"
            "  ['A001', 'PD', 'ABANO BAGNI', 0],\n"
            "  ['A002', 'CO', 'ABBADIA', 2],\n"
            "]\n"));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(":3:"), std::string::npos) << e.what();
    }
    // A name quoted the other way round from what its apostrophe needs.
    try {
        leggiListaComuni(scrivi(dir, "  ['A029', 'CT', 'ACI SANT'ANTONIO', 1],\n"));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(":1:"), std::string::npos) << e.what();
    }
    EXPECT_THROW(leggiListaComuni(dir.filePath(QStringLiteral("mancante.js"))), std::runtime_error);
}

} // namespace
