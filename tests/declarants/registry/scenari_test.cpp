// The registry in scenario files (scenari/*.txt: steps and what each printed, see
// support/scenario.h), over a private copy of the seeded database: the window on the
// offscreen platform and inside the main window, the entry checks of a declarant, the
// progressive's texts and the town completion. The expected values were checked by hand
// once; where an outside oracle exists the step says so itself: the town completed and the
// lookup's order agree with SQL on the same tables, the field limits with the Agency's schema.

#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/registry/CompletamentoComune.h"
#include "declarants/registry/ColonneCOPE.h"
#include "declarants/registry/F1OP.h"

#include "app/core/Comuni.h"
#include "app/core/Globals.h"
#include "app/programma/CollegaFinestre.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "app/widgets/FTABR.h"
#include "platform/grid/Grid.h"
#include "support/database_seminato.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/pulsanti_in_vista.h"
#include "support/servizi_in_scenario.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quercino {
namespace {

using test::Parole;

// A text argument: "(vuoto)" is the empty text, double quotes keep blanks around.
QString Testo(const QString& argomento)
{
    if (argomento == "(vuoto)")
        return {};
    return argomento.size() >= 2 && argomento.startsWith('"') && argomento.endsWith('"') ? argomento.mid(1, argomento.size() - 2)
                                                                                        : argomento;
}

// COL=value pairs separated by ';' (a value in double quotes keeps its blanks).
std::vector<std::pair<QString, QString>> Coppie(const QString& testo)
{
    std::vector<std::pair<QString, QString>> coppie;
    for (const QString& parte : testo.split(';', Qt::SkipEmptyParts)) {
        coppie.emplace_back(parte.section('=', 0, 0).trimmed(), Testo(parte.section('=', 1).trimmed()));
    }
    return coppie;
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

class ScenariRegistro : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(seminato.Aperto()) << seminato.Errore().toStdString();
        CodiceOperatore.clear();
        NomeOperatore.clear();
        OrdineRicerca.clear();
        FormAttivo.clear();
        ColoreNormale = Qt::white;
        ColoreFocus = QColor(255, 255, 192);
        // The import window, as if it wrote one file: it takes a progressive.
        F1OP::RegistraImportazione([this](F1OP& finestra) {
            s.Stampa("(importazione: un file scritto) " + Progressivo(finestra));
        });
        s.dopoOgniPasso = [this] {
            if (std::exchange(terminazioni, 0))
                s.Stampa("(fine del programma)");
        };
        s.sostituzioni.emplace_back(QRegularExpression("at line \\d+"), "at line N");
        VerbiDellaFinestra();
        VerbiDeiDati();
    }

    // A progressive taken as a file would take it: the error's text, empty when taken.
    static QString Progressivo(F1OP& finestra)
    {
        try {
            finestra.PrendiProgressivo();
            return {};
        } catch (const datifattura::ErroreDatiFattura& e) {
            return e.Messaggio();
        }
    }

    void TearDown() override
    {
        F1OP::RegistraImportazione({});
        finestra.reset();
        f0.reset();
    }

    QLineEdit& Campo(const QString& colonna)
    {
        QLineEdit* campo = f->Campo(colonna);
        if (!campo)
            throw std::runtime_error("campo sconosciuto: " + colonna.toStdString());
        return *campo;
    }

    // The codes of a code table in the given order, by SQL.
    QStringList CodiciInOrdine(const QString& tipo, const QString& ordine)
    {
        QStringList codici;
        for (const Row& r : seminato.db().query("SELECT COD FROM CTAB WHERE TIPO = ? ORDER BY " + ordine + ", COD", {tipo},
                                                {ColumnType::Text}))
            codici << r.text(0);
        return codici;
    }

