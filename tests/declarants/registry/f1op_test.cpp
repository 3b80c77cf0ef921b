// The registry window on the offscreen platform, over a private copy of the seeded
// database, in what neither the procedures' own tests (registro_soggetti_test) nor the
// road through the program (percorso_utente_test) see: the frames that follow the options,
// the focus and page of a failed check, the unsaved edits kept after it, a database error
// shown without closing, the tax-code box, the lookups in the real lookup window, the
// double click on "Progressivo:" and the annulment refused past 99999.

#include "declarants/registry/F1OP.h"

#include "support/database_seminato.h"
#include "app/core/Globals.h"
#include "app/widgets/ErroreCampo.h"
#include "app/widgets/FTABR.h"
#include "platform/grid/Grid.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace quercino {
namespace {

// A tax code that codice-fiscale-js accepts (Mario Rossi, born in Rome on 1/1/1980).
const QString cfValido = "RSSMRA80A01H501U";

class F1OPTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(seminato.Aperto()) << seminato.Errore().toStdString();
        CodiceOperatore.clear();
        NomeOperatore.clear();
        OrdineRicerca.clear();
        ColoreNormale = Qt::white;
        ColoreFocus = QColor(255, 255, 192);
    }

    void Inserisci(const QString& codice, const QString& ragione, const QString& progressivo = "00001")
    {
        QVariantList riga = test::rigaCope(codice, ragione);
        riga[cope::OCF] = "0123456789" + codice.right(1);
        riga[cope::OPIVA] = "0123456789" + codice.right(1);
        riga[cope::OSINDI] = "VIA ROMA";
        riga[cope::OSNUMC] = "1";
        riga[cope::OSCOM] = "ROMA";
        riga[cope::OSPRO] = "RM";
        riga[cope::OSCAP] = "00100";
        riga[cope::OPROG] = progressivo;
        seminato.db().insert(schema::COPE(), riga);
    }

    int Righe()
    {
        return seminato.db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt();
    }
    QString Colonna(const char* colonna)
    {
        return seminato.db().scalar(QStringLiteral("SELECT %1 FROM COPE WHERE OCOD = '01'").arg(colonna), {},
                                    ColumnType::Text)->toString();
    }

    std::unique_ptr<F1OP> Apri()
    {
        auto f = std::make_unique<F1OP>();
        f->resize(900, 700);
        f->show();
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
        return f;
    }

    static void Compila(F1OP& f)
    {
        f.Campo("ORAG")->setText("gamma snc");
        f.Campo("OCF")->setText("01234567890");
        f.Campo("OPIVA")->setText("01234567890");
        f.Campo("OSINDI")->setText("via po");
        f.Campo("OSNUMC")->setText("1");
        f.Campo("OSCOM")->setText("TORINO");
        f.Campo("OSPRO")->setText("TO");
        f.Campo("OSCAP")->setText("10121");
    }

    // Answers the modal lookup window once it is open: chooses `riga` (0 = closes it).
    static void RispondiRicerca(int riga, QStringList* visti = nullptr)
    {
        QTimer::singleShot(0, [riga, visti] {
            auto* ricerca = qobject_cast<FTABR*>(QApplication::activeModalWidget());
            ASSERT_NE(ricerca, nullptr);
            if (visti) {
                for (int r = 1; r <= ricerca->igTAB().RowCount(); ++r)
                    *visti << ricerca->igTAB().CellText(r, "COD");
            }
            if (riga == 0) {
                ricerca->cmdChiudi_Click();
                return;
            }
            ricerca->igTAB().SetCurrentCell(riga, 1);
            ricerca->igTAB_DblClick();
        });
    }

    QStringList CodiciInOrdine(const QString& tipo, const QString& ordine)
    {
        QStringList codici;
        for (const Row& r : seminato.db().query(
                 "SELECT COD FROM CTAB WHERE TIPO = ? ORDER BY " + ordine + ", COD", {tipo},
                 {ColumnType::Text}))
            codici << r.text(0);
        return codici;
    }

    test::DatabaseSeminato seminato;
    test::MessaggiSimulati messaggi;
};

