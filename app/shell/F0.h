#pragma once
// The main window: a multiple-document window with the menu bar and the toolbars
// "Archivi" and "Base", hidden until the welcome window's "ENTRA".

#include "app/shell/CommandBarsExecute.h"

#include <QList>
#include <QMainWindow>

#include <functional>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace quercino {

class F0INI;
class FVer;

class F0 final : public QMainWindow, public AmbienteComandi {
    Q_OBJECT
public:
    explicit F0(QWidget* parent = nullptr);
    ~F0() override;

    // The one main window of the run, nullptr when none exists.
    static F0* Istanza();

    // Builds the bars (hidden), sizes the window, sets the caption and shows the welcome
    // window over the main window, which must already be shown.
    void MDIForm_Load();
    // What "ENTRA" does after closing the welcome window: shows the bars, sets the state of
    // " SOGGETTI OBBLIGATI  " and opens the registry.
    void MostraBarre();

    QToolBar* BarraArchivi() const { return archivi_; }
    QToolBar* BarraBase() const { return base_; }
    QAction* AzioneSoggettiObbligati() const { return soggetti_; }
    // Every command action, menus first, in the order of the bars.
    const QList<QAction*>& Azioni() const { return azioni_; }
    QMdiArea* AreaFinestre() const { return area_; }
    F0INI* Benvenuto() const { return benvenuto_; }
    FVer* Versione() const { return versione_; }

    // What ending the program does (tests replace it); the default leaves every event loop.
    void ImpostaTermine(std::function<void()> termine);

    // AmbienteComandi
    QString NomeFinestraAttiva() override;
    FinestraAnagrafica* Anagrafica() override;
    void MostraAnagrafica() override;
    void ApriSalvataggio() override;
    void MostraVersione() override;
    // Ends the program once the registry's unsaved edits were dealt with.
    void Termina() override;
    QString CartellaProgramma() override;
    // Sizes the window from the configuration for a screen of `schermo` pixels of which the
    // desktop leaves `disponibile` to windows (the load does it for the primary screen).
    void DimensionaFinestra(QSize schermo, QSize disponibile);

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void CreaMenu();
    void DimensionaFinestra();
    void AggiungiBarra(QToolBar* barra, int lato);
    void Esegui(QAction* azione);
    void DimensionaAnagrafica(QSize progettata);
    void AbilitaSecondoIndirizzi();
    bool ConsentiTermine();

    QMdiArea* area_ = nullptr;
    QToolBar* archivi_ = nullptr;
    QToolBar* base_ = nullptr;
    QAction* soggetti_ = nullptr;
    QList<QAction*> azioni_;
    F0INI* benvenuto_ = nullptr;
    FVer* versione_ = nullptr;
    FinestraAnagrafica* anagrafica_ = nullptr;
    QMdiSubWindow* finestraAnagrafica_ = nullptr;
    std::function<void()> termine_;
};

} // namespace quercino
