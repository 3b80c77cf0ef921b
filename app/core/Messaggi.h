#pragma once
// Message boxes and the task dialog, reached through one replaceable service so that the
// program's logic can be driven by tests without a screen. The program installs the
// widget implementation at start-up (app/widgets/MessaggiQt.h); tests install a double that
// records what would be shown and answers from a script.

#include <QString>
#include <QStringList>

namespace quercino {

// The icon of a message box.
enum class Icona { Nessuna, Critica, Domanda, Attenzione, Informazione };

// The buttons of a message box.
enum class Pulsanti { Ok, OkAnnulla, InterrompiRiprovaIgnora, SiNoAnnulla, SiNo, RiprovaAnnulla };

// Answers of a message box: fixed codes, one per button, which callers keep in `Risposta`
// as decimal text.
inline constexpr int RispostaOk = 1;
inline constexpr int RispostaAnnulla = 2;
inline constexpr int RispostaInterrompi = 3;
inline constexpr int RispostaRiprova = 4;
inline constexpr int RispostaIgnora = 5;
inline constexpr int RispostaSi = 6;
inline constexpr int RispostaNo = 7;

// The default title of a message box that is given none.
inline const QString TitoloPredefinito = QStringLiteral("Quercino");

// Icon numbers of the task dialog as callers pass them.
inline constexpr int IconaTaskAttenzione = 1;
inline constexpr int IconaTaskErrore = 2;
inline constexpr int IconaTaskInformazione = 3;
inline constexpr int IconaTaskScudo = 4;
inline constexpr int IconaTaskDomanda = 5;

// Number of the first custom button of a task dialog; the others follow in caption order.
inline constexpr int PrimoPulsanteTask = 1001;

struct Messaggio {
    QString testo;
    QString titolo;                       // never empty when it reaches the service
    Icona icona = Icona::Nessuna;
    Pulsanti pulsanti = Pulsanti::Ok;
    // The answer of the button that Enter presses (RispostaNo...); 0 means the first button.
    // A question that destroys or sends something makes the safe answer the default.
    int predefinito = 0;
};

struct DialogoTask {
    QString titolo;
    QString testo;
    int icona = 0;                        // task-dialog icon number (see above)
    QStringList pulsanti;                 // captions; the first is 1001, the next 1002...
    int larghezza = 0;                    // the text's length + 150, as the dialog asks
    int predefinito = PrimoPulsanteTask;  // number of the button that Enter presses
};

class ServizioMessaggi {
public:
    virtual ~ServizioMessaggi() = default;
    // Shows the box and returns the code of the button pressed (RispostaOk...).
    virtual int Mostra(const Messaggio& messaggio) = 0;
    // Shows the task dialog and returns the number of the button pressed (1001...).
    virtual int MostraTask(const DialogoTask& dialogo) = 0;
};

// Installs the service every message goes through (not owned); nullptr restores the
// fallback, which shows nothing, logs the text and answers as if the box were closed
// (Cancel, No or OK; 0 for a task dialog).
void ImpostaServizioMessaggi(ServizioMessaggi* servizio);
ServizioMessaggi& ServizioMessaggiAttivo();

// A message box; an empty title becomes "Quercino". Returns the button code. `predefinito`
// is the answer of the default button (0: the first).
int MsgBox(const QString& testo, Pulsanti pulsanti = Pulsanti::Ok, Icona icona = Icona::Nessuna,
           const QString& titolo = QString(), int predefinito = 0);

// The task dialog with up to five custom buttons: caption 1 always (1001), captions 2 to 5
// (1002 to 1005) only when not empty. `RispostaTask` is cleared before the dialog shows and
// then holds the number of the button pressed; the dialog can only be left by a button.
void MostraMessaggio(const QString& titolo, const QString& testo, int icona,
                     const QString& pulsante1, const QString& pulsante2 = QString(),
                     const QString& pulsante3 = QString(), const QString& pulsante4 = QString(),
                     const QString& pulsante5 = QString());
// The same with the captions in a list and the number of the default button (1001...).
void MostraMessaggio(const QString& titolo, const QString& testo, int icona, const QStringList& pulsanti,
                     int predefinito);

} // namespace quercino