TEST_F(F1OPTest, CorniciCheSeguonoLeOpzioni)
{
    auto f = Apri();
    auto cornici = [&f] {
        return QList<bool>{f->CorniceSocieta().isVisible(), f->CornicePersonaFisica().isVisible(),
                           f->CorniceIdFile().isVisible(), f->EtichettaProgressivo().isVisible()};
    };
    EXPECT_EQ(cornici(), (QList<bool>{true, false, false, true}));
    f->CasellaPersonaFisica()->setChecked(true);
    EXPECT_EQ(cornici(), (QList<bool>{false, true, false, true}));
    f->OpzioneAnnullamento().setChecked(true);
    EXPECT_EQ(cornici(), (QList<bool>{false, true, true, false}));
    EXPECT_TRUE(f->OpzioneAnnullamento().font().bold());
    f->OpzioneNuoviDati().setChecked(true);
    f->CasellaPersonaFisica()->setChecked(false);
    EXPECT_EQ(cornici(), (QList<bool>{true, false, false, true}));
    f->Aggiungi();
    EXPECT_TRUE(f->Campo("OCOD")->hasFocus());
}

// The checks and their messages are the procedures' (controlli_soggetto_test); the window
// shows the message, turns to the page of the field and puts the focus on it: one field of
// each page, of the person's frame and of the annulment mode.
TEST_F(F1OPTest, MessaggioPaginaEFuocoSulCampo)
{
    struct Caso {
        const char* campo;      // the field left wrong, and the one the focus must reach
        const char* valore;
        int pagina;
        std::function<void(F1OP&)> prepara;
    };
    const Caso casi[] = {
        {"OSCAP", "", 0, {}},
        {"OCOG", "", 0, [](F1OP& f) { f.CasellaPersonaFisica()->setChecked(true); f.Campo("ONOME")->setText("M"); }},
        {"ODICCARICA", "20", 1, [](F1OP& f) { f.Campo("ODICPIVA")->setText(cfValido); }},
        {"OSOPAESE", "", 2, [](F1OP& f) { f.Campo("OSOINDI")->setText("VIA NAZIONALE"); f.Campo("OSOCAP")->setText("00184");
                                          f.Campo("OSOCOM")->setText("ROMA"); }},
        {"OPROG", "AB", 0, [](F1OP& f) { f.OpzioneAnnullamento().setChecked(true); }},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.campo);
        messaggi.mostrati.clear();
        auto f = Apri();
        Compila(*f);
        if (caso.prepara)
            caso.prepara(*f);
        f->Campo(caso.campo)->setText(caso.valore);
        QTest::mouseClick(&f->PulsanteRegistra(), Qt::LeftButton);
        ASSERT_EQ(messaggi.mostrati.size(), 1u);
        EXPECT_EQ(f->Pagine().currentIndex(), caso.pagina);
        EXPECT_EQ(QApplication::focusWidget(), f->Campo(caso.campo));
        EXPECT_EQ(Righe(), 0);
    }
}

