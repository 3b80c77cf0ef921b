// The field helpers of the windows: the field error (the message centred with blanks, the
// box red while it is up, then the focus colour and the focus back), the emptying of a
// window's fields, and the fitting of a grid's rows.

#include "app/core/Globals.h"
#include "app/widgets/AdattaRighe.h"
#include "app/widgets/ErroreCampo.h"
#include "app/widgets/PulisciCampi.h"
#include "platform/grid/Grid.h"
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
