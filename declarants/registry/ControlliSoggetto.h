#pragma once
// The entry checks of a declarant, run before it is stored or used for a file. They
// check presence only (the Agency's schema does the rest when the file is read), in a
// fixed order: the first failing check names the field to focus and its message.

#include "declarants/registry/DatiSoggetto.h"

#include <QString>

#include <functional>
#include <optional>

namespace quercino {

// A role that is not one of the Agency's, whether saved or typed into its box.
inline constexpr char CaricaNonValida[] = "Codice carica del dichiarante non valido (da 1 a 15)";

struct ErroreControllo {
    QString campo;      // COPE column of the field to focus, e.g. "OPIVA"
    QString messaggio;  // the message shown in the "Errore" box

    bool operator==(const ErroreControllo&) const = default;
};

// Every text of the record upper case (one character for one) and trimmed.
void NormalizzaTesti(DatiSoggetto& dati);

// Normalises the texts and runs the checks in order; returns the first failure, or
// nothing when all pass, in which case an empty nation becomes "IT" / "ITALIA".
std::optional<ErroreControllo> Controlla(DatiSoggetto& dati);

// The check when the tax-code box is left: a tax code that the tax-code check
// rejects (any result but 0) is an error; otherwise an empty VAT number takes the
// tax code when the VAT-number field can hold it. The tax code is expected already upper case.
std::optional<ErroreControllo> ControllaCodiceFiscale(
    DatiSoggetto& dati, const std::function<int(const QString&)>& controllaCF);

} // namespace quercino
