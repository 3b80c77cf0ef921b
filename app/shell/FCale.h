#pragma once
// "Seleziona una data": a month calendar that hands the chosen date back through
// DataScelta. The caller writes the proposed date there ("dd/mm/yyyy"; empty, malformed or
// out of range means today), shows the window modally and reads DataScelta afterwards:
// the date double-clicked, the one selected when Enter or Space was pressed, or "" when
// the window was left with Esc or closed. The window object's end clears DataScelta: a
// caller that discards the window reads the date before.

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QListWidget;
class QScrollBar;
class QTableView;
class QToolButton;

namespace quercino {

class FCale : public QDialog {
    Q_OBJECT
public:
    static constexpr int AnnoMinimo = 1500;
    static constexpr int AnnoMassimo = 2500;

    explicit FCale(QWidget* parent = nullptr);
    ~FCale() override;

    // The month and year shown (1 to 12).
    int MeseMostrato() const;
    int AnnoMostrato() const;
    QDate DataIniziale() const { return iniziale_; }
    // The selected date as MyDate shows it.
    QString DataSelezionata() const;

    // Command2 / Command3: previous and next month, across the year, never past the bounds.
    void MesePrecedente();
    void MeseSuccessivo();
    // lblANNO: back to the current year, same month.
    void AnnoCorrente();
    // lstMESI: shows month 1 to 12 of the year shown.
    void SceltaMese(int mese);
    // cmdMESI and lblMESE show or hide the month list; MyDate the calendar panel.
    void MostraListaMesi();
    void MostraCalendario();

    QCalendarWidget* pctCAL() const { return pctCAL_; }
    QListWidget* lstMESI() const { return lstMESI_; }
    QLabel* MyDate() const { return MyDate_; }
    QLabel* lblMESE() const { return lblMESE_; }
    QLabel* lblANNO() const { return lblANNO_; }
    QScrollBar* VScroll1() const { return VScroll1_; }

    // The proposed date of DataScelta, or today.
    static QDate LeggiDataProposta(const QString& testo);

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ImpostaData();
    void MostraPagina(int anno, int mese);
    void AggiornaEtichette();
    void Scegli(const QString& data);
    bool CellaFuoriMese(const QPoint& punto) const;

    QDate iniziale_;
    QCalendarWidget* pctCAL_ = nullptr;
    QTableView* griglia_ = nullptr;  // the calendar's own day grid
    QListWidget* lstMESI_ = nullptr;
    QLabel* MyDate_ = nullptr;
    QLabel* lblMESE_ = nullptr;
    QLabel* lblANNO_ = nullptr;
    QLabel* Label1_ = nullptr;
    QToolButton* cmdMESI_ = nullptr;
    QToolButton* Command2_ = nullptr;
    QToolButton* Command3_ = nullptr;
    QScrollBar* VScroll1_ = nullptr;
};

} // namespace quercino
