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

    // `AggiornaProgressivo`: raises the declarant's progressive after a completed file, in the
    // registry and in the database, and returns the new value (the next file's number).
    // Throws ErroreDatiFattura when it cannot be raised.
    virtual int AggiornaProgressivo() = 0;
};

} // namespace quercino::datifattura
