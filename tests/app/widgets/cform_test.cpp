// The text-box wrappers as the registry uses them: focus colours while tabbing, the
// clean-up on focus loss, the window's own handlers after it, and no endless field errors.

#include "app/widgets/CForm.h"

#include "app/core/Globals.h"
#include "app/widgets/ErroreCampo.h"
#include "support/servizi_simulati.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

const QColor Giallino(255, 255, 192);
const QColor Bianco(255, 255, 255);

QColor Sfondo(const QLineEdit* box)
{
    return box->palette().color(QPalette::Base);
}

class Finestra : public ::testing::Test {
protected:
    void SetUp() override
    {
        ColoreFocus = Giallino;
        ColoreNormale = Bianco;
        auto* layout = new QVBoxLayout(&window);
        for (const char* name : {"vA", "vB", "vC"}) {
            boxes.append(new QLineEdit(&window));
            boxes.last()->setObjectName(name);
            layout->addWidget(boxes.last());
        }
        combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->setObjectName("vCombo");
        check = new QCheckBox("Persona Fisica", &window);
        layout->addWidget(combo);
        layout->addWidget(check);
    }

    void Mostra()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        boxes[0]->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(boxes[0]->hasFocus());
    }

    void Tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    QWidget window;
    QList<QLineEdit*> boxes;
    QComboBox* combo = nullptr;
    QCheckBox* check = nullptr;
};

} // namespace

TEST_F(Finestra, IlTabColoraEPulisceEPoiIlGestoreDellaFinestra)
{
    CForm form;
    form.SetVbForm(&window);
    QStringList visti;
    form.SetLostFocusHandler(boxes[0], [&] { visti << boxes[0]->text() + "|" + Sfondo(boxes[0]).name(); });
    QList<QLineEdit*> segnalati;
    QObject::connect(&form, &CForm::LostFocus, [&](QLineEdit* box) { segnalati << box; });
    Mostra();
    EXPECT_EQ(Sfondo(boxes[0]), Giallino);

    QTest::keyClicks(boxes[0], "  abc&d ");
    Tab();
    EXPECT_EQ(boxes[0]->text(), "ABCED");
    EXPECT_EQ(visti, QStringList{"ABCED|" + Bianco.name()});   // the handler runs after the clean-up
    EXPECT_EQ(Sfondo(boxes[1]), Giallino);

    boxes[1]->insert(" Caffè \"Rossi\" <sas> ");  // as typed: keyClicks takes ASCII only
    Tab();
    EXPECT_EQ(boxes[1]->text(), "CAFFE  ROSSI   SAS ");
    EXPECT_EQ(Sfondo(boxes[1]), Bianco);
    EXPECT_EQ(segnalati, (QList<QLineEdit*>{boxes[0], boxes[1]}));

    // The combo box's own editor is not one of the wrapped boxes.
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(combo, "abc&d");
    check->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(combo->currentText(), "abc&d");
}

// Two required boxes whose handlers both show a field error: leaving one must show one
// message and put the focus back on it, without the other's handler answering back.
TEST_F(Finestra, UnErroreDiCampoNelGestoreNonGiraInTondo)
{
    test::MessaggiSimulati messaggi;
    messaggi.finestraVera = true;
    CForm form;
    form.SetVbForm(&window);
    int gestitiA = 0, gestitiB = 0;
    form.SetLostFocusHandler(boxes[0], [&] {
        ++gestitiA;
        if (boxes[0]->text().isEmpty())
            ErroreCampo(boxes[0], "Campo A obbligatorio");
    });
    form.SetLostFocusHandler(boxes[1], [&] {
        ++gestitiB;
        if (boxes[1]->text().isEmpty())
            ErroreCampo(boxes[1], "Campo B obbligatorio");
    });
    Mostra();
    Tab();
    QTest::qWait(50);  // let any deferred focus events arrive
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo.trimmed(), "Campo A obbligatorio");
    EXPECT_EQ(gestitiA, 1);
    EXPECT_EQ(gestitiB, 0);
    EXPECT_EQ(window.focusWidget(), boxes[0]);
    EXPECT_EQ(Sfondo(boxes[0]), Giallino);

    // The offscreen platform does not give the activation back as a desktop does.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClicks(boxes[0], "x");
    Tab();
    EXPECT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(boxes[1]->hasFocus());
}

TEST_F(Finestra, InvolucriECaselleSopravvivonoGliUniAgliAltri)
{
    auto form = std::make_unique<CForm>();
    form->SetVbForm(&window);
    delete boxes.takeLast();
    EXPECT_EQ(form->Count(), 2);
    EXPECT_EQ(form->Item("vC"), nullptr);
    Mostra();
    form.reset();
    QTest::keyClicks(boxes[0], "abc");
    Tab();
    EXPECT_EQ(boxes[0]->text(), "abc");  // no longer wrapped: left as typed

    // A handler may end the window that watches it.
    auto* altro = new CForm;
    altro->SetVbForm(&window);
    altro->SetLostFocusHandler(boxes[1], [&] { delete altro; });
    QTest::keyClicks(boxes[1], "def");
    Tab();
    EXPECT_EQ(boxes[1]->text(), "DEF");
}