// "Elabora foglio" after a failed check keeps the unsaved edits and imports nothing; the
// data for the files are the fields as they are; a database error is shown and the window
// goes on.
TEST_F(F1OPTest, ModificheNonRegistrateEErroreDelDatabase)
{
    Inserisci("01", "ALFA SRL", "00012");
    auto f = Apri();
    int importazioni = 0;
    F1OP::RegistraImportazione([&](F1OP&) { ++importazioni; });
    f->Campo("ORAG")->setText("  alfa nuova srl ");
    f->Campo("ODICPIVA")->setText(cfValido);
    f->Campo("ODICCARICA")->setText("1");
    f->CasellaPersonaFisicaRappresentante()->setChecked(true);
    const datifattura::DatiDichiarante d = f->DatiDichiaranteCorrente();
    EXPECT_EQ(QStringList({d.ORAG, d.OCF, d.OSPAESE, d.ODICPIVA, d.ODICCARICA}),
              (QStringList{"ALFA NUOVA SRL", "01234567891", "IT", cfValido, "1"}));
    EXPECT_EQ(d.OPROG, 12);
    EXPECT_TRUE(d.ORFPF);
    EXPECT_EQ(Colonna("ORAG"), "ALFA SRL");
    f->Campo("OSNUMC")->clear();
    QTest::mouseClick(&f->PulsanteElabora(), Qt::LeftButton);
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(importazioni, 0);
    EXPECT_EQ(f->Campo("ORAG")->text(), "ALFA NUOVA SRL");  // not reloaded from the table
    EXPECT_TRUE(f->Campo("OSNUMC")->hasFocus());
    f->Campo("OSNUMC")->setText("5");
    QTest::mouseClick(&f->PulsanteElabora(), Qt::LeftButton);
    EXPECT_EQ(importazioni, 1);
    EXPECT_EQ(Colonna("ORAG"), "ALFA NUOVA SRL");
    F1OP::RegistraImportazione({});

    seminato.db().exec("DROP TABLE COPE");
    f->Lista();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].titolo, "Application Error");
    EXPECT_TRUE(messaggi.mostrati[1].testo.contains("\r\nin Quercino.F1OP.Lista at line "));
    EXPECT_EQ(f->Campo("ORAG")->text(), "ALFA NUOVA SRL");  // the window goes on as it was
}

// A double click on "Progressivo:" starts again from 00002; an annulment raises the number
// in the window and the table, and is refused before the save dialog past 99999.
TEST_F(F1OPTest, ProgressivoEAnnullamento)
{
    Inserisci("01", "ALFA SRL", "00300");
    auto f = Apri();
    QTest::mouseDClick(&f->EtichettaProgressivo(), Qt::LeftButton);
    EXPECT_EQ(f->Campo("OPROG")->text(), "00002");
    EXPECT_EQ(Colonna("OPROG"), "00002");

    QTemporaryDir cartella;
    test::DialoghiSimulati dialoghi;
    dialoghi.salvataggi = {cartella.filePath("annullamento.xml")};
    messaggi.risposteTask = {1001, 1003, 1001};  // confirm, "OK Chiudi"; confirm
    f->OpzioneAnnullamento().setChecked(true);
    f->findChild<QLineEdit*>("IDFILE")->setText("123456");
    f->PusCREA_Click();
    ASSERT_EQ(messaggi.task.size(), 2u);
    EXPECT_EQ(messaggi.task[0].predefinito, 1002) << "Enter must not create an annulment";
    EXPECT_EQ(messaggi.task[1].testo, "comunicazione di ANNULLAMENTO del file 123456 creata");
    EXPECT_EQ(dialoghi.richieste.at(0).nomeFile, "IT01234567891_DF_00002.xml");
    EXPECT_TRUE(test::ValidoPerSchema(cartella.filePath("annullamento.xml")));
    EXPECT_EQ(f->Campo("OPROG")->text(), "00003");
    EXPECT_EQ(Colonna("OPROG"), "00003");

    seminato.db().exec("UPDATE COPE SET OPROG = '100000' WHERE OCOD = '01'");
    f->Lista();
    f->PusCREA_Click();
    EXPECT_EQ(dialoghi.richieste.size(), 1u);  // no save dialog, no file
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi.mostrati[0].testo.contains("99999"));
    EXPECT_EQ(f->Campo("OPROG")->text(), "100000");
}

TEST_F(F1OPTest, CodiceFiscaleLasciato)
{
    auto f = Apri();
    f->Campo("OCF")->setFocus();
    QTest::keyClicks(f->Campo("OCF"), "rssmra80a01h501x");
    f->Campo("OSINDI")->setFocus();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, CentraMessaggio("Codice Fiscale errato"));
    EXPECT_EQ(f->Campo("OPIVA")->text(), "");
    f->Campo("OCF")->setText(cfValido.toLower());
    f->Campo("OCF")->setFocus();
    f->Campo("OSINDI")->setFocus();
    EXPECT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(f->Campo("OPIVA")->text(), "") << "a personal tax code is no VAT number";
}

