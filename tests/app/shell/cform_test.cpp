// The text-box wrappers as the registry uses them: focus colours while tabbing, the
// clean-up on focus loss, the window's own handlers after it, and no endless field errors.

#include "app/shell/CForm.h"

#include "messaggi_registrati.h"
#include "app/core/Globals.h"
#include "app/shell/ErroreCampo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

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
            auto* box = new QLineEdit(&window);
            box->setObjectName(name);
            layout->addWidget(box);
            boxes.append(box);
        }
        combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->setObjectName("vCombo");
        layout->addWidget(combo);
        spin = new QSpinBox(&window);
        layout->addWidget(spin);
        check = new QCheckBox("Persona Fisica", &window);
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
    QSpinBox* spin = nullptr;
    QCheckBox* check = nullptr;
};

} // namespace

TEST_F(Finestra, OnlyTheWindowsOwnTextBoxesAreWrapped)
{
    CForm form;
    EXPECT_EQ(form.SetVbForm(&window), 3);
    EXPECT_EQ(form.Count(), 3);
    ASSERT_NE(form.Item("vB"), nullptr);
    EXPECT_EQ(form.Item("vB")->ctTextBox(), boxes[1]);
    EXPECT_EQ(form.Item("vCombo"), nullptr);

    // A second box with a name already wrapped stays unwrapped; so do other controls.
    QLineEdit twin(&window);
    twin.setObjectName("vA");
    CForm other;
    EXPECT_EQ(other.SetVbForm({boxes[0], &twin, check, combo, spin}), 1);
    EXPECT_EQ(other.Item("vA")->ctTextBox(), boxes[0]);

    CControl control;
    EXPECT_FALSE(control.SetVbControl(check));
    EXPECT_EQ(control.ctTextBox(), nullptr);
    EXPECT_TRUE(control.SetVbControl(boxes[2]));
    EXPECT_EQ(CControl::ColoreSfondo(true), Giallino);
    EXPECT_EQ(CControl::ColoreSfondo(false), Bianco);
}

TEST_F(Finestra, TabbingPaintsTheFocusedBoxAndCleansTheOneLeft)
{
    CForm form;
    form.SetVbForm(&window);
    Mostra();
    EXPECT_EQ(Sfondo(boxes[0]), Giallino);

    QTest::keyClicks(boxes[0], "  abc&d ");
    EXPECT_EQ(boxes[0]->text(), "  abc&d ");
    Tab();
    ASSERT_TRUE(boxes[1]->hasFocus());
    EXPECT_EQ(boxes[0]->text(), "ABCED");
    EXPECT_EQ(Sfondo(boxes[0]), Bianco);
    EXPECT_EQ(Sfondo(boxes[1]), Giallino);

    boxes[1]->insert(" Caffè \"Rossi\" <sas> ");  // as typed: keyClicks takes ASCII only
    Tab();
    ASSERT_TRUE(boxes[2]->hasFocus());
    EXPECT_EQ(boxes[1]->text(), "CAFFE  ROSSI   SAS ");
    EXPECT_EQ(Sfondo(boxes[1]), Bianco);
    EXPECT_EQ(Sfondo(boxes[2]), Giallino);
    EXPECT_EQ(Sfondo(boxes[0]), Bianco);

    // The combo box's own editor is not one of the wrapped boxes.
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(combo, "abc&d");
    spin->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(combo->currentText(), "abc&d");
    EXPECT_EQ(Sfondo(boxes[2]), Bianco);
}

TEST_F(Finestra, TheWindowsHandlerRunsAfterTheCleanUp)
{
    CForm form;
    form.SetVbForm(&window);
    QStringList seen;
    form.SetLostFocusHandler(boxes[0], [&] {
        seen << boxes[0]->text() + "|" + Sfondo(boxes[0]).name();
    });
    QList<QLineEdit*> signalled;
    QObject::connect(&form, &CForm::LostFocus, [&](QLineEdit* box) { signalled << box; });
    Mostra();
    QTest::keyClicks(boxes[0], "roma ");
    Tab();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0], "ROMA|" + Bianco.name());
    Tab();
    EXPECT_EQ(signalled, (QList<QLineEdit*>{boxes[0], boxes[1]}));
}

