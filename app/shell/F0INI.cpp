#include "app/shell/F0INI.h"

#include "app/core/Globals.h"
#include "app/core/ScriviLog.h"
#include "app/shell/BarreComandi.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quercino {


F0INI::F0INI(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("F0INI"));
    setWindowTitle(QStringLiteral("Benvenuto"));
    setModal(false);
    // No close box: leaving the welcome window any other way would leave the program
    // without its menus.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* immagine = new QLabel(this);
    immagine->setPixmap(IconaComando(comando::SoggettiObbligati).pixmap(64, 64));
    immagine->setAlignment(Qt::AlignCenter);

    auto* titolo = new QLabel(QStringLiteral("Quercino"), this);
    QFont grande = titolo->font();
    grande.setPointSize(grande.pointSize() * 2);
    grande.setBold(true);
    titolo->setFont(grande);
    titolo->setAlignment(Qt::AlignCenter);

    auto* descrizione = new QLabel(QStringLiteral("Dati Fatture - Comunicazione XML"), this);
    descrizione->setAlignment(Qt::AlignCenter);

    versione_ = new QLabel(this);
    versione_->setObjectName(QStringLiteral("Versione"));
    versione_->setAlignment(Qt::AlignCenter);
    nrel_ = new QLabel(this);
    nrel_->setObjectName(QStringLiteral("Nrel"));
    nrel_->setAlignment(Qt::AlignCenter);

    command1_ = new QPushButton(QStringLiteral("ENTRA"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setDefault(true);
    command1_->setMinimumWidth(160);
    connect(command1_, &QPushButton::clicked, this, &F0INI::Command1_Click);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(command1_);
    pulsanti->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(10);
    layout->addWidget(immagine);
    layout->addWidget(titolo);
    layout->addWidget(descrizione);
    layout->addSpacing(12);
    layout->addWidget(versione_);
    layout->addWidget(nrel_);
    layout->addSpacing(12);
    layout->addLayout(pulsanti);
    setMinimumWidth(420);
}

void F0INI::Form_Load()
{
    ScriviLog(windowTitle());
    versione_->setText(VersioneProgramma);
    nrel_->setText(Release);
}

void F0INI::showEvent(QShowEvent* evento)
{
    Form_Load();
    entrando_ = false;
    QDialog::showEvent(evento);
}

void F0INI::Command1_Click()
{
    entrando_ = true;
    hide();
    QCoreApplication::processEvents();
    emit Entra();
}

void F0INI::closeEvent(QCloseEvent* evento)
{
    if (entrando_)
        evento->accept();
    else
        evento->ignore();
}

void F0INI::reject()
{
    // Escape does not close it.
}

} // namespace quercino