// Edits are never dropped without a word: before another row, closing the window or adding
// a declarant the user is asked (Sì / No / Annulla, Sì by default), and the answer is done.
TEST_F(F1OPTest, ModificheNonRegistrateChieste)
{
    Inserisci("01", "ALFA SRL");
    Inserisci("02", "BETA SRL");
    using Azione = std::function<void(F1OP&)>;
    const Azione riga = [](F1OP& f) {
        f.Griglia().SetCurrentCell(2);
        QCoreApplication::processEvents();   // asked once the selection is done
    };
    const Azione chiudi = [](F1OP& f) { f.close(); };
    const Azione aggiungi = [](F1OP& f) { f.Aggiungi(); };
    // The action, the answer, then ORAG of 01 in the table and in the field, the window still
    // open, and the row the grid shows as current.
    const struct { Azione azione; int risposta; const char* registrata; const char* mostrata; bool aperta; int rigaGriglia; } casi[] = {
        {riga, RispostaSi, "ALFA NUOVA SRL", "BETA SRL", true, 2},
        {riga, RispostaNo, "ALFA SRL", "BETA SRL", true, 2},
        {riga, RispostaAnnulla, "ALFA SRL", "ALFA NUOVA SRL", true, 1},
        {chiudi, RispostaSi, "ALFA NUOVA SRL", "ALFA NUOVA SRL", false, 1},
        {chiudi, RispostaNo, "ALFA SRL", "ALFA SRL", false, 1},
        {chiudi, RispostaAnnulla, "ALFA SRL", "ALFA NUOVA SRL", true, 1},
        {aggiungi, RispostaNo, "ALFA SRL", "", true, 1},
        {aggiungi, RispostaAnnulla, "ALFA SRL", "ALFA NUOVA SRL", true, 1},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(&caso - casi);
        seminato.db().exec("UPDATE COPE SET ORAG = 'ALFA SRL' WHERE OCOD = '01'");
        auto f = Apri();
        f->Campo("ORAG")->setText("alfa nuova srl");
        messaggi.mostrati.clear();
        messaggi.risposte = {caso.risposta};
        caso.azione(*f);
        ASSERT_EQ(messaggi.mostrati.size(), 1u);
        EXPECT_EQ(messaggi.mostrati[0].testo, DomandaModifiche);
        EXPECT_EQ(messaggi.mostrati[0].predefinito, RispostaSi);
        EXPECT_EQ(seminato.db().scalar("SELECT ORAG FROM COPE WHERE OCOD = ?", {"01"}, ColumnType::Text)->toString(),
                  caso.registrata);
        EXPECT_EQ(f->Campo("ORAG")->text().toUpper(), caso.mostrata);
        EXPECT_EQ(f->isVisible(), caso.aperta);
        EXPECT_EQ(f->Griglia().CurrentRow(), caso.rigaGriglia);
    }
    // Nothing edited, nothing asked.
    auto f = Apri();
    messaggi.mostrati.clear();
    riga(*f);
    f->close();
    EXPECT_TRUE(messaggi.mostrati.empty());
}

// The most characters the Agency's schema takes for a simple type: its length facet, the
// largest repeat of its pattern, or the digits of its largest value.
int MassimoDelloSchema(const QString& tipo)
{
    const auto facet = [&tipo](const char* nome) {
        return test::XPath(test::SchemaDatiFattura(),
                           QStringLiteral("string(//*[local-name()='simpleType'][@name='%1']//*[local-name()='%2']/@value)")
                               .arg(tipo, QLatin1String(nome)));
    };
    for (const char* nome : {"maxLength", "length"})
        if (const QString v = facet(nome); !v.isEmpty())
            return v.toInt();
    int massimo = 0;
    auto ripetizioni = QRegularExpression(QStringLiteral("\\{(?:\\d+,)?(\\d+)\\}")).globalMatch(facet("pattern"));
    while (ripetizioni.hasNext())
        massimo = std::max(massimo, ripetizioni.next().captured(1).toInt());
    return massimo > 0 ? massimo : static_cast<int>(facet("maxInclusive").size());
}

