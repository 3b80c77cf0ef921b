// The backup line and its values, the names of the backup files and of the safety copy,
// the reading of lines whatever their ends, the first-line test and the conversion of
// a line's items back into a row.

#include "app/backup/FormatoBackup.h"
#include "app/backup/LeggiBackup.h"
#include "app/backup/NomiBackup.h"
#include "app/backup/RipristinaCTAB.h"
#include "app/backup/ValoriRipristino.h"
#include "app/core/Date.h"
#include "app/core/Schema.h"
#include "support/golden.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace quercino;

namespace {

const QString Sep = QString(QChar(0x00A6));

// A plain line made of the given fields, "¦" before each.
QString Linea(const QStringList& campi)
{
    QString linea;
    for (const QString& campo : campi)
        linea += Sep + campo;
    return linea;
}

void Scrivi(const QString& percorso, const QByteArray& byte)
{
    ASSERT_TRUE(test::ScriviFile(percorso, byte));
}

} // namespace

// Texts lose their outer blanks only; separators and line ends inside become blanks.
TEST(ValoreBackup, FormeDeiTipi)
{
    const std::tuple<QVariant, ColumnType, QString> casi[] = {
        {QStringLiteral("  ROSSI  MARIO  "), ColumnType::Text, "ROSSI  MARIO"},
        {QVariant(), ColumnType::Text, ""},
        {QVariant(QMetaType::fromType<QString>()), ColumnType::Text, ""},
        {QStringLiteral("A") + Sep + QStringLiteral("B\r\nC\rD\nE"), ColumnType::Text, "A B  C D E"},
        {QStringLiteral("\r\nROSSI") + Sep, ColumnType::Text, "ROSSI"},
        {1, ColumnType::SmallInt, "1"},
        {-32768, ColumnType::SmallInt, "-32768"},
        {QVariant(QMetaType::fromType<int>()), ColumnType::Integer, ""},
        {QDate(2021, 1, 5), ColumnType::Date, "05/01/2021"},
    };
    for (const auto& [valore, tipo, atteso] : casi)
        EXPECT_EQ(ValoreBackup(valore, tipo), atteso) << valore.toString().toStdString();
    EXPECT_EQ(SenzaSeparatori(QStringLiteral("\t") + Sep), "\t ");
}

TEST(RigaBackup, UnaRigaDiCTAB)
{
    const Row riga(std::vector<QVariant>{QStringLiteral("PAESE"), QStringLiteral(" IT"), QVariant()});
    EXPECT_EQ(RigaBackup(schema::CTAB(), riga), Sep + "CTAB" + Sep + "PAESE" + Sep + "IT" + Sep);
}

TEST(NomiBackup, NomiDeiFile)
{
    EXPECT_EQ(DataSalvataggioDi(QDate(2026, 3, 7)), "20260307");
    EXPECT_EQ(NomeBackupSingolo(QStringLiteral(" 12 "), QStringLiteral("D'Angelo & Figli S.r.l. - Società benefit"),
                                QStringLiteral("20260307")),
              "SAVEVEKO_12_DANGELOFIGLISRLSOCIE_20260307.VEKO");
    EXPECT_EQ(NomeBackupSingolo(QStringLiteral("7"), QString(), QStringLiteral("20260307")),
              "SAVEVEKO_7__20260307.VEKO");
    EXPECT_EQ(NomeBackupTutti(QStringLiteral("20260307")), "SAVEVEKO_TUTTI_20260307.VEKO");
    // The code never leads out of the folder.
    EXPECT_EQ(CodiceInNomeFile(QStringLiteral("../../etc/x")), ".._.._etc_x");
    EXPECT_EQ(CodiceInNomeFile(QStringLiteral("..")), "__");
    EXPECT_EQ(CodiceInNomeFile(QStringLiteral("A\\B:C*D?E\"F<G>H|I")), "A_B_C_D_E_F_G_H_I");
    EXPECT_EQ(CodiceInNomeFile(QStringLiteral("01")), "01");
}

