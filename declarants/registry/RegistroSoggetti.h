#pragma once
// What the registry window does, without the window: the declarant shown in the
// fields, the list of the grid and the selected row, and the procedures that load,
// store, add and delete declarants, choose the current one and take the progressive of a
// new file.
// The window copies its fields into `campi` before a procedure and back after it.
// Database failures reach the caller as DbError.

#include "declarants/registry/ArchivioSoggetti.h"
#include "declarants/registry/ControlliSoggetto.h"
#include "declarants/registry/DatiSoggetto.h"
#include "declarants/registry/Progressivo.h"

#include <optional>
#include <vector>

namespace quercino {

class RegistroSoggetti {
public:
    DatiSoggetto campi;    // the values of the window's fields
    int RigaSel = 0;       // the grid row kept selected (1-based, 0 = none yet)
    bool DatiValidi = false;

    const std::vector<RigaElenco>& Righe() const { return righe_; }

    // Refills the list and loads the row at RigaSel (the first when that row is gone);
    // an empty table gives a new record.
    void Lista();
    // Loads CodiceOperatore's row into the fields, or a new record when there is none;
    // then makes it the current declarant.
    void Dettaglio();
    // A new record: empty fields, the next free code, nation IT, progressive 00001.
    // Nothing is stored and the current declarant stays until the record is saved.
    void Aggiungi();
    // The entry checks; sets DatiValidi.
    std::optional<ErroreControllo> controlla();
    // Checks the fields and, when valid, stores them under their code; the declarant
    // becomes the current one. Returns the failing check (nothing stored) if any, also a
    // code that belongs to another declarant and a progressive below the stored one.
    std::optional<ErroreControllo> Aggiorna();
    // Aggiorna, then Lista when it stored the declarant. The user's edits stay in the
    // fields when a check fails.
    std::optional<ErroreControllo> Conferma();
    // Asks "Richiesta conferma" with the current declarant's name; on Yes deletes it and
    // refreshes. Returns true when deleted.
    bool Elimina();
    // The shown record becomes the current declarant (CodiceOperatore, NomeOperatore).
    void ImpostaOperatore();
    // The number of a new file, taken from the current declarant's row: one transaction
    // reads the stored progressive and raises it by one, so that no other copy of the program
    // takes the same number; the field then shows the stored value. A progressive the user
    // typed and did not save is stored first, as a save would store it (or refused, as a
    // save refuses a number below the stored one). An error text in
    // `errore` (nothing taken) when no file can carry the number (not a number from 1 to
    // 99999) or the declarant is no longer stored. A record added and not yet saved has no
    // row: the number is its field's, and only the field is raised.
    EsitoProgressivo PrendiProgressivo();
    // A number taken for a file that was not written after all (the save dialog cancelled,
    // the file not created): stored back, unless a later number was taken meanwhile.
    void RestituisciProgressivo(std::int32_t numero);
    // The double click on "Progressivo:": the numbering starts again (00002 stored).
    void RiavviaProgressivo();
    // The check when the tax-code box is left.
    std::optional<ErroreControllo> ControllaCodiceFiscale();
    // A code box (OSPAESE, OSOPAESE, ODICCARICA) left: the code is looked up in the code
    // table and its description goes beside it. An unknown code comes back as its error,
    // its description emptied, so that the two never contradict each other; an empty code
    // empties its description.
    std::optional<ErroreControllo> CodiceLasciato(const QString& colonna);

    // Grid events: a new current row loads it; a double click only chooses it.
    void SelezioneCambiata(int riga);
    void DoppioClick(int riga);

    // The fields differ from the record as it was loaded, added or last stored, in what a
    // save would store (upper case and trimmed): the user has edits a save would keep.
    bool Modificato() const;
    // Back to the record as it was loaded, added or last stored.
    void ScartaModifiche() { campi = origine_; }
    // The row of the list that holds `codice` (1-based), 0 when none does.
    int RigaDelCodice(const QString& codice) const;
    // The row of the list that holds the record shown (as loaded or last stored), 0 while
    // a new record is being entered.
    int RigaMostrata() const { return nuovo_ ? 0 : RigaDelCodice(origine_.OCOD); }

private:
    // Stores the progressive typed in the fields in the row of `codice` while the stored
    // one is still the one read; when another copy raised it meanwhile, the user chooses
    // between the two. The fields then hold the stored value. A number below the stored
    // one is never stored: the refusal on the progressive's field comes back.
    std::optional<ErroreControllo> ProgressivoDigitato(const QString& codice);

    std::vector<RigaElenco> righe_;
    bool nuovo_ = true;    // the fields hold a record not stored yet (Aggiungi)
    DatiSoggetto origine_; // the record as loaded, added or last stored
};

} // namespace quercino
