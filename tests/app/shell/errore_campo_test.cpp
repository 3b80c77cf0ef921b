// The field error: red box while the message is up, the message centred with blanks, then
// the focus colour and the focus back on the box.

#include "app/shell/ErroreCampo.h"

#include "messaggi_registrati.h"
#include "app/core/Globals.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace quercino;

TEST(ErroreCampo, ShortMessagesAreCentredWithBlanks)
{
    // 50 - 10 / 2 = 45 on each side.
    EXPECT_EQ(CentraMessaggio("0123456789"), QString(45, ' ') + "0123456789" + QString(45, ' '));
    // Half of an odd length rounds to the even neighbour: 50 - 24.5 -> 26, 50 - 5.5 -> 44.
    const QString nove49(49, 'x');
    EXPECT_EQ(CentraMessaggio(nove49), QString(26, ' ') + nove49 + QString(26, ' '));
    EXPECT_EQ(CentraMessaggio("Undici cart"), QString(44, ' ') + "Undici cart" + QString(44, ' '));
    EXPECT_EQ(CentraMessaggio("abc"), QString(48, ' ') + "abc" + QString(48, ' '));
    EXPECT_EQ(CentraMessaggio(""), QString(100, ' '));
    // From 50 characters on the message is left as it is.
    const QString cinquanta(50, 'y');
    EXPECT_EQ(CentraMessaggio(cinquanta), cinquanta);
    EXPECT_EQ(CentraMessaggio(cinquanta + "z"), cinquanta + "z");
}

TEST(ErroreCampo, BoxIsRedDuringTheMessageThenFocusedAgain)
{
    ColoreFocus = QColor(255, 255, 192);
    ColoreNormale = QColor(255, 255, 255);
    test::MessaggiRegistrati messaggi;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* campo = new QLineEdit(&window);
    auto* altro = new QLineEdit(&window);
    layout->addWidget(campo);
    layout->addWidget(altro);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    altro->setFocus();

    QColor sfondo;
    QColor testo;
    bool aveva = false;
    messaggi.mentreMostra = [&](const Messaggio&) {
        sfondo = campo->palette().color(QPalette::Base);
        testo = campo->palette().color(QPalette::Text);
        aveva = campo->hasFocus();
    };
    QString messaggio = "Dato errato";
    ErroreCampo(campo, messaggio);

    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    const Messaggio& box = messaggi.mostrati[0];
    EXPECT_EQ(box.titolo, "Errore");
    EXPECT_EQ(box.pulsanti, Pulsanti::Ok);
    // 50 - 11 / 2 = 44.5, to the even neighbour 44.
    EXPECT_EQ(box.testo, QString(44, ' ') + "Dato errato" + QString(44, ' '));
    EXPECT_EQ(messaggio, box.testo);  // the caller's text is centred too
    EXPECT_EQ(sfondo, QColor(255, 0, 0));
    EXPECT_EQ(testo, QColor(255, 255, 255));
    EXPECT_TRUE(aveva);

    EXPECT_TRUE(campo->hasFocus());
    EXPECT_EQ(campo->palette().color(QPalette::Base), ColoreFocus);
    EXPECT_EQ(campo->palette().color(QPalette::Text),
              QApplication::palette(campo).color(QPalette::Text));
}

TEST(ErroreCampo, AMissingOrHiddenControlStillShowsTheMessage)
{
    test::MessaggiRegistrati messaggi;
    ErroreCampo(nullptr, QStringLiteral("Nessun campo"));
    QLineEdit nascosto;  // never shown: cannot take the focus
    ErroreCampo(&nascosto, QStringLiteral("Campo nascosto"));
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo.trimmed(), "Campo nascosto");
    EXPECT_FALSE(nascosto.hasFocus());
}