TEST_F(Finestra, FocusLeavingTheWindowIsNotAFocusLoss)
{
    CForm form;
    form.SetVbForm(&window);
    int handled = 0;
    form.SetLostFocusHandler(boxes[0], [&] { ++handled; });
    Mostra();
    QTest::keyClicks(boxes[0], "abc");

    QWidget popup;
    popup.show();
    popup.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&popup));
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(boxes[0]->text(), "abc");
    EXPECT_EQ(Sfondo(boxes[0]), Giallino);

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(boxes[0]->hasFocus());
    Tab();
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(boxes[0]->text(), "ABC");
}

// Two required boxes whose handlers both show a field error: leaving one must show one
// message and put the focus back on it, without the other's handler answering back.
TEST_F(Finestra, AFieldErrorFromAFocusLossHandlerDoesNotLoop)
{
    test::MessaggiRegistrati messaggi(/*finestraVera=*/true);
    CForm form;
    form.SetVbForm(&window);
    int handledA = 0;
    int handledB = 0;
    form.SetLostFocusHandler(boxes[0], [&] {
        ++handledA;
        if (boxes[0]->text().isEmpty())
            ErroreCampo(boxes[0], "Campo A obbligatorio");
    });
    form.SetLostFocusHandler(boxes[1], [&] {
        ++handledB;
        if (boxes[1]->text().isEmpty())
            ErroreCampo(boxes[1], "Campo B obbligatorio");
    });
    QColor duringBox;
    QColor textDuringBox;
    messaggi.mentreMostra = [&](const Messaggio&) {
        duringBox = Sfondo(boxes[0]);
        textDuringBox = boxes[0]->palette().color(QPalette::Text);
    };
    Mostra();
    Tab();
    QTest::qWait(50);  // let any deferred focus events arrive

    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Errore");
    EXPECT_EQ(messaggi.mostrati[0].testo.trimmed(), "Campo A obbligatorio");
    EXPECT_EQ(duringBox, QColor(255, 0, 0));
    EXPECT_EQ(textDuringBox, QColor(255, 255, 255));
    EXPECT_EQ(handledA, 1);
    EXPECT_EQ(handledB, 0);
    EXPECT_EQ(window.focusWidget(), boxes[0]);
    EXPECT_EQ(Sfondo(boxes[0]), Giallino);

    // The offscreen platform does not give the activation back to the window the box
    // closed over, as a desktop does.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(boxes[0]->hasFocus());
    EXPECT_EQ(handledA, 1);
    EXPECT_EQ(messaggi.mostrati.size(), 1u);

    // Filled in, the box lets the focus go.
    QTest::keyClicks(boxes[0], "x");
    Tab();
    EXPECT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(boxes[1]->hasFocus());
    EXPECT_EQ(boxes[0]->text(), "X");
}

TEST_F(Finestra, WrappersOutliveNoBoxAndBoxesOutliveTheirWrapper)
{
    auto form = std::make_unique<CForm>();
    form->SetVbForm(&window);
    delete boxes[2];
    boxes.removeLast();
    EXPECT_EQ(form->Count(), 2);
    EXPECT_EQ(form->Item("vC"), nullptr);
    Mostra();
    form.reset();
    QTest::keyClicks(boxes[0], "abc");
    Tab();
    EXPECT_EQ(boxes[0]->text(), "abc");  // no longer wrapped: left as typed
}

TEST_F(Finestra, AHandlerMayCloseTheWindowThatWatchesIt)
{
    auto* form = new CForm;
    form->SetVbForm(&window);
    form->SetLostFocusHandler(boxes[0], [&] {
        delete form;  // the window ends inside its own handler
    });
    Mostra();
    QTest::keyClicks(boxes[0], "abc");
    Tab();
    EXPECT_EQ(boxes[0]->text(), "ABC");
    EXPECT_EQ(Sfondo(boxes[0]), Bianco);
}