    // A double click on a lookup field, the lookup window answered by choosing `riga`
    // (0 closes it); what the field got and the order the window listed the codes in.
    void Ricerca(const QString& colonna, int riga)
    {
        QStringList visti;
        QTimer::singleShot(0, [riga, &visti] {
            auto* ricerca = qobject_cast<FTABR*>(QApplication::activeModalWidget());
            ASSERT_NE(ricerca, nullptr);
            for (int r = 1; r <= ricerca->igTAB().RowCount(); ++r)
                visti << ricerca->igTAB().CellText(r, "COD");
            if (riga == 0)
                return ricerca->cmdChiudi_Click();
            ricerca->igTAB().SetCurrentCell(riga, 1);
            ricerca->igTAB_DblClick();
        });
        const QString tipo = colonna == "ODICCARICA" ? "CARICA" : "PAESE";
        colonna == "ODICCARICA" ? f->vODICCARICA_DblClick() : colonna == "OSPAESE" ? f->vOSPAESE_DblClick() : f->vOSOPAESE_DblClick();
        const QString ordine = visti == CodiciInOrdine(tipo, "DES") ? "per descrizione"
                               : visti == CodiciInOrdine(tipo, "COD") ? "per codice" : "in un altro ordine";
        s.Stampa(QStringLiteral("%1=%2 %3 (%4 codici %5)").arg(colonna, Campo(colonna).text(), Campo(colonna + "D").text())
                     .arg(visti.size()).arg(ordine));
    }

    // Each field takes at entry no more than the schema takes where the field goes into a
    // file, nor more than its column holds.
    void Limiti()
    {
        const std::pair<const char*, const char*> tipi[] = {
            {"String80LatinType", "ORAG ORFRAG"}, {"String18Type", "OUCDTE OUCDTR"}, {"CaricaType", "ODICCARICA"},
            {"String60LatinType", "ONOME OCOG OSINDI OSCOM ORFNOME ORFCOG OSOINDI OSOCOM"},
            {"CodiceIvaType", "OPIVA ORFPIVA"}, {"CodiceFiscaleType", "OCF ODICPIVA"}, {"CAPType", "OSCAP OSOCAP"},
            {"NumeroCivicoType", "OSNUMC OSONUMC"}, {"ProvinciaType", "OSPRO OSOPRO"}, {"NazioneType", "OSPAESE OSOPAESE"},
        };
        for (const auto& [tipo, colonne] : tipi) {
            const int schema = MassimoDelloSchema(tipo);
            QString riga = QStringLiteral("%1 %2:").arg(tipo).arg(schema);
            for (const QString& colonna : QString(colonne).split(' ')) {
                const int tabella = schema::COPE().columns[static_cast<std::size_t>(schema::COPE().index(colonna))].width;
                Campo(colonna).clear();
                Campo(colonna).insert(QString(300, QLatin1Char('1')));
                EXPECT_EQ(Campo(colonna).text().size(), std::min(schema, tabella)) << colonna.toStdString();
                riga += QStringLiteral(" %1 %2").arg(colonna).arg(Campo(colonna).text().size());
            }
            s.Stampa(riga);
        }
        const int idFile = f->findChild<QLineEdit*>("IDFILE")->maxLength();
        EXPECT_EQ(idFile, MassimoDelloSchema("String18Type"));
        s.Stampa(QStringLiteral("IDFILE %1").arg(idFile));
    }