// Each field takes at entry no more than the schema takes where the field goes into a file,
// nor more than its column holds; a longer value already stored is shown whole, not cut.
TEST_F(F1OPTest, CampiLimitatiComeLoSchemaELaTabella)
{
    // Each schema type and the fields that fill it.
    const std::pair<const char*, const char*> tipi[] = {
        {"String80LatinType", "ORAG ORFRAG"}, {"String18Type", "OUCDTE OUCDTR"}, {"CaricaType", "ODICCARICA"},
        {"String60LatinType", "ONOME OCOG OSINDI OSCOM ORFNOME ORFCOG OSOINDI OSOCOM"},
        {"CodiceIvaType", "OPIVA ORFPIVA"}, {"CodiceFiscaleType", "OCF ODICPIVA"}, {"CAPType", "OSCAP OSOCAP"},
        {"NumeroCivicoType", "OSNUMC OSONUMC"}, {"ProvinciaType", "OSPRO OSOPRO"}, {"NazioneType", "OSPAESE OSOPAESE"},
    };
    auto f = Apri();
    for (const auto& [tipo, colonne] : tipi) {
        const int schema = MassimoDelloSchema(tipo);
        ASSERT_GT(schema, 0) << tipo;
        for (const QString& colonna : QString(colonne).split(' ')) {
            const int tabella = schema::COPE().columns[static_cast<std::size_t>(schema::COPE().index(colonna))].width;
            f->Campo(colonna)->clear();
            f->Campo(colonna)->insert(QString(300, QLatin1Char('1')));
            EXPECT_EQ(f->Campo(colonna)->text().size(), std::min(schema, tabella)) << colonna.toStdString();
        }
    }
    EXPECT_EQ(f->findChild<QLineEdit*>("IDFILE")->maxLength(), MassimoDelloSchema("String18Type"));

    Inserisci("01", QString(296, QLatin1Char('A')));
    f->Lista();
    EXPECT_EQ(f->Campo("ORAG")->text().size(), 296);
}

// Nations listed by description until a role is looked up, then by code for the rest of
// the run; the choice fills code and description; closing chooses nothing.
TEST_F(F1OPTest, RicercheDiCaricaEPaese)
{
    auto f = Apri();
    const QStringList paesiPerDescrizione = CodiciInOrdine("PAESE", "DES");
    const QStringList paesiPerCodice = CodiciInOrdine("PAESE", "COD");
    ASSERT_GT(paesiPerDescrizione.size(), 100);
    QStringList visti;
    RispondiRicerca(2, &visti);
    f->vOSPAESE_DblClick();
    EXPECT_EQ(visti, paesiPerDescrizione);
    EXPECT_EQ(f->Campo("OSPAESE")->text(), paesiPerDescrizione.at(1));
    EXPECT_FALSE(f->Campo("OSPAESED")->text().isEmpty());
    RispondiRicerca(1);
    f->vODICCARICA_DblClick();
    EXPECT_EQ(f->Campo("ODICCARICA")->text(), CodiciInOrdine("CARICA", "COD").value(0));
    EXPECT_FALSE(f->Campo("ODICCARICAD")->text().isEmpty());
    visti.clear();
    RispondiRicerca(1, &visti);
    f->vOSOPAESE_DblClick();
    EXPECT_EQ(visti, paesiPerCodice);
    RispondiRicerca(0);
    f->vOSOPAESE_DblClick();
    EXPECT_EQ(f->Campo("OSOPAESE")->text(), paesiPerCodice.at(0));
}

} // namespace
} // namespace quercino
