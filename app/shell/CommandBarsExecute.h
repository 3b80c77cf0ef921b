#pragma once
// The one dispatcher of every menu and toolbar command, driven by the command's ID and
// caption. It reaches the main window only through AmbienteComandi, so tests can drive it
// without a screen.

#include <QString>

namespace quercino {

class FinestraAnagrafica;

class AmbienteComandi {
public:
    virtual ~AmbienteComandi() = default;
    // Name of the active child window ("F1OP"), empty when no child window is open.
    virtual QString NomeFinestraAttiva() = 0;
    // The registry window when it exists, else nullptr.
    virtual FinestraAnagrafica* Anagrafica() = 0;
    // Shows the registry as a child window, creating it on first use.
    virtual void MostraAnagrafica() = 0;
    // The backup window, modal, in the mode already set in `ModoSalva`/`SalvaTutti`.
    virtual void ApriSalvataggio() = 0;
    // The version window, modal.
    virtual void MostraVersione() = 0;
    // Ends the program (once the registry's unsaved edits were dealt with).
    virtual void Termina() = 0;
    // The program folder (holds Help/).
    virtual QString CartellaProgramma() = 0;
};

// The refusal shown while no declarant is chosen.
inline const QString TestoSenzaSoggetto =
    QStringLiteral("Compilare i dati di almeno un soggetto obbligato.");
inline const QString TitoloSenzaSoggetto = QStringLiteral("Dati Soggetto Non compilati");

void CommandBars_Execute(AmbienteComandi& ambiente, int id, const QString& caption);

// The document or sample sheet of the Help folder named by the caption's first character
// ("1", "2", "6" for 706; "3", "4", "5" for 818), relative to the program folder; empty
// when the caption names none.
QString DocumentoDiAiuto(int id, const QString& caption);

} // namespace quercino
