// Declarants stored in COPE on the three database back-ends (what the window does with
// them runs in scenari_test): a record with every column set written, checked column by
// column in the table's own row and read back, updated in place, a second row under
// another code, deletion, quotes in codes and names, nulls, the list order, the
// progressive's row, a stored progressive never lowered by a save and a new record never
// put in the place of a stored one. Then the access to a record's columns by name.

#include "declarants/registry/ArchivioSoggetti.h"
#include "declarants/registry/ColonneCOPE.h"
#include "declarants/registry/Progressivo.h"

#include "support/db_backends.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace quercino {
namespace {

class ArchivioSoggettiTest : public test::DbBackendTest {};

// Every column, in the order of the program's list, a value of its own (its name and
// position, as much as the table's column holds), the check boxes alternately ticked (a
// natural person); the description as stored.
DatiSoggetto Completo(const QString& codice)
{
    DatiSoggetto d;
    EXPECT_EQ(ColonneCOPE().size(), schema::COPE().columns.size());
    for (qsizetype i = 0; i < ColonneCOPE().size(); ++i) {
        const QString& colonna = ColonneCOPE()[i];
        const int larghezza = schema::COPE().columns.at(static_cast<std::size_t>(i)).width;
        const QString valore = (colonna + QString::number(10 + i)).right(larghezza ? larghezza : 60);
        EXPECT_TRUE(ImpostaColonna(d, colonna, ColonnaCasella(colonna) ? QVariant(int(i % 2)) : QVariant(valore)));
    }
    d.OCOD = codice;
    d.ODES = d.DescrizioneGriglia();
    return d;
}

int Righe(Database& db)
{
    return db.scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt();
}

TEST_P(ArchivioSoggettiTest, ScrittoRilettoRiscrittoEliminato)
{
    const DatiSoggetto d = Completo("01");
    EXPECT_EQ(QStringList({d.OSNUMC, d.ORFCOG, d.OPROG}), (QStringList{"OSNUMC17", "ORFCOG31", "OPROG42"}));
    ScriviSoggetto(db(), d);
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    for (std::size_t i = 0; i < schema::COPE().columns.size(); ++i) {
        const QString& colonna = ColonneCOPE().value(static_cast<qsizetype>(i));
        EXPECT_EQ(colonna, schema::COPE().columns[i].name);
        EXPECT_EQ(ColonnaCasella(colonna) ? QVariant(righe[0].integer(i)) : QVariant(righe[0].text(i)), ValoreColonna(d, colonna))
            << colonna.toStdString();
    }
    EXPECT_EQ(LeggiSoggetto(db(), "01"), d);
    EXPECT_FALSE(LeggiSoggetto(db(), "02").has_value());

    // Written again: the same row; a natural person's description is surname and name.
    DatiSoggetto persona = d;
    persona.OCOG = "ROSSI";
    persona.ONOME = "MARIO";
    persona.ORFPF = !persona.ORFPF;
    ScriviSoggetto(db(), persona);
    EXPECT_EQ(Righe(db()), 1);
    persona.ODES = "ROSSI MARIO";
    EXPECT_EQ(LeggiSoggetto(db(), "01"), persona);
    // Quotes in codes and names; a second row under another code, the first untouched.
    DatiSoggetto apici = Completo("D'A");
    apici.ORAG = "L'ARTE DELL'OLIO";
    ScriviSoggetto(db(), apici);
    EXPECT_EQ(Righe(db()), 2);
    EXPECT_EQ(LeggiSoggetto(db(), "D'A")->ORAG, "L'ARTE DELL'OLIO");
    EXPECT_EQ(LeggiSoggetto(db(), "01")->ODES, "ROSSI MARIO");
    EXPECT_TRUE(ScriviProgressivo(db(), "D'A", "00009"));
    EXPECT_EQ(LeggiSoggetto(db(), "D'A")->OPROG, "00009");
    EXPECT_FALSE(ScriviProgressivo(db(), "02", "00002")) << "no row, nothing written";
    EliminaSoggetto(db(), "D'A");
    EliminaSoggetto(db(), "99");
    EXPECT_FALSE(LeggiSoggetto(db(), "D'A").has_value());
    EXPECT_EQ(Righe(db()), 1);
}

TEST_P(ArchivioSoggettiTest, NulliEOrdineDellElenco)
{
    QVariantList riga = test::rigaCope("02", "ZETA SRL");
    riga[cope::OUCDTE] = QVariant();
    riga[cope::OPROG] = QVariant();
    db().insert(schema::COPE(), riga);
    const auto letto = LeggiSoggetto(db(), "02");
    ASSERT_TRUE(letto.has_value());
    EXPECT_EQ(QStringList({letto->OUCDTE, letto->OPROG}), QStringList({"", ""}));
    EXPECT_FALSE(letto->OPF);

    DatiSoggetto alfa = Completo("03");
    alfa.ORAG = "ALFA SRL";
    ScriviSoggetto(db(), alfa);
    DatiSoggetto persona = Completo("01");
    persona.ORAG = "";
    ScriviSoggetto(db(), persona);
    QStringList elenco;
    for (const RigaElenco& r : ElencoSoggetti(db()))
        elenco << r.OCOD + " " + r.OCF;
    EXPECT_EQ(elenco, (QStringList{"01 OCF15", "03 OCF15", "02 "})) << "empty company name first";
}

// The stored progressive against the record's: a save keeps the larger as numbers (a text
// that is not a number gives way), or the stored one untouched; a new record never takes an
// existing declarant's place.
TEST_P(ArchivioSoggettiTest, ProgressivoMaiAbbassatoECodiceOccupato)
{
    const struct {
        const char* registrato;
        const char* scritto;
        bool conProgressivo;
        const char* atteso;
    } casi[] = {
        {"00009", "00005", true, "00009"}, {"00009", "00012", true, "00012"}, {"99999", "100000", true, "100000"},
        {"100000", "99999", true, "100000"}, {"", "00004", true, "00004"}, {"AB", "00004", true, "00004"},
        {"00009", "00012", false, "00009"}, {"00009", "00005", false, "00009"},
    };
    for (const auto& caso : casi) {
        DatiSoggetto d = Completo("01");
        d.OPROG = caso.registrato;
        ScriviSoggetto(db(), d);
        ASSERT_EQ(LeggiSoggetto(db(), "01")->OPROG, caso.registrato);
        d.OPROG = caso.scritto;
        d.ORAG = "NUOVO NOME";
        EXPECT_EQ(ScriviSoggetto(db(), d, caso.conProgressivo), caso.atteso) << caso.registrato << " " << caso.scritto;
        EXPECT_EQ(LeggiSoggetto(db(), "01")->OPROG, caso.atteso) << caso.registrato << " " << caso.scritto;
        EXPECT_EQ(LeggiSoggetto(db(), "01")->ORAG, "NUOVO NOME");
        EliminaSoggetto(db(), "01");
    }

    DatiSoggetto primo = Completo("01");
    primo.ORAG = "PRIMO SRL";
    EXPECT_FALSE(InserisciSoggetto(db(), primo).has_value());
    DatiSoggetto secondo = Completo("01");
    secondo.ORAG = "SECONDO SRL";
    const auto presente = InserisciSoggetto(db(), secondo);
    ASSERT_TRUE(presente.has_value());
    EXPECT_EQ(presente->ORAG, "PRIMO SRL");
    EXPECT_EQ(LeggiSoggetto(db(), "01")->ORAG, "PRIMO SRL");
    EXPECT_EQ(Righe(db()), 1);
}

// Another copy of the program replaces the declarant's row as a restore does (deleted and
// inserted again, its progressive raised, in one transaction that commits a moment later)
// while a file takes its number: the number comes from the row restored, never "no such
// declarant".
TEST_P(ArchivioSoggettiTest, ProgressivoDiUnSoggettoRipristinatoNelFrattempo)
{
    DatiSoggetto d = Completo("01");
    d.OPROG = "00007";
    ScriviSoggetto(db(), d);
    std::promise<void> sostituito;
    std::thread altraCopia([&] {
        auto altra = backend().apriAltraConnessione();
        altra->begin();
        altra->scalar("SELECT OPROG FROM COPE WHERE OCOD = '01'" + altra->forUpdate(), {}, ColumnType::Text);
        altra->exec("DELETE FROM COPE WHERE OCOD = '01'");
        DatiSoggetto ripristinato = d;
        ripristinato.OPROG = "00009";
        altra->insert(schema::COPE(), [&] {
            QVariantList valori;
            for (const Column& colonna : schema::COPE().columns)
                valori << ValoreColonna(ripristinato, colonna.name);
            return valori;
        }());
        sostituito.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(Database::LockAttempt / 2));
        altra->commit();
    });
    sostituito.get_future().wait();
    const auto letto = CambiaProgressivo(db(), "01", [](const QString& valore) {
        return std::optional(FormattaProgressivo(*LeggiProgressivo(valore) + 1));
    });
    altraCopia.join();
    EXPECT_EQ(letto, std::optional<QString>("00009"));
    EXPECT_EQ(LeggiSoggetto(db(), "01")->OPROG, "00010");
}

QUERCINO_DB_BACKENDS(ArchivioSoggettiTest);

TEST(ColonneCOPE, NulliECaselle)
{
    DatiSoggetto d;
    d.OPROG = "00003";
    EXPECT_TRUE(ImpostaColonna(d, "oprog", QVariant()));
    EXPECT_EQ(d.OPROG, "");
    for (const auto& [valore, spuntata] : {std::pair{QVariant(-1), true}, {QVariant("0"), false}, {QVariant(true), true},
                                          {QVariant(), false}}) {
        EXPECT_TRUE(ImpostaColonna(d, "OPF", valore));
        EXPECT_EQ(d.OPF, spuntata) << valore.toString().toStdString();
    }
    EXPECT_FALSE(ImpostaColonna(d, "NESSUNA", QVariant("x")));
    EXPECT_FALSE(ValoreColonna(d, "NESSUNA").isValid());
    EXPECT_EQ(CampiTesto().size(), 31);
    d.ORAG = " ALFA SRL ";
    EXPECT_EQ(QStringList({d.DescrizioneGriglia(), d.NomeVisualizzato()}), QStringList({" ALFA SRL ", "ALFA SRL"}));
}

} // namespace
} // namespace quercino
