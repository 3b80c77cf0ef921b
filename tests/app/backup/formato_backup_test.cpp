// The backup line and its values, the names of the backup files, the reading of lines
// whatever their ends, the first-line test and the conversion of a line's items back into a
// row (the cases of casi/formato.tsv).

#include "app/backup/FormatoBackup.h"
#include "app/backup/LeggiBackup.h"
#include "app/backup/LimitiBackup.h"
#include "app/backup/NomiBackup.h"
#include "app/backup/RipristinaCTAB.h"
#include "app/backup/SoggettiBackup.h"
#include "app/backup/ValoriRipristino.h"
#include "app/core/Schema.h"
#include "support/casi.h"
#include "support/golden.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

const QString Sep = QString(QChar(0x00A6));

// A value of a column type from a table's text: <NULL> a null of the type, <NESSUNO> none.
QVariant Valore(ColumnType tipo, const QString& testo)
{
    const QMetaType tipi[] = {QMetaType::fromType<QString>(), QMetaType::fromType<int>(), QMetaType::fromType<int>(),
                              QMetaType::fromType<QDate>()};
    if (testo == "<NESSUNO>")
        return {};
    if (testo == "<NULL>")
        return QVariant(tipi[int(tipo)]);
    if (tipo == ColumnType::Date)
        return QDate::fromString(testo, Qt::ISODate);
    return tipo == ColumnType::Text ? QVariant(testo) : QVariant(testo.toInt());
}

// A converted value as the table writes it: texts as they are, numbers #n, dates ISO.
QString Descrivi(const QVariant& valore)
{
    if (valore.isNull())
        return "<NULL>";
    if (valore.metaType() == QMetaType::fromType<QDate>())
        return valore.toDate().toString(Qt::ISODate);
    return valore.metaType() == QMetaType::fromType<int>() ? "#" + valore.toString() : valore.toString();
}

const Table& TabellaProva()
{
    static const Table tabella{QStringLiteral("PROVA"),
                               {{"OCOD", ColumnType::Text, 4},
                                {"N", ColumnType::SmallInt, 0},
                                {"I", ColumnType::Integer, 0},
                                {"D", ColumnType::Date, 0},
                                {"T", ColumnType::Text, 10}},
                               {}};
    return tabella;
}

void Scrivi(const QString& percorso, const QByteArray& byte)
{
    ASSERT_TRUE(test::ScriviFile(percorso, byte));
}

} // namespace

TEST(FormatoBackup, CasiDellaTabella)
{
    const std::map<QString, ColumnType> tipi{{"Text", ColumnType::Text},
                                             {"SmallInt", ColumnType::SmallInt},
                                             {"Integer", ColumnType::Integer},
                                             {"Date", ColumnType::Date}};
    test::ControllaFunzioni(__FILE__, "casi/formato.tsv", {
        {"Valore", [&](const QStringList& a) {
             return QStringList{ValoreBackup(Valore(tipi.at(a[0]), a[1]), tipi.at(a[0]))};
         }},
        {"SenzaSeparatori", [](const QStringList& a) { return QStringList{SenzaSeparatori(a[0])}; }},
        {"DataSalvataggioDi",
         [](const QStringList& a) { return QStringList{DataSalvataggioDi(QDate::fromString(a[0], Qt::ISODate))}; }},
        {"NomeBackupSingolo", [](const QStringList& a) { return QStringList{NomeBackupSingolo(a[0], a[1], a[2])}; }},
        {"NomeBackupTutti", [](const QStringList& a) { return QStringList{NomeBackupTutti(a[0])}; }},
        {"CodiceInNomeFile", [](const QStringList& a) { return QStringList{CodiceInNomeFile(a[0])}; }},
        {"PrimaRiga", [](const QStringList& a) {
             try {
                 const IntestazioneBackup prima = ControllaPrimaRiga(a[0]);
                 return QStringList{QString::number(prima.criptato), prima.codice, prima.nome};
             } catch (const ErroreBackup& errore) {
                 return QStringList{errore.messaggio()};
             }
         }},
        {"ITT", [](const QStringList& a) { return QStringList{RiformaDescrizioneITT(a[0])}; }},
        {"Converti", [](const QStringList& a) {
             const RigaRipristino riga = ConvertiRiga(TabellaProva(), a.mid(2), a[1]);
             QStringList risultato;
             for (const QVariant& valore : riga.valori)
                 risultato << Descrivi(valore);
             for (const ErroreCampoBackup& errore : riga.errori)
                 risultato << MessaggioErroreCampo(a[0], errore);
             return risultato;
         }},
    });
}

