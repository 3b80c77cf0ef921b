#include "declarants/import/FImpEX.h"

#include "app/core/Globals.h"
#include "app/widgets/EtichettaRidotta.h"
#include "declarants/import/SelezioneImportazione.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quercino {

namespace {

// The window is repainted and kept responsive at least this often while an import runs.
constexpr qint64 IntervalloEventiMs = 50;
// What a title bar takes beside its caption: the icon, three buttons and the margins.
constexpr int SpazioBarraTitolo = 160;

void Grassetto(QWidget* w, bool attivo)
{
    QFont f = w->font();
    f.setBold(attivo);
    w->setFont(f);
}

} // namespace

FImpEX::FImpEX(importazione::SorgenteDichiarante& sorgente, QWidget* parent) : QDialog(parent), sorgente_(sorgente)
{
    Costruisci();
    // Form_Load
    vRAG_->setText(NomeOperatore);
    tpE_->setChecked(true);
    EvidenziaTipoE();
    ineF_->hide();
}

void FImpEX::Costruisci()
{
    setWindowTitle(QStringLiteral("Seleziona foglio EXCEL o CSV per ELABORAZIONE DATI FATTURE"));
    setModal(true);
    auto* principale = new QVBoxLayout(this);

    // A name or a path of any length never widens the window past the screen.
    vRAG_ = new EtichettaRidotta(this);
    vRAG_->setObjectName(QStringLiteral("vRAG"));
    Grassetto(vRAG_, true);
    principale->addWidget(vRAG_);

    Frame2_ = new QGroupBox(QStringLiteral(" IMPOSTAZIONI"), this);
    Frame2_->setObjectName(QStringLiteral("Frame2"));
    auto* impostazioni = new QHBoxLayout(Frame2_);
    tpE_ = new QRadioButton(QStringLiteral("EXCEL"), Frame2_);
    tpE_->setObjectName(QStringLiteral("tpE"));
    tpC_ = new QRadioButton(QStringLiteral("CSV"), Frame2_);
    tpC_->setObjectName(QStringLiteral("tpC"));
    auto* Label1 = new QLabel(QStringLiteral("Carattere Separatore:"), Frame2_);
    vCarSep_ = new QLineEdit(QStringLiteral(";"), Frame2_);
    vCarSep_->setObjectName(QStringLiteral("vCarSep"));
    vCarSep_->setMaximumWidth(40);
    impostazioni->addWidget(tpE_);
    impostazioni->addWidget(tpC_);
    impostazioni->addStretch();
    impostazioni->addWidget(Label1);
    impostazioni->addWidget(vCarSep_);
    principale->addWidget(Frame2_);

    auto* pulsanti = new QHBoxLayout;
    IMPORT_ = new QPushButton(QStringLiteral("      >>>  CREA FILE XML"), this);
    IMPORT_->setObjectName(QStringLiteral("IMPORT"));
    bannulla_ = new QPushButton(QStringLiteral("Annulla"), this);
    bannulla_->setObjectName(QStringLiteral("bannulla"));
    pulsanti->addWidget(IMPORT_);
    pulsanti->addStretch();
    pulsanti->addWidget(bannulla_);
    principale->addLayout(pulsanti);

    ineF_ = new QGroupBox(QStringLiteral("In elaborazione..."), this);
    ineF_->setObjectName(QStringLiteral("ineF"));
    auto* avanzamento = new QVBoxLayout(ineF_);
    ineNome_ = new EtichettaRidotta(ineF_, Qt::ElideMiddle);
    ineNome_->setObjectName(QStringLiteral("ineNome"));
    ineR_ = new QLabel(ineF_);
    ineR_->setObjectName(QStringLiteral("ineR"));
    barra_ = new QProgressBar(ineF_);
    barra_->setRange(0, 0);   // the number of rows is known only at the end
    avanzamento->addWidget(ineNome_);
    avanzamento->addWidget(ineR_);
    avanzamento->addWidget(barra_);
    principale->addWidget(ineF_);

    connect(tpE_, &QRadioButton::clicked, this, &FImpEX::EvidenziaTipoE);
    connect(tpC_, &QRadioButton::clicked, this, &FImpEX::EvidenziaTipoC);
    connect(IMPORT_, &QPushButton::clicked, this, &FImpEX::SelIMPORTA);
    connect(bannulla_, &QPushButton::clicked, this, &FImpEX::reject);
    tpE_->installEventFilter(this);
    tpC_->installEventFilter(this);

    // The caption is long: the window is wide enough for a title bar to show it whole, in
    // bold, beside the bar's icon and buttons.
    QFont titolo = font();
    titolo.setBold(true);
    setMinimumWidth(QFontMetrics(titolo).horizontalAdvance(windowTitle()) + SpazioBarraTitolo);
}

