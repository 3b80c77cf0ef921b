#include "app/core/Configurazione.h"

#include "app/core/Cripta.h"
#include "app/core/LeggiIni.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

namespace quercino {

namespace {

const QString Opzioni = QStringLiteral("opzioni");

QString chiave(const char* nome, int taglio)
{
    return LeggiIni(Opzioni, QString::fromLatin1(nome)).left(taglio);
}

} // namespace

Configurazione LeggiConfigurazione()
{
    Configurazione c;
    c.tipoDb = upperOneToOne(chiave("TipoDb", 1));
    c.debug = chiave("debug", 1);
    c.utente = chiave("Server_Utente", 15);
    c.password = chiave("Server_Password", 15);
    c.passwordCifrata = chiave("Server_Crx", 1) == QLatin1String("S");
    if (c.passwordCifrata)
        c.password = Cripta(c.password, ModoLeggi, ChiavePassword);
    c.serverNome = chiave("Server_Nome", 20);
    c.stringaConnessione = trimBlanks(chiave("StrConn", LunghezzaMassimaStrConn));
    return c;
}

} // namespace quercino
