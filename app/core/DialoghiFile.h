#pragma once
// Save and open dialogs, through a replaceable service (see Messaggi.h for the reason).
// The widget implementation is app/widgets/DialoghiQt.h.

#include <QString>
#include <QStringList>

namespace quercino {

struct RichiestaFile {
    QString titolo;
    QString cartella;       // first folder shown
    QString nomeFile;       // proposed name (save only)
    QStringList filtri;     // Qt name filters, e.g. "Tipo File XML (*.xml *.XML)"
    QString estensione;     // added to a name typed without one (save only), e.g. "XML"
};

class ServizioDialoghi {
public:
    virtual ~ServizioDialoghi() = default;
    // The chosen path, empty on cancel. The dialog itself never asks about replacing:
    // the program asks with `ControlloDocumento`.
    virtual QString ChiediSalvataggio(const RichiestaFile& richiesta) = 0;
    // The chosen existing files (several when `multipla`), empty on cancel.
    virtual QStringList ChiediApertura(const RichiestaFile& richiesta, bool multipla) = 0;
};

// Installs the service (not owned); nullptr restores the fallback, which cancels.
void ImpostaServizioDialoghi(ServizioDialoghi* servizio);
ServizioDialoghi& ServizioDialoghiAttivo();

// The filter of a file type in both letter cases: "Tipo File XML (*.xml *.XML)".
QString FiltroTipoFile(const QString& estensione);

// True when a file exists at `percorso` and the user, asked "Controllo Documento", does
// not want to replace it (the caller then asks again); false otherwise.
bool ControlloDocumento(const QString& percorso);

// Asks where to write a file: title "Indica dove salvare il file " & estensione, first
// folder `cartella`, else `UltimaCartella`, else the desktop; repeats while the chosen
// file exists and is not to be replaced. Sets `FileSalva` (empty on cancel) and, unless
// cancelled, `UltimaCartella`.
void SalvaConNome(const QString& nomeProposto, const QString& estensione,
                  const QString& cartella = QString());

} // namespace quercino