TEST(LeggiBackup, RigheEFileFuoriMisura)
{
    // Lines no table can have are refused as they are read, before any list of items is
    // made; a file beyond any registry's backup before it is read at all.
    const QByteArray prima = "\xA6" "COPE\xA6" "01\xA6R\r\n";
    for (const QByteArray& resto : {QByteArray(LunghezzaMassimaRigaBackup + 1, 'x'), QByteArray(300, '\xA6')}) {
        LettoreBackup lettore(prima + resto);
        RigaBackupLetta riga;
        ASSERT_TRUE(lettore.Prossima(riga));
        EXPECT_THROW(lettore.Prossima(riga), ErroreBackup);
    }
    QTemporaryDir cartella;
    QFile grande(cartella.filePath("grande.VEKO"));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly) && grande.write(prima) > 0 && grande.resize(DimensioneMassimaBackup + 1));
    grande.close();
    EXPECT_THROW(ControllaFileBackup(grande.fileName()), ErroreBackup);
    EXPECT_THROW(LettoreBackup::DaFile(grande.fileName()), ErroreBackup);
}

TEST(LeggiBackup, PrimaRiga)
{
    const IntestazioneBackup chiara = ControllaPrimaRiga(Linea({"COPE", " 01 ", "ROSSI SPA", "X"}));
    EXPECT_FALSE(chiara.criptato);
    EXPECT_EQ(chiara.codice, "01");
    EXPECT_EQ(chiara.nome, "ROSSI SPA");

    // "COPE" shifted by 8, 9, 10, 11 (key 7 plus position); "01" by 8 and 9; "AB" too.
    const QString criptata = Sep + "KXZP" + Sep + "8:" + Sep + "IK";
    const IntestazioneBackup cifrata = ControllaPrimaRiga(criptata);
    EXPECT_TRUE(cifrata.criptato);
    EXPECT_EQ(cifrata.codice, "01");
    EXPECT_EQ(cifrata.nome, "AB");

    // Another separator than "¦" is accepted, as the first character says.
    EXPECT_EQ(ControllaPrimaRiga(";COPE;5;X").codice, "5");

    // A natural person (OPF, the 14th value, is 1) shows surname and first name; a
    // company without a name shows nothing more.
    QStringList persona{"COPE", "12", "", "NICOLÒ", "D'ANGELO"};
    while (persona.size() < 14)
        persona << "";
    persona << "1";
    EXPECT_EQ(ControllaPrimaRiga(Linea(persona)).nome, "D'ANGELO NICOLÒ");
    persona[14] = "0";
    EXPECT_EQ(ControllaPrimaRiga(Linea(persona)).nome, "");
}

TEST(LeggiBackup, PrimeRigheRifiutate)
{
    const QStringList rifiutate{
        "",
        Sep + "COP",
        Sep + "COPE",                                 // no field at all
        Sep + "COPE" + Sep + "01",                    // a code but no name
        Sep + "COPE" + Sep + "   " + Sep + "ROSSI",   // a blank code
        Linea({"COPEX", "01", "ROSSI"}),              // another table that starts alike
        Linea({"CTAB", "PAESE", "IT", "ITALIA"}),
        Linea({"T_COMUNI", "ROMA", "RM"}),
        "COPE01ROSSI",
    };
    for (const QString& riga : rifiutate) {
        try {
            ControllaPrimaRiga(riga);
            ADD_FAILURE() << "accettata: " << riga.toStdString();
        } catch (const ErroreBackup& errore) {
            EXPECT_EQ(errore.messaggio(),
                      "Il file indicato non è un file di backUp di VEKO. Operazione annullata");
        }
    }
}

TEST(LeggiBackup, FileVuotoOMancante)
{
    QTemporaryDir cartella;
    const QString vuoto = cartella.filePath("vuoto.VEKO");
    Scrivi(vuoto, "");
    EXPECT_THROW(ControllaFileBackup(vuoto), ErroreBackup);
    EXPECT_THROW(LeggiFileBackup(vuoto), ErroreBackup);
    const QString soloFine = cartella.filePath("fine.VEKO");
    Scrivi(soloFine, "\r\n");
    EXPECT_THROW(ControllaFileBackup(soloFine), ErroreBackup);
    EXPECT_THROW(ControllaFileBackup(cartella.filePath("manca.VEKO")), ErroreBackup);
    // A folder is not a file.
    EXPECT_THROW(ControllaFileBackup(cartella.path()), ErroreBackup);
}

