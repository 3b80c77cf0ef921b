#include "app/widgets/FTABR.h"

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/widgets/ErroreCampo.h"
#include "app/widgets/RicercaTabelle.h"
#include "platform/db/Database.h"
#include "platform/grid/Grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quercino {

namespace {

// The list's rows, 19 pixels high, fit one line of its text.
constexpr int AltezzaRiga = 19;

} // namespace

FTABR::FTABR(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FTABR"));
    setWindowTitle(QStringLiteral("Ricerca Tabelle"));

    vtabella_ = new QLineEdit(this);
    vtabella_->setObjectName(QStringLiteral("vtabella"));
    vtabella_->setReadOnly(true);
    vtabella_->setFocusPolicy(Qt::NoFocus);
    vtabella_->setAlignment(Qt::AlignCenter);
    QFont titolo = vtabella_->font();
    titolo.setBold(true);
    titolo.setPointSizeF(titolo.pointSizeF() * 1.2);
    vtabella_->setFont(titolo);
    QPalette colori = vtabella_->palette();
    colori.setColor(QPalette::Base, QColor(0, 64, 128));
    colori.setColor(QPalette::Text, Qt::white);
    vtabella_->setPalette(colori);

    etichettaRicerca_ = new QLabel(QStringLiteral("Ricerca all'interno della tabella"), this);
    ricerca_ = new QLineEdit(this);
    ricerca_->setObjectName(QStringLiteral("ricerca"));
    etichettaRicerca_->setBuddy(ricerca_);
    Bcerca_ = new QPushButton(QStringLiteral("Cerca"), this);
    Bcerca_->setObjectName(QStringLiteral("Bcerca"));
    Bcerca_->setDefault(true);
    BAnnullaCerca_ = new QPushButton(QStringLiteral("Reset"), this);
    BAnnullaCerca_->setObjectName(QStringLiteral("BAnnullaCerca"));
    BAnnullaCerca_->setAutoDefault(false);
    cmdChiudi_ = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdChiudi_->setObjectName(QStringLiteral("cmdChiudi"));
    cmdChiudi_->setAutoDefault(false);

    igTAB_ = new Grid(this);
    igTAB_->setObjectName(QStringLiteral("igTAB"));

    auto* barra = new QHBoxLayout;
    barra->addWidget(etichettaRicerca_);
    barra->addWidget(ricerca_, 1);
    barra->addWidget(Bcerca_);
    barra->addWidget(BAnnullaCerca_);
    auto* fondo = new QHBoxLayout;
    fondo->addStretch(1);
    fondo->addWidget(cmdChiudi_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vtabella_);
    layout->addLayout(barra);
    layout->addWidget(igTAB_, 1);
    layout->addLayout(fondo);
    resize(840, 520);

    connect(Bcerca_, &QPushButton::clicked, this, &FTABR::Bcerca_Click);
    connect(BAnnullaCerca_, &QPushButton::clicked, this, &FTABR::BAnnullaCerca_Click);
    connect(cmdChiudi_, &QPushButton::clicked, this, &FTABR::cmdChiudi_Click);
    connect(igTAB_, &Grid::DblClick, this, &FTABR::igTAB_DblClick);

    // Load: title, no answer yet, the whole list.
    vtabella_->setText(TitoloRicerca(TabellaRicerca));
    CodiceScelto.clear();
    DescrizioneScelta.clear();
    CaricaTabella();
    ricerca_->setFocus();
}

void FTABR::Bcerca_Click()
{
    if (ricerca_->text().trimmed().isEmpty()) {
        ErroreCampo(ricerca_, QStringLiteral("Indicare un valore da cercare all'interno della tabella"));
        return;
    }
    cerca_ = ricerca_->text();
    CaricaTabella();
}

void FTABR::BAnnullaCerca_Click()
{
    cerca_.clear();
    CaricaTabella();
}

void FTABR::cmdChiudi_Click()
{
    reject();
}

void FTABR::igTAB_DblClick()
{
    const int riga = igTAB_->CurrentRow();
    if (riga == 0)
        return;
    CodiceScelto = igTAB_->CellText(riga, QStringLiteral("COD"));
    DescrizioneScelta = igTAB_->CellText(riga, QStringLiteral("DES"));
    accept();
}

void FTABR::CaricaTabella()
{
    if (OrdineRicerca.trimmed().isEmpty())
        OrdineRicerca = QStringLiteral("DES");
    // Each search applies once: the next refresh lists the whole kind again.
    const QString cerca = cerca_;
    cerca_.clear();

    igTAB_->Clear();
    igTAB_->SetDefaultRowHeight(AltezzaRiga);
    igTAB_->BeginUpdate();
    QFont intestazione(QStringLiteral("Tahoma"));
    intestazione.setBold(true);
    igTAB_->SetHeaderFont(intestazione);
    igTAB_->AddColumn(QStringLiteral("COD"), QStringLiteral("Codice"), 40);
    igTAB_->AddColumn(QStringLiteral("DES"), QStringLiteral("Descrizione"), 750);
    igTAB_->EndUpdate();

    if (Cnn == nullptr) {
        MsgBox(QStringLiteral("Nessuna connessione al database."), Pulsanti::Ok, Icona::Critica,
               QStringLiteral("Errore"));
        return;
    }
    try {
        const std::vector<VoceTabella> voci = CaricaVoci(*Cnn, TabellaRicerca, OrdineRicerca, cerca);
        QList<QVariantList> righe;
        righe.reserve(static_cast<qsizetype>(voci.size()));
        for (const VoceTabella& voce : voci)
            righe.append({voce.codice, voce.descrizione});
        igTAB_->Fill({QStringLiteral("COD"), QStringLiteral("DES")}, righe);
    } catch (const DbError& errore) {
        MsgBox(errore.description(), Pulsanti::Ok, Icona::Critica, QStringLiteral("Errore"));
    }
}

void MostraFTABR(QWidget* parent)
{
    FTABR finestra(parent);
    finestra.exec();
}

} // namespace quercino
