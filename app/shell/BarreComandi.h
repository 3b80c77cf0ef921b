#pragma once
// The items of the main window's menu bar and toolbars: exact captions, command IDs,
// groups, styles and hint texts, and the building of the Qt bars from them.

#include <QString>

#include <vector>

class QAction;
class QIcon;
class QMenu;
class QObject;
class QToolBar;

namespace quercino {

// Button styles of the bars.
inline constexpr int StileAutomatico = 0;
inline constexpr int StileIconaETesto = 3;

struct VoceComando {
    QString caption;
    int id = 0;
    bool gruppo = false;            // a separator line before it
    int stile = StileAutomatico;
    QString suggerimento;           // hint text, shown as tooltip
};

// Command IDs.
namespace comando {
inline constexpr int Registra = 700;
inline constexpr int Aggiungi = 701;
inline constexpr int Elimina = 702;
inline constexpr int Documenti = 706;
inline constexpr int Esci = 708;
inline constexpr int Versione = 712;
inline constexpr int Assistenza = 713;
inline constexpr int Salva = 721;
inline constexpr int Ripristina = 722;
inline constexpr int SitoVorn = 726;
inline constexpr int AssistenzaRemota = 727;
inline constexpr int SoggettiObbligati = 802;
inline constexpr int Fogli = 818;
} // namespace comando

const std::vector<VoceComando>& VociFunzioni();   // pop-up "Funzioni"
const std::vector<VoceComando>& VociAiuto();      // pop-up "Aiuto"
const std::vector<VoceComando>& VociArchivi();    // toolbar "Archivi"
const std::vector<VoceComando>& VociBase();       // toolbar "Base"

// Properties every action carries, read by the dispatcher.
inline constexpr const char* ProprietaId = "quercinoId";
inline constexpr const char* ProprietaCaption = "quercinoCaption";

// The icon of a command ID: the desktop theme's icon, else one of Qt's standard icons.
QIcon IconaComando(int id);

// Adds one action for the item to the menu or toolbar (separator first when it begins a
// group), with its ID and exact caption as properties; returns it (owned by `padre`).
QAction* AggiungiControllo(QMenu* menu, const VoceComando& voce, QObject* padre);
QAction* AggiungiControllo(QToolBar* barra, const VoceComando& voce, QObject* padre);

} // namespace quercino