    void Apri()
    {
        finestra.reset();
        finestra = std::make_unique<F1OP>();
        f = finestra.get();
        f->resize(900, 700);
        f->show();
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f));
    }

    // The main window with the registry opened by "ENTRA", as the only child window; sized
    // for a screen of `schermo` pixels with a 40-pixel task bar when one is given.
    void Entra(QSize schermo = {})
    {
        CollegaFinestre();
        f0 = std::make_unique<F0>();
        f0->ImpostaTermine([this] { ++terminazioni; });
        f0->show();
        f0->MDIForm_Load();
        if (schermo.isValid())
            f0->DimensionaFinestra(schermo, schermo - QSize(0, 40));
        QTest::mouseClick(f0->Benvenuto()->Command1(), Qt::LeftButton);
        QCoreApplication::processEvents();
        f = IstanzaF1OP();
        ASSERT_NE(f, nullptr);
        if (!schermo.isValid())
            s.Stampa(QStringLiteral("%1 finestra, il registro: %2")
                         .arg(f0->AreaFinestre()->subWindowList().size())
                         .arg(f0->Anagrafica()->Finestra() == f ? "si" : "no"));
    }

    // At the main window's default size on a screen less a 40-pixel task bar ("1366x768"),
    // in the test's font or at the points given ("1366x768 10"): every button of the
    // registry, on each page and in both modes, in sight in the main window's area.
    void Schermo(const QStringList& p)
    {
        const QFont prima = QApplication::font();
        QFont carattere = prima;
        carattere.setPointSize(p.value(1, QString::number(prima.pointSize())).toInt());
        QApplication::setFont(carattere);
        Entra(QSize(p[0].section('x', 0, 0).toInt(), p[0].section('x', 1).toInt()));
        QWidget& area = *f0->AreaFinestre()->viewport();
        QStringList fuori;
        for (int pagina : {0, 1, 2})
            for (QRadioButton* modo : {&f->OpzioneAnnullamento(), &f->OpzioneNuoviDati()}) {
                f->Pagine().setCurrentIndex(pagina);
                modo->setChecked(true);
                QCoreApplication::processEvents();
                fuori << test::PulsantiFuoriVista(*f, area, area.rect());
            }
        fuori.removeDuplicates();
        const int scorre = f0->AreaFinestre()->verticalScrollBar()->maximum() + f0->AreaFinestre()->horizontalScrollBar()->maximum();
        s.Stampa(QStringLiteral("principale %1x%2, scorre %3, pulsanti fuori vista: %4").arg(f0->width()).arg(f0->height())
                     .arg(scorre > 0 ? "si" : "no", fuori.isEmpty() ? "nessuno" : fuori.join(' ')));
        QApplication::setFont(prima);
    }

    // The width in which a text box draws its text: the style's contents of its frame, less
    // the text margins and the two pixels a line edit keeps on each side.
    static int LarghezzaTesto(const QLineEdit& casella)
    {
        QStyleOptionFrame opzione;
        opzione.initFrom(&casella);
        opzione.rect = casella.contentsRect();
        opzione.lineWidth = casella.hasFrame() ? casella.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opzione, &casella) : 0;
        opzione.midLineWidth = 0;
        opzione.state |= QStyle::State_Sunken;
        const QRect contenuto = casella.style()->subElementRect(QStyle::SE_LineEditContents, &opzione, &casella);
        return contenuto.marginsRemoved(casella.textMargins()).width() - 2 * 2;
    }

    // After "schermo": for each box that takes an 18-character identifier, how many of the
    // widest character it may hold (an upper-case letter or a digit) it shows, on the page
    // and in the mode where it is seen.
    void Identificativi()
    {
        f->Pagine().setCurrentIndex(0);
        f->OpzioneAnnullamento().setChecked(true);
        QCoreApplication::processEvents();
        QStringList righe;
        for (QLineEdit* casella : {f->findChild<QLineEdit*>("IDFILE"), &Campo("OUCDTE"), &Campo("OUCDTR")}) {
            const QFontMetrics misure = casella->fontMetrics();
            QChar largo = QLatin1Char('0');
            for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"))
                if (misure.horizontalAdvance(c) > misure.horizontalAdvance(largo))
                    largo = c;
            const int spazio = LarghezzaTesto(*casella);
            int visti = 0;
            while (visti < casella->maxLength() && misure.horizontalAdvance(QString(visti + 1, largo)) <= spazio)
                ++visti;
            righe << QStringLiteral("%1 %2 di %3 %4").arg(casella->objectName()).arg(visti).arg(casella->maxLength()).arg(largo);
        }
        f->OpzioneNuoviDati().setChecked(true);
        s.Stampa(righe.join(", "));
    }

    void VerbiDellaFinestra()
    {
        const auto pulsante = [this](const QString& nome) -> QWidget* {
            return nome == "registra" ? &f->PulsanteRegistra() : nome == "elabora" ? &f->PulsanteElabora()
                                                               : f->findChild<QPushButton*>("bannulla");
        };
        s.verbi.insert({
            {"apri", [this](const QString&) { Apri(); }},
            {"entra", [this](const QString&) { Entra(); }},
            {"schermo", [this](const QString& a) { Schermo(Parole(a)); }},
            {"identificativi", [this](const QString&) { Identificativi(); }},
            {"posti", [this](const QString&) {   // first-page controls that move as the mode changes
                 const auto posti = [this] {
                     QCoreApplication::processEvents();
                     std::map<const QWidget*, QPoint> visti;
                     for (const QWidget* w : f->Pagine().widget(0)->findChildren<QWidget*>())
                         if (w->isVisible())
                             visti[w] = w->mapTo(f, QPoint());
                     return visti;
                 };
                 for (QRadioButton* modo : {&f->OpzioneAnnullamento(), &f->OpzioneNuoviDati()}) {
                     const auto prima = posti();
                     modo->setChecked(true);
                     QStringList spostati;
                     for (const auto& [w, dove] : posti())
                         if (prima.count(w) && prima.at(w) != dove)
                             spostati << w->objectName() + w->metaObject()->className();
                     s.Stampa(modo->text() + ": spostati " + (spostati.isEmpty() ? "nessuno" : spostati.join(' ')));
                 }
             }},
            {"clic-riga", [this](const QString& a) {   // as the user's click
                 Grid& g = f->Griglia();
                 QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.visualRect(g.model()->index(a.toInt() - 1, 0)).center());
                 QCoreApplication::processEvents();
             }},
            {"codici-tagliati", [this](const QString&) {   // cells of the first two columns
                 const Grid& g = f->Griglia();
                 QStringList tagliati;
                 for (int r = 0; r < g.RowCount(); ++r)
                     for (const QModelIndex i : {g.model()->index(r, 0), g.model()->index(r, 1)})
                         if (g.sizeHintForIndex(i).width() > g.visualRect(i).width())
                             tagliati << i.data().toString();
                 s.Stampa(tagliati.isEmpty() ? "nessuno" : tagliati.join(' '));
             }},
            {"campo", [this](const QString& a) { Campo(a.section(' ', 0, 0)).setText(a.section(' ', 1)); }},
            // Fields as the pairs say; without pairs, a company of Turin that passes every check.
            {"compila", [this](const QString& a) {
                 for (const auto& [colonna, valore] : Coppie(a.isEmpty() ? "ORAG=gamma snc; OCF=01234567890; OPIVA=01234567890; "
                                                                           "OSINDI=via po; OSNUMC=1; OSCOM=TORINO; OSPRO=TO; OSCAP=10121"
                                                                         : a))
                     Campo(colonna).setText(valore);
             }},
            {"digita", [this](const QString& a) {
                 Campo(a.section(' ', 0, 0)).setFocus();
                 QTest::keyClicks(&Campo(a.section(' ', 0, 0)), a.section(' ', 1));
             }},
            {"fuoco", [this](const QString& a) { Campo(a).setFocus(); }},
            {"seleziona-tutto", [this](const QString& a) { QTest::keyClick(&Campo(a), Qt::Key_A, Qt::ControlModifier); }},
            // Presses (+) and releases (-) of keys one by one, in the order given, each with
            // the modifiers held before it, as X11 reports them: "tasti OSCOM +ctrl +a -ctrl -a".
            {"tasti", [this](const QString& a) {
                 QLineEdit& campo = Campo(Parole(a).value(0));
                 campo.setFocus();
                 const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifier>> modificatori{
                     {"ctrl", {Qt::Key_Control, Qt::ControlModifier}}, {"maiusc", {Qt::Key_Shift, Qt::ShiftModifier}}};
                 Qt::KeyboardModifiers tenuti;
                 for (const QString& passo : Parole(a).mid(1)) {
                     const bool premi = passo.startsWith('+');
                     const QString nome = passo.mid(1);
                     if (const auto m = modificatori.find(nome); m != modificatori.end()) {
                         QTest::simulateEvent(&campo, premi, m->second.first, tenuti, QString(), false);
                         tenuti.setFlag(m->second.second, premi);
                         continue;
                     }
                     const char16_t lettera = nome.toUpper().at(0).unicode();
                     const QString testo = tenuti & Qt::ControlModifier ? QString(QChar(lettera - u'A' + 1))
                                           : tenuti & Qt::ShiftModifier ? QString(QChar(lettera))
                                                                         : QString(QChar(lettera)).toLower();
                     QTest::simulateEvent(&campo, premi, Qt::Key_A + (lettera - u'A'), tenuti, testo, false);
                 }
             }},
            {"pagina", [this](const QString& a) { f->Pagine().setCurrentIndex(a.toInt()); }},
            // Tab, and where the focus went.
            {"tab", [this](const QString&) {
                 QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                 QCoreApplication::processEvents();
                 s.Stampa("fuoco " + (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "-"));
             }},
            {"clic-campo", [this](const QString& a) {
                 QTest::mouseClick(&Campo(a), Qt::LeftButton);
                 QCoreApplication::processEvents();
             }},
            // Each field's background, "*" on the one with the focus.
            {"sfondi", [this](const QString& a) {
                 QStringList sfondi;
                 for (const QString& colonna : Parole(a))
                     sfondi << colonna + " " + Campo(colonna).palette().color(QPalette::Base).name()
                                   + (Campo(colonna).hasFocus() ? " *" : "");
                 s.Stampa(sfondi.join("  "));
             }},
            {"selezione", [this](const QString& a) {
                 s.Stampa(QStringLiteral("selezionati \"%1\" da %2").arg(Campo(a).selectedText()).arg(Campo(a).selectionStart()));
             }},
            {"casella", [this](const QString& a) {
                 (a.startsWith("ORFPF") ? f->CasellaPersonaFisicaRappresentante() : f->CasellaPersonaFisica())
                     ->setChecked(a.endsWith('1'));
             }},
            {"annullamento", [this](const QString& a) { (a == "si" ? f->OpzioneAnnullamento() : f->OpzioneNuoviDati()).setChecked(true); }},
            {"idfile", [this](const QString& a) { f->findChild<QLineEdit*>("IDFILE")->setText(a); }},
            {"clic", [this, pulsante](const QString& a) { QTest::mouseClick(pulsante(a), Qt::LeftButton); }},
            {"doppioclic-progressivo", [this](const QString&) { QTest::mouseDClick(&f->EtichettaProgressivo(), Qt::LeftButton); }},
            {"crea", [this](const QString&) { f->PusCREA_Click(); }},
            {"riga", [this](const QString& a) {
                 f->Griglia().SetCurrentCell(a.toInt());
                 QCoreApplication::processEvents();   // a question comes once the selection is done
             }},
            {"doppioclic", [this](const QString&) { f->Griglia().DblClick(); }},
            {"aggiungi", [this](const QString&) { f->Aggiungi(); }},
            {"elimina", [this](const QString&) { f->Elimina(); }},
            {"lista", [this](const QString& a) {
                 if (!a.isEmpty())
                     f->Registro().RigaSel = a.toInt();
                 f->Lista();
             }},
            {"chiudi", [this](const QString&) { f->close(); }},
            {"progressivo", [this](const QString&) {
                 if (const QString errore = Progressivo(*f); !errore.isEmpty())
                     s.Stampa(errore);
             }},
            {"ricerca", [this](const QString& a) { Ricerca(a.section(' ', 0, 0), a.section(' ', 1).toInt()); }},
            {"limiti", [this](const QString&) { Limiti(); }},
            {"campi", [this](const QString& a) {
                 QStringList valori;
                 for (const QString& colonna : Parole(a))
                     valori << colonna + "=" + (Campo(colonna).text().size() > 60 ? QStringLiteral("<%1 caratteri>").arg(Campo(colonna).text().size())
                                                                                   : Campo(colonna).text());
                 s.Stampa(valori.join("  "));
             }},
            // Where the user is: page, focus, grid row, the frames shown, the current declarant.
            {"stato", [this](const QString&) {
                 QStringList cornici;
                 const std::pair<const char*, QWidget*> visibili[] = {
                     {"societa", &f->CorniceSocieta()}, {"persona", &f->CornicePersonaFisica()},
                     {"idfile", &f->CorniceIdFile()}, {"progressivo", &f->EtichettaProgressivo()}};
                 for (const auto& [nome, w] : visibili)
                     if (w->isVisible())
                         cornici << nome;
                 for (const QRadioButton* opzione : {&f->OpzioneNuoviDati(), &f->OpzioneAnnullamento()})
                     if (opzione->font().bold())
                         cornici << "[" + opzione->text() + "]";   // the option chosen, in bold
                 const QWidget* fuoco = QApplication::focusWidget();
                 s.Stampa(QStringLiteral("pagina %1, fuoco %2, riga %3 di %4, %5 (%6), corrente %7")
                              .arg(f->Pagine().currentIndex())
                              .arg(fuoco ? fuoco->objectName() : "-")
                              .arg(f->Griglia().CurrentRow())
                              .arg(f->Griglia().RowCount())
                              .arg(f->isVisible() ? "aperta" : "chiusa", cornici.join(' '),
                                   CodiceOperatore.isEmpty() ? "nessuno" : CodiceOperatore + " " + NomeOperatore));
             }},
            {"dichiarante", [this](const QString&) {
                 const datifattura::DatiDichiarante d = f->DatiDichiaranteCorrente();
                 s.Stampa(QStringList{d.ORAG, d.OCF, d.OSPAESE, d.ODICPIVA, d.ODICCARICA, QString::number(d.OPROG),
                                      d.ORFPF ? "ORFPF" : ""}
                              .join(" | "));
             }},
        });
    }

    void VerbiDeiDati()
    {
        // A company of Rome whose tax code and VAT number end with the code's last character.
        s.verbi["inserisci"] = [this](const QString& a) {   // OCOD OPROG ORAG
            const QStringList p = Parole(a, 2);
            QVariantList riga = test::rigaCope(p[0], p[2]);
            for (const auto& [colonna, valore] : Coppie("OSINDI=VIA ROMA; OSNUMC=1; OSCOM=ROMA; OSPRO=RM; OSCAP=00100; OPROG=" + p[1]))
                riga[schema::COPE().index(colonna)] = valore;
            riga[cope::OCF] = riga[cope::OPIVA] = "0123456789" + p[0].right(1);
            seminato.db().insert(schema::COPE(), riga);
        };
        s.verbi["sql"] = [this](const QString& a) { seminato.db().exec(a); };
        // Another declarant made current elsewhere (the main window's commands).
        s.verbi["corrente"] = [](const QString& a) { CodiceOperatore = a; };
        s.verbi["valido"] = [this](const QString& a) { s.Stampa(test::EsitoSchema(cartella.filePath(a))); };
        s.verbi["comuni-da-rileggere"] = [](const QString&) { ComuniAperto = false; };
        s.verbi["tabella"] = [this](const QString& a) {   // COPE read back, in code order
            const QStringList colonne = QStringList{"OCOD"} + Parole(a);
            for (const Row& r : seminato.db().query("SELECT " + colonne.join(", ") + " FROM COPE ORDER BY OCOD", {},
                                                    std::vector<ColumnType>(colonne.size(), ColumnType::Text))) {
                QStringList valori;
                for (int i = 0; i < colonne.size(); ++i)
                    valori << r.text(i);
                s.Stampa(valori.join(" | "));
            }
        };
        // The entry checks of a company that passes them all, changed as the pairs say
        // ("(vuoto)": of an empty record); the changed columns as the checks left them.
        s.verbi["controlla"] = [this](const QString& a) {
            DatiSoggetto d;
            const std::vector<std::pair<QString, QString>> coppie = a == "(vuoto)" ? decltype(coppie){} : Coppie(a);
            if (a != "(vuoto)") {
                for (const auto& [colonna, valore] : Coppie("OCOD=01; ORAG=ALFA SRL; OPIVA=01234567890; OCF=01234567890; "
                                                             "OSINDI=VIA ROMA; OSNUMC=1; OSCOM=ROMA; OSPRO=RM; OSCAP=00100; "
                                                             "OSPAESE=IT; OSPAESED=ITALIA"))
                    ImpostaColonna(d, colonna, valore);
                for (const auto& [colonna, valore] : coppie)
                    EXPECT_TRUE(ImpostaColonna(d, colonna, valore)) << colonna.toStdString();
            }
            const auto errore = Controlla(d);
            QStringList valori;
            for (const auto& coppia : coppie)
                valori << coppia.first + "=\"" + ValoreColonna(d, coppia.first).toString() + "\"";
            s.Stampa((errore ? errore->campo + ": " + errore->messaggio : "valido") + "   " + valori.join(' '));
        };
        // The tax-code box left: OCF and OPIVA as given, the answer of the tax-code check.
        s.verbi["codice-fiscale"] = [this](const QString& a) {   // OCF OPIVA ESITO
            const QStringList p = Parole(a);
            DatiSoggetto d;
            d.OCF = p.value(0) == "-" ? "" : p.value(0);
            d.OPIVA = p.value(1) == "-" ? "" : p.value(1);
            QString controllato = "nessuno";
            const auto errore = ControllaCodiceFiscale(d, [&](const QString& cf) {
                controllato = cf;
                return p.value(2).toInt();
            });
            s.Stampa((errore ? errore->campo + ": " + errore->messaggio : "nessun errore") + ", controllato " + controllato
                     + ", OPIVA=" + d.OPIVA);
        };
        // A progressive's text as each procedure reads it.
        s.verbi["numero"] = [this](const QString& a) {
            const QString testo = Testo(a);
            const QString controllo = ControllaProgressivo(testo);
            const EsitoProgressivo successivo = ProgressivoSuccessivo(testo), salvato = ProgressivoDaSalvare(testo);
            const auto letto = LeggiProgressivo(testo);
            const auto esito = [&controllo](const EsitoProgressivo& e) {
                return e.Valido() ? e.valore : e.errore == controllo ? "l'errore del controllo" : "errore: " + e.errore;
            };
            s.Stampa(QStringLiteral("%1 | successivo %2 | salvato %3 | letto %4")
                         .arg(controllo.isEmpty() ? "valido" : controllo, esito(successivo), esito(salvato),
                              letto ? FormattaProgressivo(*letto) : "-"));
        };
        // The town box as it completes key by key (the first town of the table, by SQL, that
        // begins with the text typed), and the province of a town typed whole.
        s.verbi["completa"] = [this](const QString& a) {   // CARET KEY TEXT
            if (comuni.comuni().empty())
                comuni.carica(seminato.db());
            const QStringList p = Parole(a, 2);
            const std::map<QString, int> tasti = {{"0", Qt::Key_0}, {"spazio", Qt::Key_Space}, {"indietro", Qt::Key_Backspace},
                                                  {"sinistra", Qt::Key_Left}, {"canc", Qt::Key_Delete},
                                                  {"apostrofo", Qt::Key_Apostrophe}};
            const int tasto = tasti.count(p[1]) ? tasti.at(p[1]) : Qt::Key_A + (p[1][0].unicode() - 'A');
            const auto stato = CompletaComune(Testo(p[2]), p[0].toInt(), tasto, comuni);
            if (!stato)
                return s.Stampa("nessun completamento");
            const QString prefisso = stato->testo.left(stato->inizioSelezione).trimmed();
            const auto sql = seminato.db().query("SELECT COMUNE, PRO FROM T_COMUNI WHERE COMUNE LIKE ? ORDER BY COMUNE",
                                                 {prefisso + "%"}, {ColumnType::Text, ColumnType::Text});
            const QString trovato = stato->testo + " / " + stato->provincia.value_or("-");
            const QString perSql = sql.empty() ? "nessuno" : sql.front().text(0) + " / " + sql.front().text(1);
            s.Stampa(QStringLiteral("%1, selezionati %2 da %3, %4")
                         .arg(trovato)
                         .arg(stato->lunghezzaSelezione)
                         .arg(stato->inizioSelezione)
                         .arg(perSql == trovato ? "come per SQL" : "per SQL " + perSql));
        };
        s.verbi["provincia"] = [this](const QString& a) {
            if (comuni.comuni().empty())
                comuni.carica(seminato.db());
            s.Stampa(ProvinciaDelComune(Testo(a), comuni).value_or("-"));
        };
    }

    test::DatabaseSeminato seminato;
    test::Scenario s;
    QTemporaryDir cartella;
    test::ServiziInScenario servizi{s, cartella.path()};
    std::unique_ptr<F1OP> finestra;
    std::unique_ptr<F0> f0;
    F1OP* f = nullptr;
    ElencoComuni comuni;
    int terminazioni = 0;
};

