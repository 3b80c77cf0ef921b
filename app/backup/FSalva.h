#pragma once
// The backup and restore window: "Salva Dati (singolo)" and "Salva Dati (tutti)" write a
// backup file, "Ripristina Dati" asks for a file at once, shows whose data it holds and
// restores it on confirmation. The work is done by ScrittoreBackup and Ripristino; the
// window asks, shows progress and reports. The program keeps one window for the run, so
// the all-declarants folder chosen once is kept.

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quercino {

class FSalva final : public QDialog {
    Q_OBJECT
public:
    explicit FSalva(QWidget* parent = nullptr);

    // Loads the window in the mode of `ModoSalva`/`SalvaTutti` and shows it modally,
    // unless loading already closed it (restore cancelled or not a backup file).
    void Apri();

    // The window's procedures and handlers, reachable for the tests.
    void Form_Load();
    void bconferma_Click();
    void saveALL_Click();
    void bannulla_Click();
    void ControllaFile();
    void ScegliCartella();
    void AvanzaProgresso();
    // While a restore works without rows to count (checking the file, the safety copy, the
    // deletion): the bar moves and the window's events run, a few times a second.
    void Prosegui();

    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }
    QLabel* Label3() const { return label3_; }
    QLabel* Label16() const { return label16_; }
    QLineEdit* PERC() const { return perc_; }
    QProgressBar* PBar1() const { return pbar1_; }
    QCheckBox* Crip() const { return crip_; }
    QPushButton* bconferma() const { return bconferma_; }
    QPushButton* saveALL() const { return saveAll_; }
    QPushButton* bannulla() const { return bannulla_; }

    const QString& PercorsoBackup() const { return percorsoBackup_; }
    const QString& CartellaTutti() const { return cartellaTutti_; }
    const QString& CodiceRipristino() const { return codiceRipristino_; }
    const QString& DataSalvataggio() const { return dataSalvataggio_; }
    int ContaRighe() const { return contaRighe_; }
    // True once the window has been closed since its last load.
    bool Chiusa() const { return chiusa_; }

    // True while a backup or a restore runs.
    bool Occupata() const { return occupata_; }

    // Esc and the close box: ignored while the work runs.
    void reject() override;

private:
    class Occupazione;
    void Chiudi();
    void MostraAvanzamento();
    // The work is done: the bar full as its message shows.
    void Completato();
    void Avanza();

    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label16_ = nullptr;
    QLineEdit* perc_ = nullptr;
    QProgressBar* pbar1_ = nullptr;
    QCheckBox* crip_ = nullptr;
    QPushButton* bconferma_ = nullptr;
    QPushButton* saveAll_ = nullptr;
    QPushButton* bannulla_ = nullptr;

    QString percorsoBackup_;
    QString cartellaTutti_;
    QString codiceRipristino_;
    QString dataSalvataggio_;
    int contaRighe_ = 0;
    QElapsedTimer ultimiEventi_;   // since the window's events last ran during the work
    bool chiusa_ = false;
    bool occupata_ = false;
};

// The window's titles: the one it opens with for a backup, the one a backup is confirmed
// under, and the restore's.
inline const QString TitoloApertura = QStringLiteral("Crea ARCHIVIO DI BACKUP");
inline const QString TitoloSalva = QStringLiteral("CREA ARCHIVIO DI BACKUP");
inline const QString TitoloRipristina = QStringLiteral("RIPRISTINA ARCHIVIO DI BACKUP");
inline const QString TitoloDialogoSalva = QStringLiteral("Indica dove salvare il file di backUp");
inline const QString TitoloDialogoApri = QStringLiteral("Indica il file di backUp da ripristinare");

} // namespace quercino
