#include "app/shell/FVer.h"

#include "app/core/Globals.h"
#include "app/shell/Assistenza.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Indirizzi.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quercino {

FVer::FVer(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FVer"));
    setWindowTitle(QStringLiteral("QUERCINO - Versione"));
    setModal(true);

    auto* immagine = new QLabel(this);
    immagine->setPixmap(IconaComando(comando::Versione).pixmap(48, 48));

    versione_ = new QLabel(QStringLiteral("Versione 1.0"), this);
    versione_->setObjectName(QStringLiteral("Versione"));
    QFont grassetto = versione_->font();
    grassetto.setBold(true);
    versione_->setFont(grassetto);
    nrel_ = new QLabel(QStringLiteral("Release 0"), this);
    nrel_->setObjectName(QStringLiteral("Nrel"));

    auto* contatti = new QLabel(QStringLiteral("Contatti "), this);
    contatti->setFont(grassetto);
    etichettaCommerciale_ = new QLabel(QStringLiteral("Ufficio Commerciale:"), this);
    etichettaTecnico_ = new QLabel(QStringLiteral("Ufficio Tecnico:"), this);

    pushButton1_ = new QPushButton(Indirizzi().emailCommerciale, this);
    pushButton1_->setObjectName(QStringLiteral("PushButton1"));
    pushButton2_ = new QPushButton(Indirizzi().emailAssistenza, this);
    pushButton2_->setObjectName(QStringLiteral("PushButton2"));
    bannulla_ = new QPushButton(QStringLiteral("Chiudi"), this);
    bannulla_->setObjectName(QStringLiteral("bannulla"));
    bannulla_->setDefault(true);
    connect(pushButton1_, &QPushButton::clicked, this, &FVer::PushButton1_Click);
    connect(pushButton2_, &QPushButton::clicked, this, &FVer::PushButton2_Click);
    connect(bannulla_, &QPushButton::clicked, this, &FVer::bannulla_Click);

    // An office without a configured address offers no button.
    const bool commerciale = !Indirizzi().emailCommerciale.isEmpty();
    const bool tecnico = !Indirizzi().emailAssistenza.isEmpty();
    etichettaCommerciale_->setVisible(commerciale);
    pushButton1_->setVisible(commerciale);
    etichettaTecnico_->setVisible(tecnico);
    pushButton2_->setVisible(tecnico);
    contatti->setVisible(commerciale || tecnico);

    auto* testi = new QVBoxLayout;
    testi->addWidget(versione_);
    testi->addWidget(nrel_);
    auto* intestazione = new QHBoxLayout;
    intestazione->addWidget(immagine, 0, Qt::AlignTop);
    intestazione->addSpacing(12);
    intestazione->addLayout(testi, 1);

    auto* griglia = new QGridLayout;
    griglia->addWidget(contatti, 0, 0, 1, 2);
    griglia->addWidget(etichettaCommerciale_, 1, 0);
    griglia->addWidget(pushButton1_, 1, 1);
    griglia->addWidget(etichettaTecnico_, 2, 0);
    griglia->addWidget(pushButton2_, 2, 1);

    auto* chiusura = new QHBoxLayout;
    chiusura->addStretch();
    chiusura->addWidget(bannulla_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(intestazione);
    layout->addSpacing(12);
    layout->addLayout(griglia);
    layout->addSpacing(12);
    layout->addLayout(chiusura);
    setMinimumWidth(380);
}

void FVer::Form_Load()
{
    nrel_->setText(Release);
    versione_->setText(VersioneProgramma);
}

void FVer::showEvent(QShowEvent* evento)
{
    Form_Load();
    QDialog::showEvent(evento);
}

// A failure is reported like the support command's and the program keeps running.
void FVer::PushButton1_Click()
{
    ComponiEmail(Indirizzi().emailCommerciale, OggettoEmailVersione);
}

void FVer::PushButton2_Click()
{
    ComponiEmail(Indirizzi().emailAssistenza, OggettoEmailVersione);
}

void FVer::bannulla_Click()
{
    close();
}

} // namespace quercino