TEST(RigaBackup, UnaRigaDiCTAB)
{
    const Row riga(std::vector<QVariant>{QStringLiteral("PAESE"), QStringLiteral(" IT"), QVariant()});
    EXPECT_EQ(RigaBackup(schema::CTAB(), riga), Sep + "CTAB" + Sep + "PAESE" + Sep + "IT" + Sep);
}

TEST(LeggiBackup, RigheFuoriMisuraFileVuotiERigheSaltate)
{
    // Lines no table can have are refused as they are read, before any list of items is
    // made; a file beyond any registry's backup before it is read at all.
    const QByteArray prima = "\xA6" "COPE\xA6" "01\xA6R\r\n";
    for (const QByteArray& resto : {QByteArray(LunghezzaMassimaRigaBackup + 1, 'x'), QByteArray(300, '\xA6')}) {
        LettoreBackup lettore(prima + resto + "\r\n");
        RigaBackupLetta riga;
        ASSERT_TRUE(lettore.Prossima(riga));
        EXPECT_THROW(lettore.Prossima(riga), ErroreBackup);
    }
    QTemporaryDir cartella;
    QFile grande(cartella.filePath("grande.VEKO"));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly) && grande.write(prima) > 0 && grande.resize(DimensioneMassimaBackup() + 1));
    grande.close();
    EXPECT_THROW(LettoreBackup::DaFile(grande.fileName()), ErroreBackup);

    // Empty, only a line end, missing, a folder.
    const QString vuoto = cartella.filePath("vuoto.VEKO");
    Scrivi(vuoto, "");
    EXPECT_THROW(LettoreBackup::DaFile(vuoto), ErroreBackup);
    EXPECT_THROW(LeggiFileBackup(vuoto), ErroreBackup);
    const QString soloFine = cartella.filePath("fine.VEKO");
    Scrivi(soloFine, "\r\n");
    EXPECT_THROW(LettoreBackup::DaFile(soloFine), ErroreBackup);
    EXPECT_THROW(LettoreBackup::DaFile(cartella.filePath("manca.VEKO")), ErroreBackup);
    EXPECT_THROW(LettoreBackup::DaFile(cartella.path()), ErroreBackup);

    // Declarants counted for the restore question up to the most a file holds, no further.
    LettoreBackup tre(prima + prima + "\xA6" "COPE\xA6" "02\r\n" "\xA6" "COPE\xA6" "03\r\n");
    EXPECT_EQ(ElencaSoggetti(tre, 3).numero, 3);
    EXPECT_THROW(ElencaSoggetti(tre, 2), ErroreBackup);

    const QString percorso = cartella.filePath("b.VEKO");
    // Scrambled: a line of blanks would turn into separators if unscrambled first.
    Scrivi(percorso, "\xA6KXZP\xA6\x38\x3A\xA6IK\r\n   \r\n\r\n\xA6KXZP\xA6\x38\x3B\xA6IK\n");
    const FileBackupLetto letto = LeggiFileBackup(percorso);
    EXPECT_TRUE(letto.intestazione.criptato);
    ASSERT_EQ(letto.righe.size(), 2u);
    EXPECT_EQ(letto.righe[0].numero, 1);
    EXPECT_EQ(letto.righe[0].campi, (QStringList{"", "COPE", "01", "AB"}));
    EXPECT_EQ(letto.righe[1].numero, 4);
    EXPECT_EQ(letto.righe[1].campi, (QStringList{"", "COPE", "02", "AB"}));

    // A CR LF split between two reads of the file is one line end; a file of lone CRs ends
    // complete with its last CR.
    QByteArray lunghe = prima;
    while (lunghe.size() < BloccoLetturaBackup - 2000)
        lunghe += prima.left(prima.size() - 2) + QByteArray(998, 'x') + "\r\n";
    lunghe += prima.left(prima.size() - 2) + QByteArray(BloccoLetturaBackup - lunghe.size() - 11, 'y') + "\r\n" + prima;
    ASSERT_EQ(lunghe.indexOf("y\r\n") + 2, BloccoLetturaBackup);
    for (const QByteArray& byte : {lunghe, QByteArray("\xA6" "COPE\xA6" "01\xA6R\r\xA6" "COPE\xA6" "02\xA6R\r")}) {
        LettoreBackup lettore(byte);
        RigaBackupLetta riga;
        int righe = 0;
        while (lettore.Prossima(riga))
            EXPECT_EQ(riga.numero, ++righe);
        EXPECT_EQ(righe, byte.count('\xA6') / 3);
    }
}
