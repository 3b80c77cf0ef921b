#include "declarants/registry/ErroreApplicazione.h"

#include "app/core/ErroreDatabase.h"
#include "app/core/Messaggi.h"

namespace quercino {

QString TestoErroreApplicazione(const QString& descrizione, const QString& procedura, int riga)
{
    return descrizione + QStringLiteral("\r\nin Quercino.F1OP.") + procedura
           + QStringLiteral("at line ") + QString::number(riga);
}

void ErroreApplicazione(const std::exception& errore, const QString& procedura,
                        std::source_location dove)
{
    MsgBox(TestoErroreApplicazione(DescrizioneErrore(errore), procedura, static_cast<int>(dove.line())),
           Pulsanti::Ok, Icona::Attenzione, QStringLiteral("Application Error"));
}

} // namespace quercino
