#pragma once
// The registry window's report of a run-time failure (a database error, say): the
// description, then where it happened, in an "Application Error" box. The window then
// goes on, as the user expects of a list that stays open for the whole run.

#include <QString>

#include <exception>
#include <source_location>

namespace quercino {

// The text of the report: description, CR LF, "in Quercino.F1OP." & procedura (which
// ends with a blank), "at line " & riga.
QString TestoErroreApplicazione(const QString& descrizione, const QString& procedura, int riga);

// Shows the report for `errore` (a DbError gives its driver's description, or says that the
// connection was lost).
void ErroreApplicazione(const std::exception& errore, const QString& procedura,
                        std::source_location dove = std::source_location::current());

// Runs `azione` and reports whatever it throws under `procedura`.
template <typename Azione>
void Protetto(const QString& procedura, Azione&& azione,
              std::source_location dove = std::source_location::current())
{
    try {
        azione();
    } catch (const std::exception& e) {
        ErroreApplicazione(e, procedura, dove);
    }
}

} // namespace quercino