void FImpEX::EvidenziaTipoE()
{
    Grassetto(tpE_, tpE_->isChecked());
    Grassetto(tpC_, tpC_->isChecked());
}

void FImpEX::EvidenziaTipoC()
{
    EvidenziaTipoE();
}

bool FImpEX::eventFilter(QObject* oggetto, QEvent* evento)
{
    // A double click on an option chooses it and starts the selection at once.
    if (evento->type() == QEvent::MouseButtonDblClick && (oggetto == tpE_ || oggetto == tpC_) && !inCorso_) {
        static_cast<QRadioButton*>(oggetto)->setChecked(true);
        EvidenziaTipoE();
        SelIMPORTA();
        return true;
    }
    return QDialog::eventFilter(oggetto, evento);
}

void FImpEX::Abilita(bool attivo)
{
    IMPORT_->setEnabled(attivo);
    bannulla_->setEnabled(attivo);
    Frame2_->setEnabled(attivo);
}

void FImpEX::MostraRiga(std::int32_t riga)
{
    ineR_->setText(QString::number(riga));
    if (!ultimoAggiornamento_.isValid() || ultimoAggiornamento_.elapsed() >= IntervalloEventiMs) {
        QCoreApplication::processEvents();
        ultimoAggiornamento_.restart();
    }
}

void FImpEX::SelIMPORTA()
{
    if (inCorso_)
        return;
    inCorso_ = true;
    Abilita(false);
    // Whatever ends the import, even an error shown by the application object, the window
    // can be used and closed again.
    struct Fine {
        FImpEX& finestra;
        ~Fine()
        {
            finestra.inCorso_ = false;
            finestra.Abilita(true);
        }
    } fine{*this};
    importazione::Avanzamento avanzamento;
    avanzamento.Inizio = [this](const QString& percorso) {
        ineF_->setTitle(QStringLiteral("In elaborazione..."));
        ineNome_->setText(percorso);
        ineR_->clear();
        ineF_->show();
        QCoreApplication::processEvents();
        ultimoAggiornamento_.restart();
    };
    avanzamento.Creazione = [this] {
        if (tpE_->isChecked())
            ineF_->setTitle(QStringLiteral("Creazione File XML ."));
    };
    avanzamento.Riga = [this](std::int32_t riga) { MostraRiga(riga); };
    const auto tipo = tpE_->isChecked() ? importazione::TipoFile::Excel : importazione::TipoFile::Csv;
    esiti_ = importazione::SelIMPORTA(tipo, vCarSep_->text(), sorgente_, avanzamento);
    // An empty separator refused before the dialog leaves the window open to correct it.
    if (tipo == importazione::TipoFile::Csv && vCarSep_->text().isEmpty())
        return;
    accept();
}

void FImpEX::closeEvent(QCloseEvent* evento)
{
    if (inCorso_) {
        evento->ignore();
        return;
    }
    QDialog::closeEvent(evento);
}

void FImpEX::reject()
{
    if (!inCorso_)
        QDialog::reject();
}

} // namespace quercino