QUERCINO_SCENARI(Registro, ScenariRegistro, "finestra", "modifiche", "registro", "annullamento", "ricerche", "comandi",
                 "controlli", "progressivo", "comuni");

// Which key releases of the town box complete, in the orders hands and keyboards give
// them: only a key whose press, no shortcut, changed the text.
TEST(TastiComune, CompletaSoloDopoUnTastoCheHaScritto)
{
    constexpr Qt::KeyboardModifiers Nessuno = Qt::NoModifier, Ctrl = Qt::ControlModifier;
    struct Evento {
        bool premuto;
        int tasto;
        Qt::KeyboardModifiers modificatori;
        bool ripetuto;
        const char* testo;     // the box's text at the event
        bool completa;         // for a release
    };
    const struct {
        const char* caso;
        std::vector<Evento> eventi;
    } casi[] = {
        {"una lettera", {{true, Qt::Key_R, Nessuno, false, "", false}, {false, Qt::Key_R, Nessuno, false, "R", true}}},
        {"Ctrl+A, Ctrl lasciato prima",
         {{true, Qt::Key_Control, Nessuno, false, "TOR", false}, {true, Qt::Key_A, Ctrl, false, "TOR", false},
          {false, Qt::Key_Control, Ctrl, false, "TOR", false}, {false, Qt::Key_A, Nessuno, false, "TOR", false}}},
        {"Ctrl+V, Ctrl lasciato prima",
         {{true, Qt::Key_Control, Nessuno, false, "", false}, {true, Qt::Key_V, Ctrl, false, "", false},
          {false, Qt::Key_Control, Ctrl, false, "ROMA", false}, {false, Qt::Key_V, Nessuno, false, "ROMA", false}}},
        {"una lettera oltre il limite",
         {{true, Qt::Key_A, Nessuno, false, "ROMA", false}, {false, Qt::Key_A, Nessuno, false, "ROMA", false}}},
        {"una lettera tenuta giù",
         {{true, Qt::Key_R, Nessuno, false, "", false}, {false, Qt::Key_R, Nessuno, true, "R", false},
          {true, Qt::Key_R, Nessuno, true, "R", false}, {false, Qt::Key_R, Nessuno, false, "RR", true}}},
        {"due lettere accavallate",
         {{true, Qt::Key_R, Nessuno, false, "", false}, {true, Qt::Key_O, Nessuno, false, "R", false},
          {false, Qt::Key_R, Nessuno, false, "RO", true}, {false, Qt::Key_O, Nessuno, false, "ROANA", true}}},
        {"un rilascio senza pressione", {{false, Qt::Key_R, Nessuno, false, "ROMA", false}}},
        {"Ctrl premuto dopo la lettera",
         {{true, Qt::Key_R, Nessuno, false, "", false}, {true, Qt::Key_Control, Nessuno, false, "R", false},
          {false, Qt::Key_R, Ctrl, false, "R", true}}},
        {"la stessa lettera di nuovo, che non scrive",
         {{true, Qt::Key_R, Nessuno, false, "", false}, {false, Qt::Key_R, Nessuno, false, "R", true},
          {true, Qt::Key_R, Ctrl, false, "R", false}, {false, Qt::Key_R, Nessuno, false, "R", false}}},
    };
    for (const auto& c : casi) {
        TastiComune tasti;
        for (std::size_t i = 0; i < c.eventi.size(); ++i) {
            const Evento& e = c.eventi[i];
            if (e.premuto)
                tasti.Premuto(e.tasto, e.modificatori, e.ripetuto, QString::fromUtf8(e.testo));
            else
                EXPECT_EQ(tasti.Rilasciato(e.tasto, e.ripetuto, QString::fromUtf8(e.testo)), e.completa)
                    << c.caso << ", evento " << i + 1;
        }
    }
}

} // namespace
} // namespace quercino
