#pragma once
// The writer's own check of a row before anything of it is written: every value must be one
// the Agency's schema accepts, so that no file can be refused for a value that slipped past
// the import's checks. A refused row is reported as the import reports its rows: a column
// label and the value ("* VUOTO *" for a missing one, else the value, " Valore non
// corretto" and the limit it breaks between brackets).

#include "declarants/datifattura/RigaFattura.h"
#include "declarants/datifattura/Testata.h"

#include <QString>

#include <optional>

namespace quercino::datifattura {

inline const QString Vuoto = QStringLiteral("* VUOTO *");

struct ErroreRiga {
    QString etichetta;
    QString valore;
    bool operator==(const ErroreRiga&) const = default;
};

// `valore` & " Valore non corretto", then " (" & `limite` & ")" when a limit is named.
ErroreRiga ValoreNonCorretto(const QString& etichetta, const QString& valore, const QString& limite = QString());

// The first value of `riga` that the schema would refuse, in column order.
std::optional<ErroreRiga> ControllaRiga(const RigaFattura& riga, TipoComunicazione tipo);

// What a row that opens a counterpart block must carry besides: a VAT number or a tax code
// (a VAT number for a supplier), a name, and the nation that goes with a VAT number.
std::optional<ErroreRiga> ControllaNuovoSoggetto(const RigaFattura& riga, TipoComunicazione tipo);

} // namespace quercino::datifattura
