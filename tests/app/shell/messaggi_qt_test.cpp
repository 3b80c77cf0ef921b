// The on-screen message boxes and task dialog: what the user sees (texts, icon, Italian
// buttons) and what pressing each button answers.

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/MessaggiQt.h"
#include "app/shell/Traduzione.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class MessaggiQtTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(CaricaTraduzioneItaliana(*QCoreApplication::instance()));
    }
    void SetUp() override { UsaMessaggiQt(); }
    void TearDown() override { ImpostaServizioMessaggi(nullptr); }

    // Runs `azione` on the box as soon as it shows.
    void AlMostrarsi(std::function<void(QMessageBox&)> azione)
    {
        QTimer::singleShot(0, [azione] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            azione(*box);
        });
    }
};

QStringList Testi(const QMessageBox& box)
{
    QStringList testi;
    for (QAbstractButton* pulsante : box.buttons())
        testi << pulsante->text().remove('&');
    testi.sort();
    return testi;
}

QAbstractButton* Pulsante(QMessageBox& box, const QString& testo)
{
    for (QAbstractButton* pulsante : box.buttons()) {
        if (pulsante->text().remove('&') == testo)
            return pulsante;
    }
    return nullptr;
}

} // namespace

TEST_F(MessaggiQtTest, SiNoInItaliano)
{
    AlMostrarsi([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Chiudi");
        EXPECT_EQ(box.text(), "Vuoi chiudere il programma?");
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(Testi(box), (QStringList{"No", "Sì"}));
        Pulsante(box, "No")->click();
    });
    EXPECT_EQ(MsgBox("Vuoi chiudere il programma?", Pulsanti::SiNo, Icona::Domanda, "Chiudi"),
              RispostaNo);

    AlMostrarsi([](QMessageBox& box) { Pulsante(box, "Sì")->click(); });
    EXPECT_EQ(MsgBox("Vuoi chiudere il programma?", Pulsanti::SiNo), RispostaSi);
}

TEST_F(MessaggiQtTest, OkAnnullaEDefaultTitle)
{
    AlMostrarsi([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Quercino");
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        // CR LF of the program's texts shown as single line ends.
        EXPECT_EQ(box.text(), "uno\n \ndue");
        EXPECT_EQ(Testi(box), (QStringList{"Annulla", "OK"}));
        Pulsante(box, "Annulla")->click();
    });
    EXPECT_EQ(MsgBox("uno\r\n \r\ndue", Pulsanti::OkAnnulla, Icona::Informazione), RispostaAnnulla);

    AlMostrarsi([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(MsgBox("x", Pulsanti::OkAnnulla), RispostaAnnulla);
}

TEST_F(MessaggiQtTest, TaskDialogNumeraIPulsantiENonSiChiudeAltrimenti)
{
    RispostaTask = 1001;
    AlMostrarsi([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Richiesta di conferma");
        EXPECT_EQ(box.text(), "Confermi al creazione di una comunicazione di ANNULLAMENTO?");
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        ASSERT_EQ(box.buttons().size(), 2);
        EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        // Escape and the close request leave it open.
        QTest::keyClick(&box, Qt::Key_Escape);
        box.close();
        QTimer::singleShot(0, [&box] {
            EXPECT_TRUE(box.isVisible());
            Pulsante(box, "NO")->click();
        });
    });
    MostraMessaggio("Richiesta di conferma",
                    "Confermi al creazione di una comunicazione di ANNULLAMENTO?", 5,
                    "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 1002);
}

TEST_F(MessaggiQtTest, TaskDialogTerzoPulsante)
{
    AlMostrarsi([](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        QStringList ordine;
        for (QAbstractButton* pulsante : box.buttons())
            ordine << pulsante->text();
        EXPECT_EQ(ordine.size(), 3);
        Pulsante(box, "Vai al Portale dell'Agenzia")->click();
    });
    MostraMessaggio("File XML creato", "testo", 3, "OK Chiudi", "Controlla LOG",
                    "Vai al Portale dell'Agenzia");
    EXPECT_EQ(RispostaTask, 1003);
}
