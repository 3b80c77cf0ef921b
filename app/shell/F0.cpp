#include "app/shell/F0.h"

#include "app/core/CartelleProgramma.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/LeggiIni.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/DimensionaFinestra.h"
#include "app/shell/F0INI.h"
#include "app/shell/FVer.h"
#include "app/shell/Indirizzi.h"
#include "app/widgets/Finestre.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include <exception>

namespace quercino {

namespace {

F0* istanza = nullptr;

// The window as designed; its ratio is kept when the size follows the screen. At 4:3 the
// registry's form and buttons fit a 1366 x 768 or 1280 x 720 screen at the default share.
constexpr int LarghezzaProgettata = 1024;
constexpr int AltezzaProgettata = 768;
constexpr QSize CorniceConsueta(8, 32);

} // namespace

F0::F0(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("F0"));
    istanza = this;
    ImpostaFinestraPrincipale(this);
    area_ = new QMdiArea(this);
    area_->setBackground(palette().brush(QPalette::Dark));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    resize(LarghezzaProgettata, AltezzaProgettata);
    termine_ = [] { QCoreApplication::exit(0); };
}

F0::~F0()
{
    if (istanza == this)
        istanza = nullptr;
    if (FinestraPrincipale() == this)
        ImpostaFinestraPrincipale(nullptr);
}

F0* F0::Istanza()
{
    return istanza;
}

void F0::MDIForm_Load()
{
    CreaMenu();
    DimensionaFinestra();
    menuBar()->setVisible(false);
    archivi_->setVisible(false);
    base_->setVisible(false);
    setWindowTitle(QStringLiteral("Quercino  ") + Release);
    if (!benvenuto_) {
        benvenuto_ = new F0INI(this);
        connect(benvenuto_, &F0INI::Entra, this, &F0::MostraBarre);
    }
    benvenuto_->show();
    // The keyboard goes to the welcome window, so Enter presses "ENTRA".
    benvenuto_->raise();
    benvenuto_->activateWindow();
}

void F0::CreaMenu()
{
    if (archivi_)
        return;
    QFont carattere = menuBar()->font();
    carattere.setPointSize(10);
    menuBar()->setFont(carattere);

    QMenu* funzioni = menuBar()->addMenu(QStringLiteral("Funzioni"));
    funzioni->setFont(carattere);
    for (const VoceComando& voce : VociFunzioni())
        azioni_ << AggiungiControllo(funzioni, voce, this);
    QMenu* aiuto = menuBar()->addMenu(QStringLiteral("Aiuto"));
    aiuto->setFont(carattere);
    for (const VoceComando& voce : VociAiuto())
        azioni_ << AggiungiControllo(aiuto, voce, this);

    archivi_ = new QToolBar(QStringLiteral("Archivi"), this);
    AggiungiBarra(archivi_, 32);
    for (const VoceComando& voce : VociArchivi())
        azioni_ << AggiungiControllo(archivi_, voce, this);
    soggetti_ = archivi_->actions().constFirst();
    soggetti_->setCheckable(true);

    base_ = new QToolBar(QStringLiteral("Base"), this);
    AggiungiBarra(base_, 24);
    for (const VoceComando& voce : VociBase())
        azioni_ << AggiungiControllo(base_, voce, this);

    for (QAction* azione : std::as_const(azioni_))
        connect(azione, &QAction::triggered, this, [this, azione] { Esegui(azione); });
    AbilitaSecondoIndirizzi();
}

void F0::AggiungiBarra(QToolBar* barra, int lato)
{
    barra->setObjectName(barra->windowTitle());
    barra->setIconSize(QSize(lato, lato));
    barra->setMovable(false);
    addToolBar(Qt::TopToolBarArea, barra);
}

// Commands whose address was not configured in this build cannot do anything useful.
void F0::AbilitaSecondoIndirizzi()
{
    const IndirizziProduttore& indirizzi = Indirizzi();
    for (QAction* azione : std::as_const(azioni_)) {
        const int id = azione->property(ProprietaId).toInt();
        const QString caption = azione->property(ProprietaCaption).toString();
        if (id == comando::Assistenza)
            azione->setEnabled(!indirizzi.emailAssistenza.isEmpty());
        else if (id == comando::AssistenzaRemota)
            azione->setEnabled(!indirizzi.programmaAssistenza.isEmpty()
                               || !indirizzi.paginaAssistenza.isEmpty());
        else if (caption == QLatin1String("Sito VORN - Controllo Aggiornamenti"))
            azione->setEnabled(!indirizzi.paginaAggiornamenti.isEmpty());
        else if (caption == QLatin1String("Sito VORN - News"))
            azione->setEnabled(!indirizzi.paginaNews.isEmpty());
    }
}

void F0::DimensionaFinestra()
{
    if (const QScreen* schermo = QGuiApplication::primaryScreen())
        DimensionaFinestra(schermo->size(), schermo->availableSize());
}

