#include "app/backup/FSalva.h"

#include "app/backup/FormatoBackup.h"
#include "app/backup/LimitiBackup.h"
#include "app/backup/LeggiBackup.h"
#include "app/backup/NomiBackup.h"
#include "app/backup/Ripristino.h"
#include "app/backup/ScriviBackup.h"
#include "app/backup/SoggettiBackup.h"
#include "app/core/CartelleProgramma.h"
#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "app/widgets/EtichettaRidotta.h"
#include "app/widgets/Finestre.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quercino {

namespace {

constexpr int MassimoBarra = 1000;
// How often the window's events run while a restore works without rows to count: well
// within what a user takes for an answer.
constexpr qint64 IntervalloEventiMs = 50;

QString Oggi()
{
    return DataSalvataggioDi(QDate::currentDate());
}

RichiestaFile RichiestaBackup(const QString& titolo, const QString& nomeFile)
{
    RichiestaFile richiesta;
    richiesta.titolo = titolo;
    richiesta.cartella = CartellaDesktop();
    richiesta.nomeFile = nomeFile;
    richiesta.filtri << FiltroBackup;
    return richiesta;
}

// The run's connection, or a message saying it is missing.
Database* Connessione()
{
    if (!Cnn)
        MsgBox(QStringLiteral("Nessun database aperto: operazione annullata"), Pulsanti::Ok, Icona::Critica,
               QStringLiteral("Errore"));
    return Cnn;
}

} // namespace

// The rows of a backup or a restore let window events run (the progress display moves):
// meanwhile the window's buttons, Esc and the close box must neither start a second run
// inside the first nor close the window under it.
class FSalva::Occupazione {
public:
    explicit Occupazione(FSalva& finestra) : f_(finestra) { Imposta(true); }
    ~Occupazione() { Imposta(false); }
    Occupazione(const Occupazione&) = delete;
    Occupazione& operator=(const Occupazione&) = delete;

private:
    void Imposta(bool occupata)
    {
        f_.occupata_ = occupata;
        for (QWidget* controllo : {static_cast<QWidget*>(f_.bconferma_), static_cast<QWidget*>(f_.saveAll_),
                                   static_cast<QWidget*>(f_.bannulla_), static_cast<QWidget*>(f_.crip_)})
            controllo->setEnabled(!occupata);
    }

    FSalva& f_;
};

