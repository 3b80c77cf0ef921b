#pragma once
// What the writer asks of the program around it: the user's choices and the declarant's
// progressive. The import window and the registry implement it; tests answer it.

#include <QString>

namespace quercino::datifattura {

class RichiesteScrittura {
public:
    virtual ~RichiesteScrittura() = default;

    // The save dialog (`SalvaConNome` with the type "XML"), proposing `nomeFile`: the full
    // path chosen, or the empty text when the user cancelled. It asks itself before an
    // existing file is replaced.
    virtual QString ChiediFileXML(const QString& nomeFile) = 0;

    // `ControlloDocumento`: true when a file exists at `percorso` and the user does not want
    // it replaced; false when there is none or the user agreed to replace it.
    virtual bool ControlloDocumento(const QString& percorso) = 0;

    // The progressive number of a file about to be created, taken where the declarant is
    // stored: the stored number is read and raised in one step, so no other file, of this
    // copy of the program or of another, takes it. Throws ErroreDatiFattura (nothing taken)
    // when no file can carry it; a database failure comes as DbError.
    virtual int PrendiProgressivo() = 0;

    // A number taken for a file that is not written after all: given back unless a later
    // one was taken meanwhile.
    virtual void RestituisciProgressivo(int numero) = 0;

    // The same, its failures ignored: the number then stays taken, a gap in the numbering,
    // never a repeat.
    void RestituisciSenzaErrori(int numero) noexcept
    {
        try {
            RestituisciProgressivo(numero);
        } catch (...) {
        }
    }
};

} // namespace quercino::datifattura
