// Emptying a window's fields: text boxes and combo boxes lose their text (frames
// included), check boxes are unticked, everything else stays.

#include "app/widgets/PulisciCampi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "support/stampa_qt.h"

#include <gtest/gtest.h>

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

    quercino::PulisciCampi(&finestra);
    quercino::PulisciCampi(nullptr);  // nothing to do, nothing breaks

    const QStringList dopo{testo->text(), interno->text(), note->toPlainText(), scelta->currentText(),
                           scritta->currentText(), etichetta->text()};
    EXPECT_EQ(dopo, (QStringList{"", "", "", "", "", "Codice"}));
    EXPECT_EQ(scelta->count(), 2);  // the list itself stays
    EXPECT_FALSE(spunta->isChecked());
    EXPECT_TRUE(opzione->isChecked());
    EXPECT_EQ(numero->value(), 7);
}
