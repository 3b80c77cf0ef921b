#include "declarants/registry/ErroreApplicazione.h"

#include "app/core/Messaggi.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "platform/db/DbError.h"

namespace quercino {

QString TestoErroreApplicazione(const QString& descrizione, const QString& procedura, int riga)
{
    return descrizione + QStringLiteral("\r\nin Quercino.F1OP.") + procedura
           + QStringLiteral("at line ") + QString::number(riga);
}

void ErroreApplicazione(const std::exception& errore, const QString& procedura,
                        std::source_location dove)
{
    QString descrizione;
    if (const auto* db = dynamic_cast<const DbError*>(&errore))
        descrizione = db->description();
    else if (const auto* df = dynamic_cast<const datifattura::ErroreDatiFattura*>(&errore))
        descrizione = df->Messaggio();
    else
        descrizione = QString::fromLocal8Bit(errore.what());
    MsgBox(TestoErroreApplicazione(descrizione, procedura, static_cast<int>(dove.line())),
           Pulsanti::Ok, Icona::Attenzione, QStringLiteral("Application Error"));
}

} // namespace quercino