void F0::DimensionaFinestra(QSize schermo, QSize disponibile)
{
    // Until the window manager has framed the window its frame is not known (or reads as
    // none): room for at least an ordinary title bar and border is kept, so that the whole
    // window lies on the desktop.
    const QSize cornice = (frameGeometry().size() - size()).expandedTo(CorniceConsueta);
    const auto dimensioni =
        CalcolaDimensioni(LeggiIni(QStringLiteral("opzioni"), QStringLiteral("App_DimAuto")),
                          LeggiIni(QStringLiteral("opzioni"), QStringLiteral("App_PercLarghezza")),
                          QSize(LarghezzaProgettata, AltezzaProgettata), schermo,
                          disponibile - cornice);
    if (dimensioni)
        resize(*dimensioni);
}

void F0::MostraBarre()
{
    QCoreApplication::processEvents();
    menuBar()->setVisible(true);
    archivi_->setVisible(true);
    base_->setVisible(true);
    QCoreApplication::processEvents();
    soggetti_->setChecked(true);
    // Reached from a button: a failure must be shown here, not end the program.
    try {
        MostraAnagrafica();
    } catch (const std::exception& errore) {
        MsgBox(QString::fromUtf8(errore.what()), Pulsanti::Ok, Icona::Critica);
    }
}

void F0::Esegui(QAction* azione)
{
    CommandBars_Execute(*this, azione->property(ProprietaId).toInt(),
                        azione->property(ProprietaCaption).toString());
    // A click toggles a checkable button; its state says whether the registry is open.
    if (azione == soggetti_)
        soggetti_->setChecked(finestraAnagrafica_ && !finestraAnagrafica_->isHidden());
}

void F0::ImpostaTermine(std::function<void()> termine)
{
    termine_ = std::move(termine);
}

QString F0::NomeFinestraAttiva()
{
    QMdiSubWindow* attiva = area_->currentSubWindow();
    if (!attiva || attiva->isHidden() || !attiva->widget())
        return {};
    return attiva->widget()->objectName();
}

FinestraAnagrafica* F0::Anagrafica()
{
    return anagrafica_;
}

void F0::MostraAnagrafica()
{
    QSize progettata;
    if (!anagrafica_) {
        const CreaAnagrafica& crea = AnagraficaRegistrata();
        if (!crea)
            return;
        anagrafica_ = crea();
        if (!anagrafica_ || !anagrafica_->Finestra())
            return;
        QWidget* finestra = anagrafica_->Finestra();
        progettata = finestra->size();
        finestraAnagrafica_ = area_->addSubWindow(finestra);
        finestraAnagrafica_->setWindowIcon(IconaComando(comando::SoggettiObbligati));
        // Kept for the run: closing only hides it.
        finestraAnagrafica_->setAttribute(Qt::WA_DeleteOnClose, false);
        finestraAnagrafica_->installEventFilter(this);
        anagrafica_->ImpostaChiusuraProgramma([this] { Termina(); });
    }
    if (!finestraAnagrafica_)
        return;
    anagrafica_->Finestra()->show();
    finestraAnagrafica_->show();
    if (progettata.isValid())
        DimensionaAnagrafica(progettata);
    area_->setActiveSubWindow(finestraAnagrafica_);
    // Shown by any command, the registry's button says it is open.
    if (soggetti_)
        soggetti_->setChecked(true);
}

// The child window's contents take the size they were designed at, as far as the area
// allows; the window starts in the top-left corner, and what still does not fit can be
// scrolled into view.
void F0::DimensionaAnagrafica(QSize progettata)
{
    const QSize cornice = finestraAnagrafica_->size() - anagrafica_->Finestra()->size();
    finestraAnagrafica_->resize((progettata + cornice)
                                    .expandedTo(finestraAnagrafica_->sizeHint())
                                    .boundedTo(area_->viewport()->size())
                                    .expandedTo(finestraAnagrafica_->minimumSizeHint()));
    finestraAnagrafica_->move(0, 0);
}

void F0::ApriSalvataggio()
{
    if (const quercino::ApriSalvataggio& apri = SalvataggioRegistrato())
        apri(this);
}

void F0::MostraVersione()
{
    if (!versione_)
        versione_ = new FVer(this);
    versione_->exec();
}

bool F0::ConsentiTermine()
{
    // Unsaved edits of the registry are asked about before anything ends.
    return !anagrafica_ || anagrafica_->ConfermaModifiche();
}

void F0::Termina()
{
    if (ConsentiTermine() && termine_)
        termine_();
}

// The state of " SOGGETTI OBBLIGATI  " says whether the registry is open: closing its window
// clears it (a minimised main window hides it without closing it).
bool F0::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == finestraAnagrafica_ && evento->type() == QEvent::Hide
        && finestraAnagrafica_->isHidden())
        soggetti_->setChecked(false);
    return QMainWindow::eventFilter(oggetto, evento);
}

// Closing the main window ends the program, whatever other window is still open.
void F0::closeEvent(QCloseEvent* evento)
{
    if (!ConsentiTermine()) {
        evento->ignore();
        return;
    }
    evento->accept();
    if (termine_)
        termine_();
}

QString F0::CartellaProgramma()
{
    return quercino::CartellaProgramma();
}

} // namespace quercino
