// The field error: the message centred with blanks, the box red while it is up, then the
// focus colour and the focus back on the box.

#include "app/widgets/ErroreCampo.h"

#include "app/core/Globals.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace quercino;

TEST(ErroreCampo, MessaggiCortiCentrati)
{
    // 50 - length / 2 blanks on each side, halves to the even neighbour; none from 50 on.
    const std::pair<QString, int> casi[] = {
        {"0123456789", 45}, {QString(49, 'x'), 26}, {"Undici cart", 44}, {"abc", 48}, {"", 50},
        {QString(50, 'y'), 0}, {QString(51, 'z'), 0}};
    for (const auto& [testo, margine] : casi)
        EXPECT_EQ(CentraMessaggio(testo), QString(margine, ' ') + testo + QString(margine, ' ')) << testo.size();
}

TEST(ErroreCampo, CampoRossoDuranteIlMessaggioPoiDiNuovoAttivo)
{
    ColoreFocus = QColor(255, 255, 192);
    test::MessaggiSimulati messaggi;
    QWidget finestra;
    auto* layout = new QVBoxLayout(&finestra);
    auto* campo = new QLineEdit(&finestra);
    auto* altro = new QLineEdit(&finestra);
    layout->addWidget(campo);
    layout->addWidget(altro);
    finestra.show();
    finestra.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
    altro->setFocus();

    QColor sfondo, testo;
    bool aveva = false;
    messaggi.mentreMostra = [&](const Messaggio&) {
        sfondo = campo->palette().color(QPalette::Base);
        testo = campo->palette().color(QPalette::Text);
        aveva = campo->hasFocus();
    };
    QString messaggio = "Dato errato";
    ErroreCampo(campo, messaggio);

    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Errore");
    EXPECT_EQ(messaggi.mostrati[0].testo, CentraMessaggio("Dato errato"));
    EXPECT_EQ(messaggio, messaggi.mostrati[0].testo);  // the caller's text is centred too
    EXPECT_EQ(sfondo, QColor(255, 0, 0));
    EXPECT_EQ(testo, QColor(255, 255, 255));
    EXPECT_TRUE(aveva);
    EXPECT_TRUE(campo->hasFocus());
    EXPECT_EQ(campo->palette().color(QPalette::Base), ColoreFocus);
    EXPECT_EQ(campo->palette().color(QPalette::Text), QApplication::palette(campo).color(QPalette::Text));

    // No control, or one that cannot take the focus: the message is shown all the same.
    ErroreCampo(nullptr, QStringLiteral("Nessun campo"));
    QLineEdit nascosto;
    ErroreCampo(&nascosto, QStringLiteral("Campo nascosto"));
    EXPECT_EQ(messaggi.mostrati.size(), 3u);
    EXPECT_FALSE(nascosto.hasFocus());
}