FSalva::FSalva(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FSalva"));
    setWindowTitle(QStringLiteral("BackUp"));
    setModal(true);

    label1_ = new QLabel(TitoloApertura, this);
    QFont grande = label1_->font();
    grande.setBold(true);
    grande.setPointSizeF(grande.pointSizeF() * 1.3);
    label1_->setFont(grande);
    label1_->setAlignment(Qt::AlignCenter);
    label2_ = new EtichettaRidotta(this);
    label2_->setAlignment(Qt::AlignCenter);
    label2_->setMinimumHeight(label2_->fontMetrics().height());
    label3_ = new QLabel(DomandaRipristino, this);
    label3_->setWordWrap(true);
    label3_->setAlignment(Qt::AlignCenter);
    label16_ = new QLabel(QStringLiteral("In elaborazione.."), this);
    perc_ = new QLineEdit(this);
    perc_->setReadOnly(true);
    perc_->setAlignment(Qt::AlignRight);
    perc_->setMaximumWidth(120);
    pbar1_ = new QProgressBar(this);
    pbar1_->setTextVisible(false);
    pbar1_->setRange(0, MassimoBarra);
    crip_ = new QCheckBox(QStringLiteral("Cripta"), this);
    bconferma_ = new QPushButton(QStringLiteral("   Conferma"), this);
    saveAll_ = new QPushButton(QStringLiteral("Salva TUTTI"), this);
    bannulla_ = new QPushButton(this);
    bannulla_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    bannulla_->setAutoDefault(false);

    auto* avanzamento = new QHBoxLayout;
    avanzamento->addWidget(label16_);
    avanzamento->addWidget(perc_);
    avanzamento->addStretch();

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(crip_);
    pulsanti->addStretch();
    pulsanti->addWidget(bconferma_);
    pulsanti->addWidget(saveAll_);
    pulsanti->addWidget(bannulla_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(label2_);
    layout->addWidget(label3_);
    layout->addLayout(avanzamento);
    layout->addWidget(pbar1_);
    layout->addLayout(pulsanti);

    // One size for every use: what is hidden keeps its place, and the size is fixed with
    // everything shown, so no label is ever clipped and the window never jumps.
    for (QWidget* nascosto : {static_cast<QWidget*>(label3_), static_cast<QWidget*>(label16_),
                              static_cast<QWidget*>(perc_), static_cast<QWidget*>(pbar1_)}) {
        QSizePolicy politica = nascosto->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        nascosto->setSizePolicy(politica);
    }
    // The question at its tallest: several declarants, a line each.
    label3_->setText(DomandaRipristinoPer({MassimoSoggettiBackup, QStringList(SoggettiElencati, QStringLiteral("X"))}));
    constexpr int Larghezza = 520;
    layout->activate();
    setFixedSize(Larghezza, layout->hasHeightForWidth() ? layout->totalHeightForWidth(Larghezza)
                                                        : layout->totalSizeHint().height());
    label3_->setText(DomandaRipristino);

    connect(bconferma_, &QPushButton::clicked, this, &FSalva::bconferma_Click);
    connect(saveAll_, &QPushButton::clicked, this, &FSalva::saveALL_Click);
    connect(bannulla_, &QPushButton::clicked, this, &FSalva::bannulla_Click);
}

void FSalva::Apri()
{
    Form_Load();
    if (!chiusa_)
        exec();
}

void FSalva::Form_Load()
{
    chiusa_ = false;
    CentraSullaPrincipale(this);

    label2_->clear();
    label3_->hide();
    pbar1_->hide();
    perc_->hide();
    label16_->hide();
    pbar1_->setValue(0);
    contaRighe_ = 0;
    crip_->setChecked(true);

    // The one window serves every mode of the run: each load sets its own title, or a
    // backup would open under the title of an earlier restore.
    const bool ripristino = ModoSalva == QLatin1String("R");
    label1_->setText(ripristino ? TitoloRipristina : TitoloApertura);

    dataSalvataggio_ = Oggi();
    label2_->setText(NomeOperatore);

    if (ripristino) {
        const QStringList scelti =
            ServizioDialoghiAttivo().ChiediApertura(RichiestaBackup(TitoloDialogoApri, QString()), false);
        percorsoBackup_ = scelti.isEmpty() ? QString() : scelti.front();
        // Nothing chosen: nothing to restore, the window closes.
        if (percorsoBackup_.isEmpty()) {
            Chiudi();
            return;
        }
        ControllaFile();
        if (chiusa_)
            return;
    }

    const bool tutti = !ripristino && SalvaTutti;
    saveAll_->hide();
    bconferma_->hide();
    if (tutti) {
        saveAll_->show();
        label2_->setText(QStringLiteral("(TUTTI)"));
    } else {
        bconferma_->show();
    }
    // Enter presses the button shown; a restore replaces the declarant's data: there Enter
    // answers with the cancel button.
    bconferma_->setAutoDefault(!ripristino && !tutti);
    bconferma_->setDefault(!ripristino && !tutti);
    saveAll_->setDefault(tutti);
    bannulla_->setDefault(ripristino);
    if (ripristino)
        bannulla_->setFocus();
}

void FSalva::ControllaFile()
{
    if (percorsoBackup_.isEmpty())
        return;
    IntestazioneBackup intestazione;
    SoggettiBackup soggetti;
    try {
        LettoreBackup lettore = LettoreBackup::DaFile(percorsoBackup_);
        intestazione = lettore.Intestazione();
        soggetti = ElencaSoggetti(lettore);
    } catch (const ErroreBackup& errore) {
        MsgBox(errore.messaggio());
        Chiudi();
        return;
    }
    label2_->setText(intestazione.codice + QLatin1Char(' ') + intestazione.nome);
    // Each declarant named keeps to one line, as the window's size allows for.
    QStringList righe = DomandaRipristinoPer(soggetti).split(QLatin1Char('\n'));
    const QMargins margini = layout()->contentsMargins();
    for (qsizetype i = 1; i < righe.size(); ++i)
        righe[i] = label3_->fontMetrics().elidedText(righe[i], Qt::ElideRight,
                                                     width() - margini.left() - margini.right());
    label3_->setText(righe.join(QLatin1Char('\n')));
    label3_->show();
    codiceRipristino_ = intestazione.codice;
}

void FSalva::bconferma_Click()
{
    if (occupata_)
        return;
    dataSalvataggio_ = Oggi();
    const bool ripristino = ModoSalva == QLatin1String("R");
    if (!ripristino) {
        label1_->setText(TitoloSalva);
        label2_->setText(NomeOperatore);
        QString scelto;
        do {
            scelto = ServizioDialoghiAttivo().ChiediSalvataggio(RichiestaBackup(
                TitoloDialogoSalva, NomeBackupSingolo(CodiceOperatore, NomeOperatore, dataSalvataggio_)));
            if (scelto.isEmpty())
                return;
        } while (ControlloDocumento(scelto));
        percorsoBackup_ = scelto;
    } else if (percorsoBackup_.isEmpty()) {
        return;
    }

    Database* db = Connessione();
    if (!db)
        return;
    MostraAvanzamento();
    Occupazione occupazione(*this);

    if (!ripristino) {
        ScrittoreBackup scrittore(*db);
        scrittore.cripta = crip_->isChecked();
        scrittore.avanza = [this] { AvanzaProgresso(); };
        scrittore.prosegue = [this] { Prosegui(); };
        const EsitoBackup esito = scrittore.CreaBackup(percorsoBackup_, CodiceOperatore);
        if (!esito.riuscito) {
            MsgBox(MessaggioBackupFallito(esito), Pulsanti::Ok, Icona::Critica, QStringLiteral("Errore"));
            return;
        }
        Completato();
        MsgBox(QStringLiteral("Creazione file di BackUP terminata") + NoteBackup(esito));
    } else {
        Ripristino ripristina(*db, CartellaProgramma());
        ripristina.cripta = crip_->isChecked();
        ripristina.tipoDb = TipoDb;
        ripristina.avanza = [this] { AvanzaProgresso(); };
        ripristina.prosegue = [this] { Prosegui(); };
        ripristina.segnalaCampo = [](const QString& testo) { MsgBox(testo); };
        // The progress shows before the first line is read.
        QApplication::processEvents();
        ultimiEventi_.start();
        const EsitoRipristino esito = ripristina.Ripristina(percorsoBackup_);
        if (!esito.riuscito) {
            MsgBox(MessaggioRipristinoFallito(esito), Pulsanti::Ok, Icona::Critica, QStringLiteral("Errore"));
        } else {
            Completato();
            MsgBox(QStringLiteral("Ripristino terminato") + esito.note);
        }
    }
    Chiudi();
}

void FSalva::saveALL_Click()
{
    if (occupata_)
        return;
    if (cartellaTutti_.isEmpty())
        ScegliCartella();
    // The folder dialog cancelled: nothing is written.
    if (cartellaTutti_.isEmpty())
        return;
    percorsoBackup_ = cartellaTutti_ + NomeBackupTutti(dataSalvataggio_);
    Database* db = Connessione();
    if (!db)
        return;
    ScrittoreBackup scrittore(*db);
    scrittore.cripta = crip_->isChecked();
    scrittore.avanza = [this] { AvanzaProgresso(); };
    scrittore.prosegue = [this] { Prosegui(); };
    EsitoBackup esito;
    {
        Occupazione occupazione(*this);
        esito = scrittore.CreaBackup(percorsoBackup_, QString());
    }
    if (!esito.riuscito) {
        // The folder may be gone: the next attempt asks for it again.
        cartellaTutti_.clear();
        MsgBox(MessaggioBackupFallito(esito), Pulsanti::Ok, Icona::Critica, QStringLiteral("Errore"));
        return;
    }
    Completato();
    MsgBox(QStringLiteral("Salvataggio terminato") + NoteBackup(esito));
    SalvaTutti = false;
    Chiudi();
}

void FSalva::ScegliCartella()
{
    dataSalvataggio_ = Oggi();
    cartellaTutti_.clear();
    label1_->setText(TitoloSalva);
    label2_->setText(QStringLiteral("(TUTTI)"));
    const QString scelto = ServizioDialoghiAttivo().ChiediSalvataggio(
        RichiestaBackup(TitoloDialogoSalva, QStringLiteral("(TUTTI)")));
    if (scelto.isEmpty())
        return;
    // Only the folder of the chosen path counts, whatever name the user left in it.
    const QString cartella = CartellaDi(scelto);
    if (cartella.isEmpty())
        return;
    cartellaTutti_ = cartella.endsWith(QLatin1Char('/')) ? cartella : cartella + QLatin1Char('/');
}

void FSalva::AvanzaProgresso()
{
    Avanza();
    ++contaRighe_;
    perc_->setText(QString::number(contaRighe_));
    QApplication::processEvents();
    ultimiEventi_.start();
}

void FSalva::Prosegui()
{
    if (ultimiEventi_.isValid() && ultimiEventi_.elapsed() < IntervalloEventiMs)
        return;
    Avanza();
    QApplication::processEvents();
    ultimiEventi_.start();
}

void FSalva::Avanza()
{
    int valore = pbar1_->value() + 1;
    if (valore >= MassimoBarra)
        valore = 1;
    pbar1_->setValue(valore);
}

void FSalva::Completato()
{
    pbar1_->setValue(pbar1_->maximum());
}

void FSalva::bannulla_Click()
{
    if (occupata_)
        return;
    Chiudi();
}

void FSalva::reject()
{
    if (occupata_)
        return;
    Chiudi();
}

void FSalva::MostraAvanzamento()
{
    label16_->show();
    perc_->show();
    pbar1_->setValue(0);
    pbar1_->show();
}

void FSalva::Chiudi()
{
    chiusa_ = true;
    QDialog::done(QDialog::Rejected);
}

} // namespace quercino
