// Emptying a window's fields: text boxes and combo boxes lose their text, check boxes are
// unticked, everything else stays.

#include "app/shell/PulisciCampi.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <gtest/gtest.h>

TEST(PulisciCampi, EmptiesTextAndComboBoxesAndUnticksCheckBoxes)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* testo = new QLineEdit("ROSSI", &window);
    // Fields inside frames belong to the window too.
    auto* cornice = new QGroupBox("Sede", &window);
    auto* interno = new QLineEdit("MILANO", cornice);
    new QVBoxLayout(cornice);
    cornice->layout()->addWidget(interno);
    auto* note = new QPlainTextEdit("nota", &window);
    auto* scelta = new QComboBox(&window);
    scelta->addItems({"A", "B"});
    scelta->setCurrentIndex(1);
    auto* scritta = new QComboBox(&window);
    scritta->setEditable(true);
    scritta->setEditText("libero");
    auto* spunta = new QCheckBox("Persona Fisica", &window);
    spunta->setChecked(true);
    auto* etichetta = new QLabel("Codice", &window);
    auto* opzione = new QRadioButton("NUOVI DATI", &window);
    opzione->setChecked(true);
    auto* numero = new QSpinBox(&window);
    numero->setValue(7);
    for (QWidget* w : std::initializer_list<QWidget*>{testo, cornice, note, scelta, scritta,
                                                     spunta, etichetta, opzione, numero})
        layout->addWidget(w);

    quercino::PulisciCampi(&window);

    EXPECT_EQ(testo->text(), "");
    EXPECT_EQ(interno->text(), "");
    EXPECT_EQ(note->toPlainText(), "");
    EXPECT_EQ(scelta->currentText(), "");
    EXPECT_EQ(scelta->count(), 2);  // the list itself stays
    EXPECT_EQ(scritta->currentText(), "");
    EXPECT_EQ(spunta->checkState(), Qt::Unchecked);
    EXPECT_EQ(etichetta->text(), "Codice");
    EXPECT_TRUE(opzione->isChecked());
    EXPECT_EQ(numero->value(), 7);

    quercino::PulisciCampi(nullptr);  // nothing to do, nothing breaks
}
