// The on-screen message boxes and task dialog: what the user sees (texts, icon, Italian
// buttons) and what pressing each button answers.

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/widgets/MessaggiQt.h"
#include "app/shell/Traduzione.h"
#include "support/stampa_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class MessaggiQtTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(CaricaTraduzioneItaliana(*QCoreApplication::instance())); }
    void SetUp() override { UsaMessaggiQt(); }
    void TearDown() override { ImpostaServizioMessaggi(nullptr); }

    // When the box shows: records title, text, icon and buttons, then presses `premi`
    // (a button's text, or "Esc").
    void AlMostrarsi(const QString& premi)
    {
        QTimer::singleShot(0, [this, premi] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            QStringList pulsanti;
            for (QAbstractButton* pulsante : box->buttons())
                pulsanti << pulsante->text().remove('&');
            visto = QStringList{box->windowTitle(), box->text(), QString::number(box->icon())} + pulsanti;
            if (premi == "Esc") {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* pulsante : box->buttons())
                if (pulsante->text().remove('&') == premi)
                    pulsante->click();
        });
    }

    QStringList visto;
};

} // namespace

TEST_F(MessaggiQtTest, PulsantiInItalianoERisposte)
{
    AlMostrarsi("No");
    EXPECT_EQ(MsgBox("Vuoi chiudere il programma?", Pulsanti::SiNo, Icona::Domanda, "Chiudi"), RispostaNo);
    visto.sort();
    EXPECT_EQ(visto, (QStringList{"4", "Chiudi", "No", "Sì", "Vuoi chiudere il programma?"}));
    AlMostrarsi("Sì");
    EXPECT_EQ(MsgBox("Vuoi chiudere il programma?", Pulsanti::SiNo), RispostaSi);

    // The default title; CR LF of the program's texts shown as single line ends.
    AlMostrarsi("Annulla");
    EXPECT_EQ(MsgBox("uno\r\n \r\ndue", Pulsanti::OkAnnulla, Icona::Informazione), RispostaAnnulla);
    EXPECT_EQ(visto.mid(0, 3), (QStringList{"Quercino", "uno\n \ndue", QString::number(QMessageBox::Information)}));
    AlMostrarsi("Esc");
    EXPECT_EQ(MsgBox("x", Pulsanti::OkAnnulla), RispostaAnnulla);
}

TEST_F(MessaggiQtTest, TaskDialogNumeraIPulsantiENonSiChiudeAltrimenti)
{
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        // Escape and the close request leave it open.
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        QTimer::singleShot(0, [box] {
            EXPECT_TRUE(box->isVisible());
            box->buttons().last()->click();
        });
    });
    MostraMessaggio("Richiesta di conferma", "Confermi al creazione di una comunicazione di ANNULLAMENTO?", 5,
                    "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 1002);

    AlMostrarsi("Vai al Portale dell'Agenzia");
    MostraMessaggio("File XML creato", "testo", 3, "OK Chiudi", "Controlla LOG", "Vai al Portale dell'Agenzia");
    EXPECT_EQ(RispostaTask, 1003);
    EXPECT_EQ(visto, (QStringList{"File XML creato", "testo", QString::number(QMessageBox::Information), "OK Chiudi",
                                  "Controlla LOG", "Vai al Portale dell'Agenzia"}));
}

// Enter answers with the button the caller names as default (the first when none), so that a
// question that destroys or sends something can default to its safe answer.
TEST_F(MessaggiQtTest, InvioPremeIlPulsantePredefinito)
{
    const auto invio = [] { QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); }); };
    const struct {
        Pulsanti pulsanti;
        int predefinito;
        int atteso;
    } casi[] = {
        {Pulsanti::SiNo, 0, RispostaSi},
        {Pulsanti::SiNo, RispostaNo, RispostaNo},
        {Pulsanti::SiNoAnnulla, RispostaAnnulla, RispostaAnnulla},
        {Pulsanti::OkAnnulla, RispostaOk, RispostaOk},
    };
    for (const auto& caso : casi) {
        invio();
        EXPECT_EQ(MsgBox("?", caso.pulsanti, Icona::Domanda, "t", caso.predefinito), caso.atteso);
    }
    invio();
    MostraMessaggio("t", "?", IconaTaskDomanda, {"Si, Confermo", "NO"}, PrimoPulsanteTask + 1);
    EXPECT_EQ(RispostaTask, PrimoPulsanteTask + 1);
}
