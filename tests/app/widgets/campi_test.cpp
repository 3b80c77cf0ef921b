// The field helpers of the windows: the text-box wrappers as the registry uses them (focus
// colours while tabbing, the clean-up on focus loss, the window's own handlers after it, no
// endless field errors), the field error (the message centred with blanks, the box red
// while it is up, then the focus colour and the focus back), the emptying of a window's
// fields, the fitting of a grid's rows, and windows kept within the screen (one-line texts
// of any length elided rather than widening their window).

#include "app/core/Globals.h"
#include "app/widgets/AdattaRighe.h"
#include "app/widgets/ErroreCampo.h"
#include "app/widgets/EtichettaRidotta.h"
#include "app/widgets/Finestre.h"
#include "app/widgets/PulisciCampi.h"
#include "platform/grid/Grid.h"
#include "app/widgets/CForm.h"
#include "support/casi.h"
#include "support/scenario.h"
#include "support/servizi_simulati.h"
#include "support/stampa_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace quercino;


namespace {

// A window of three text boxes, an editable combo box and a check box, as the registry
// has them, driven by the steps of scenari/campi.txt (see support/scenario.h).
class Campi : public ::testing::Test {
protected:
    void SetUp() override
    {
        ColoreFocus = QColor(255, 255, 192);
        ColoreNormale = QColor(255, 255, 255);
        auto* layout = new QVBoxLayout(&finestra);
        for (const char* nome : {"vA", "vB", "vC"}) {
            auto* box = new QLineEdit(&finestra);
            box->setObjectName(nome);
            layout->addWidget(box);
        }
        auto* combo = new QComboBox(&finestra);
        combo->setEditable(true);
        combo->setObjectName("vCombo");
        layout->addWidget(combo);
        auto* spunta = new QCheckBox("Persona Fisica", &finestra);
        spunta->setObjectName("vCheck");
        layout->addWidget(spunta);
        messaggi.finestraVera = true;
        // While a box is up: the field's colours and whether it has the focus.
        messaggi.mentreMostra = [this](const Messaggio& m) {
            QStringList campi;
            for (QLineEdit* box : finestra.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
                if (box->palette().color(QPalette::Base) != ColoreNormale || finestra.focusWidget() == box)
                    campi << Campo(box);
            s.Stampa("[" + m.titolo + "] \"" + m.testo + "\" mentre " + campi.join(", "));
        };
        Verbi();
    }

    QLineEdit* Box(const QString& nome) { return finestra.findChild<QLineEdit*>(nome); }

    // A box's name, text, background and text colours (the focus colour "giallino", the
    // normal one "bianco") and focus.
    QString Campo(QLineEdit* box)
    {
        const std::map<QString, QString> nomi{{QColor(255, 255, 192).name(), "giallino"},
                                             {QColor(255, 255, 255).name(), "bianco"},
                                             {QColor(255, 0, 0).name(), "rosso"}};
        auto colore = [&](QPalette::ColorRole ruolo) {
            const QString nome = box->palette().color(ruolo).name();
            return nomi.contains(nome) ? nomi.at(nome) : nome;
        };
        return box->objectName() + " \"" + box->text() + "\" " + colore(QPalette::Base) + "/" + colore(QPalette::Text)
               + (finestra.focusWidget() == box ? " *" : "");
    }

    void Verbi()
    {
        // The wrappers on the window, each field's focus loss printed.
        s.verbi["forma"] = [this](const QString&) {
            forma = new CForm;
            forma->SetVbForm(&finestra);
            QObject::connect(forma, &CForm::LostFocus, [this](QLineEdit* box) {
                s.Stampa("(perso il fuoco: " + box->objectName() + ")");
            });
            s.Stampa(QStringLiteral("%1 caselle, vC %2").arg(forma->Count()).arg(forma->Item("vC") ? "si" : "no"));
        };
        s.verbi["via-forma"] = [this](const QString&) { delete std::exchange(forma, nullptr); };
        // "sola-lettura BOX TESTO": a new box the user cannot type into, grey, holding the text.
        s.verbi["sola-lettura"] = [this](const QString& a) {
            auto* box = new QLineEdit(&finestra);
            box->setObjectName(test::Parole(a, 1)[0]);
            finestra.layout()->addWidget(box);
            box->setReadOnly(true);
            box->setText(test::Parole(a, 1)[1]);
            QPalette grigio = box->palette();
            grigio.setColor(QPalette::Base, QColor(224, 224, 224));
            box->setPalette(grigio);
            box->show();
        };
        // "gestore BOX", "gestore BOX errore TESTO" (a field error when empty) or "gestore
        // BOX elimina" (the handler ends the wrappers): the window's own handler.
        s.verbi["gestore"] = [this](const QString& a) {
            const QStringList p = test::Parole(a, 2);
            QLineEdit* box = Box(p[0]);
            forma->SetLostFocusHandler(box, [this, box, p] {
                s.Stampa("(gestore " + Campo(box) + ")");
                if (p[1] == "errore" && box->text().isEmpty())
                    ErroreCampo(box, p[2]);
                if (p[1] == "elimina")
                    delete std::exchange(forma, nullptr);
            });
        };
        s.verbi["mostra"] = [this](const QString&) {
            finestra.show();
            finestra.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
            Box("vA")->setFocus(Qt::TabFocusReason);
        };
        // The offscreen platform does not give the activation back as a desktop does.
        s.verbi["attiva"] = [this](const QString&) {
            finestra.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
        };
        s.verbi["fuoco"] = [this](const QString& a) {
            finestra.findChild<QWidget*>(a)->setFocus(Qt::TabFocusReason);
        };
        // Typed (ASCII only), or inserted as typed with accents.
        s.verbi["scrivi"] = [](const QString& a) { QTest::keyClicks(QApplication::focusWidget(), test::Decodifica(a)); };
        s.verbi["inserisci"] = [](const QString& a) {
            qobject_cast<QLineEdit*>(QApplication::focusWidget())->insert(test::Decodifica(a));
        };
        // Tab, then any deferred focus events.
        s.verbi["tab"] = [](const QString&) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::qWait(50);
        };
        s.verbi["stato"] = [this](const QString&) {
            QStringList campi;
            for (QLineEdit* box : finestra.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
                campi << Campo(box);
            s.Stampa(campi.join(", ") + "; combo \"" + finestra.findChild<QComboBox*>()->currentText() + "\"");
        };
        // A box gone while wrapped is no longer counted.
        s.verbi["rimuovi"] = [this](const QString& a) {
            delete Box(a);
            s.Stampa(QStringLiteral("%1 caselle, %2 %3").arg(forma->Count()).arg(a).arg(forma->Item(a) ? "si" : "no"));
        };
        // "errore-campo BOX TESTO" ("-" no control, "nascosto" one that cannot take the
        // focus): the caller's text is centred too.
        s.verbi["errore-campo"] = [this](const QString& a) {
            const QStringList p = test::Parole(a, 1);
            QLineEdit nascosto;
            QString testo = p[1];
            ErroreCampo(p[0] == "-" ? nullptr : p[0] == "nascosto" ? &nascosto : Box(p[0]), testo);
            s.Stampa("testo del chiamante \"" + testo + "\"" + (nascosto.hasFocus() ? ", nascosto col fuoco" : ""));
        };
        // 50 - length / 2 blanks on each side, halves to the even neighbour; none from 50 on.
        s.verbi["centra"] = [this](const QString& a) {
            for (const QString& n : test::Parole(a)) {
                const QString testo(n.toInt(), 'x');
                const QString centrato = CentraMessaggio(testo);
                const qsizetype margine = centrato.indexOf('x') < 0 ? centrato.size() / 2 : centrato.indexOf('x');
                s.Stampa(QStringLiteral("%1: %2%3").arg(n).arg(margine)
                             .arg(centrato == QString(margine, ' ') + testo + QString(margine, ' ') ? "" : " (non simmetrico)"));
            }
        };
        // A window with every kind of field emptied: each field's class and what it shows.
        s.verbi["pulisci"] = [this](const QString&) {
            QWidget altra;
            new QLineEdit("ROSSI", &altra);
            new QLineEdit("MILANO", new QGroupBox("Sede", &altra));
            new QPlainTextEdit("nota", &altra);
            auto* scelta = new QComboBox(&altra);
            scelta->addItems({"A", "B"});
            scelta->setCurrentIndex(1);
            auto* scritta = new QComboBox(&altra);
            scritta->setEditable(true);
            scritta->setEditText("libero");
            (new QCheckBox("Persona Fisica", &altra))->setChecked(true);
            new QLabel("Codice", &altra);
            (new QRadioButton("NUOVI DATI", &altra))->setChecked(true);
            (new QSpinBox(&altra))->setValue(7);
            PulisciCampi(&altra);
            PulisciCampi(nullptr);  // nothing to do, nothing breaks
            for (QWidget* w : altra.findChildren<QWidget*>()) {
                if (w->parentWidget() != &altra && !qobject_cast<QGroupBox*>(w->parentWidget()))
                    continue;  // the fields' own inner widgets
                QStringList stato{w->metaObject()->className()};
                for (const char* p : {"text", "plainText", "currentText", "count", "checked", "value"})
                    if (w->property(p).isValid())
                        stato << QStringLiteral("%1 \"%2\"").arg(p, w->property(p).toString());
                s.Stampa(stato.join(" "));
            }
        };
        // A grid of 30 rows 12 pixels high fitted to its texts; then an empty one.
        s.verbi["adatta-righe"] = [this](const QString&) {
            Grid grid;
            grid.SetDefaultRowHeight(12);
            grid.AddColumn("OCOD", "Codice", 100);
            grid.AddColumn("Odes", "Soggetto Obbligato", 400);
            QList<QVariantList> righe;
            for (int i = 1; i <= 30; ++i)
                righe.append({QString::number(i), QStringLiteral("SOGGETTO %1").arg(i)});
            grid.Fill({"OCOD", "ODES"}, righe);
            grid.show();
            s.Stampa(QStringLiteral("prima: ultima riga alta %1").arg(grid.rowHeight(29)));
            AdattaRighe(grid);
            int basse = 0;
            for (int r = 0; r < grid.RowCount(); ++r)
                basse += grid.rowHeight(r) < 20;
            s.Stampa(QStringLiteral("%1 righe, %2 sotto i 20 pixel, disegno %3, cursore %4")
                         .arg(grid.RowCount()).arg(basse).arg(grid.updatesEnabled() ? "si" : "no")
                         .arg(QGuiApplication::overrideCursor() ? "cambiato" : "normale"));
            Grid vuota;
            AdattaRighe(vuota);
            s.Stampa(QStringLiteral("vuota: cursore %1").arg(QGuiApplication::overrideCursor() ? "cambiato" : "normale"));
        };
        // "finestra L A": a window of L x A pixels (a "+N" or "*N" from the screen's free
        // area) as shown under the guard every window passes.
        s.verbi["finestra"] = [this](const QString& a) {
            AdattaFinestreAlloSchermo(*qApp);
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            const QStringList p = test::Parole(a);
            auto misura = [](const QString& m, int schermo) {
                return m[0] == '+' ? schermo + m.mid(1).toInt() : m[0] == '*' ? schermo * m.mid(1).toInt() : m.toInt();
            };
            const QSize voluta(misura(p[0], area.width()), misura(p[1], area.height()));
            QDialog altra;
            altra.resize(voluta);
            altra.show();
            const QSize cornice = altra.frameGeometry().size() - altra.size();
            s.Stampa(QStringLiteral("dentro lo schermo: %1, ridotta solo quanto serve: %2")
                         .arg(area.contains(altra.frameGeometry()) ? "si" : "no")
                         .arg(altra.frameGeometry().size() == (voluta + cornice).boundedTo(area.size()) ? "si" : "no"));
        };
        // A path of 300 characters elided in the middle, the window no wider than the screen.
        s.verbi["percorso-lungo"] = [this](const QString&) {
            QDialog altra;
            auto* percorso = new EtichettaRidotta(&altra, Qt::ElideMiddle);
            (new QVBoxLayout(&altra))->addWidget(percorso);
            percorso->setText("/home/utente/" + QString(300, 'c') + "/fatture.xlsx");
            altra.show();
            QCoreApplication::processEvents();
            const QString visibile = percorso->TestoVisibile();
            s.Stampa(QStringLiteral("%1...%2, puntini %3, entra %4, finestra stretta %5")
                         .arg(visibile.left(6), visibile.right(12))
                         .arg(visibile.contains(QChar(0x2026)) ? "si" : "no")
                         .arg(percorso->fontMetrics().horizontalAdvance(visibile) <= percorso->contentsRect().width() ? "si" : "no")
                         .arg(altra.width() < QGuiApplication::primaryScreen()->availableGeometry().width() ? "si" : "no"));
        };
    }

    QWidget finestra;
    test::Scenario s;
    test::MessaggiSimulati messaggi;
    CForm* forma = nullptr;
};

} // namespace

TEST_F(Campi, Passi)
{
    EXPECT_SCENARIO(s, "scenari/campi.txt");
    delete forma;
}
