// The field helpers of the windows: the text-box wrappers as the registry uses them (focus
// colours while tabbing, the clean-up on focus loss, the window's own handlers after it, no
// endless field errors), the field error (the message centred with blanks, the box red
// while it is up, then the focus colour and the focus back), the emptying of a window's
// fields, and the fitting of a grid's rows.

#include "app/core/Globals.h"
#include "app/widgets/AdattaRighe.h"
#include "app/widgets/ErroreCampo.h"
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
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
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

TEST(PulisciCampi, SvuotaTestiEComboTogliLeSpunte)
{
    QWidget finestra;
    auto* testo = new QLineEdit("ROSSI", &finestra);
    auto* cornice = new QGroupBox("Sede", &finestra);
    auto* interno = new QLineEdit("MILANO", cornice);
    auto* note = new QPlainTextEdit("nota", &finestra);
    auto* scelta = new QComboBox(&finestra);
    scelta->addItems({"A", "B"});
    scelta->setCurrentIndex(1);
    auto* scritta = new QComboBox(&finestra);
    scritta->setEditable(true);
    scritta->setEditText("libero");
    auto* spunta = new QCheckBox("Persona Fisica", &finestra);
    spunta->setChecked(true);
    auto* etichetta = new QLabel("Codice", &finestra);
    auto* opzione = new QRadioButton("NUOVI DATI", &finestra);
    opzione->setChecked(true);
    auto* numero = new QSpinBox(&finestra);
    numero->setValue(7);

    PulisciCampi(&finestra);
    PulisciCampi(nullptr);  // nothing to do, nothing breaks

    const QStringList dopo{testo->text(), interno->text(), note->toPlainText(), scelta->currentText(),
                           scritta->currentText(), etichetta->text()};
    EXPECT_EQ(dopo, (QStringList{"", "", "", "", "", "Codice"}));
    EXPECT_EQ(scelta->count(), 2);  // the list itself stays
    EXPECT_FALSE(spunta->isChecked());
    EXPECT_TRUE(opzione->isChecked());
    EXPECT_EQ(numero->value(), 7);
}

TEST(AdattaRighe, FitsEveryRowAndRestoresDrawingAndPointer)
{
    Grid grid;
    grid.SetDefaultRowHeight(12);
    grid.AddColumn("OCOD", "Codice", 100);
    grid.AddColumn("Odes", "Soggetto Obbligato", 400);
    QList<QVariantList> rows;
    for (int i = 1; i <= 30; ++i)
        rows.append({QString::number(i), QStringLiteral("SOGGETTO %1").arg(i)});
    grid.Fill({"OCOD", "ODES"}, rows);
    grid.show();
    ASSERT_EQ(grid.rowHeight(29), 12);

    AdattaRighe(grid);

    for (int r = 0; r < grid.RowCount(); ++r)
        EXPECT_GE(grid.rowHeight(r), 20) << "row " << r + 1;
    EXPECT_TRUE(grid.updatesEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    Grid vuota;
    AdattaRighe(vuota);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