TEST(LeggiBackup, RigheVuoteEdiSpaziSaltate)
{
    QTemporaryDir cartella;
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
}

TEST(ValoriRipristino, ValoriPerTipoEErroriDiCampo)
{
    const Table tabella{QStringLiteral("PROVA"),
                        {{"OCOD", ColumnType::Text, 4}, {"N", ColumnType::SmallInt, 0}, {"I", ColumnType::Integer, 0},
                         {"D", ColumnType::Date, 0}, {"T", ColumnType::Text, 10}},
                        {}};
    // Values by type; a blank text field keeps its blanks, as the file has them; empty
    // fields and a short line give empty text, 0 and the zero date, never null; the zero
    // date is null in client/server mode only.
    const QVariant zero = DataZero();
    struct Caso {
        QStringList campi;
        const char* modo;
        QVariantList valori;
    };
    const Caso casi[] = {
        {{"", "PROVA", " 01 ", " 1 ", "-70000", "05/01/2021", "  "}, "M",
         {"01", 1, -70000, QDate(2021, 1, 5), "  "}},
        {{"", "PROVA", "01", ""}, "S", {"01", 0, 0, zero, ""}},
        {{"", "PROVA", "01", "0", "0", "00/00/0000"}, "S", {"01", 0, 0, QVariant(), ""}},
        {{"", "PROVA", "01", "0", "0", "00/00/0000"}, "M", {"01", 0, 0, zero, ""}},
    };
    for (const Caso& caso : casi) {
        const RigaRipristino riga = ConvertiRiga(tabella, caso.campi, caso.modo);
        EXPECT_TRUE(riga.errori.empty());
        ASSERT_EQ(riga.valori.size(), 5);
        for (int i = 0; i < 5; ++i) {
            if (caso.valori[i].isValid())
                EXPECT_EQ(riga.valori[i], caso.valori[i]) << caso.campi.join('|').toStdString() << " " << i;
            else
                EXPECT_TRUE(riga.valori[i].isNull()) << i;
            if (i == 0 || i == 4)
                EXPECT_FALSE(riga.valori[i].toString().isNull());   // the drivers would store NULL
        }
    }

    // Refused columns take their empty value; the row is still whole. 32768 does not fit a
    // 16-bit column.
    const RigaRipristino riga =
        ConvertiRiga(tabella, {"", "PROVA", "ABCDE", "32768", "VERO", "31/02/2021", "12345678901", "OLTRE"}, "M");
    QList<int> indici;
    for (const auto& errore : riga.errori)
        indici << errore.indice;
    EXPECT_EQ(indici, (QList<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(riga.valori, (QVariantList{QString(), 0, 0, zero, QString()}));
    EXPECT_EQ(MessaggioErroreCampo("COPE", riga.errori[5]),
              "Errore: COPE registrazione: indice 7 valore OLTRE Errore: Elemento oltre l'ultima colonna della tabella");
    EXPECT_EQ(MessaggioErroreCampo("CTANA", riga.errori[1]).left(40), "Errore: CTANA anagrafica: indice 3 valor");
}

TEST(RipristinaCTAB, DescrizioniITT)
{
    // "/" at position 16: characters 1-11 padded to 16, 5 blanks, character 13, 14-23;
    // at position 15: character 12, 13-22; short tails padded to ten; otherwise unchanged.
    const std::pair<QString, QString> casi[] = {
        {"ABCDEFGHIJKLMNO/QRSTUVWX", "ABCDEFGHIJK" + QString(10, ' ') + "MNO/QRSTUVW"},
        {"ABCDEFGHIJKLMN/OPQRSTUVWXYZ", "ABCDEFGHIJK" + QString(10, ' ') + "LMN/OPQRSTU"},
        {"ABCDEFGHIJKLMN/", "ABCDEFGHIJK" + QString(10, ' ') + "LMN/       "},
        {"ALIQUOTA 22%", "ALIQUOTA 22%"},
        {"", ""},
    };
    for (const auto& [dentro, fuori] : casi)
        EXPECT_EQ(RiformaDescrizioneITT(dentro), fuori) << dentro.toStdString();
}
