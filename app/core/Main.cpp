#include "app/core/Main.h"

#include "app/core/CartelleProgramma.h"
#include "app/core/Comuni.h"
#include "app/core/Configurazione.h"
#include "app/core/Connessione.h"
#include "app/core/Globals.h"
#include "app/core/MascheraPassword.h"
#include "app/core/ScriviLog.h"
#include "platform/db/Database.h"

#include <QDir>

#include <memory>

namespace quercino {

namespace {

std::unique_ptr<Database>& connessioneDelProgramma()
{
    static std::unique_ptr<Database> connessione;
    return connessione;
}

const QString AcapoWindows = QStringLiteral("\r\n");

Messaggio messaggioAmministratore()
{
    Messaggio m;
    m.testo = QStringLiteral("Errore VEKO: è necessario ESEGUIRE COME AMMINISTRATORE") + AcapoWindows +
              QStringLiteral(" ") + AcapoWindows +
              QStringLiteral("Seleziona l'icona del programma con il TASTO DESTRO e poi scegli la voce") +
              AcapoWindows + QStringLiteral(" ") + AcapoWindows + QStringLiteral("Esegui come Amministratore");
    m.titolo = QStringLiteral("Esegui come Amministratore");
    m.icona = Icona::Informazione;
    m.pulsanti = Pulsanti::Ok;
    return m;
}

Messaggio messaggioGenerico(int numero, const QString& descrizione)
{
    Messaggio m;
    m.testo = QStringLiteral("Errore VEKO Dichiarazioni num. ") + QString::number(numero) + QLatin1Char(' ') +
              descrizione + AcapoWindows + QStringLiteral("  ") + AcapoWindows + QStringLiteral(" StrConn ") +
              MascheraPassword(StrConn) + AcapoWindows + QStringLiteral(" TipoDb ") + TipoDb;
    m.titolo = TitoloPredefinito;
    m.pulsanti = Pulsanti::Ok;
    return m;
}

void passiAvvio(const AmbienteAvvio& ambiente, const std::function<void(const QString&)>& mostra)
{
    PathIni = ambiente.cartellaProgramma + QStringLiteral("/configurazione.ini");
    const Configurazione configurazione = LeggiConfigurazione();
    TipoDb = configurazione.tipoDb;
    DebugMode = configurazione.debug;
    ServerNome = configurazione.serverNome;

    const SceltaConnessione scelta = ScegliConnessione(configurazione, ambiente.cartellaProgramma);
    StrConn = scelta.strConn;
    VersioneProgramma = scelta.versione;
    TipoDb = scelta.tipoDb;

    ChiudiConnessione();
    connessioneDelProgramma() = ApriConnessione(scelta, configurazione);
    Cnn = connessioneDelProgramma().get();
    if (DebugMode == QLatin1String("1"))
        mostra(QStringLiteral("Connessione ") + MascheraPassword(StrConn));

    ColoreFocus = QColor(255, 255, 192);
    ColoreNormale = QColor(255, 255, 255);

    // Only "M" itself keeps the attachments beside the program; an empty or unknown mode
    // opens the local file too but looks for them on the server.
    if (TipoDb == QLatin1String("M")) {
        PathAllegati = ambiente.cartellaProgramma + QStringLiteral("/ALLEGATI/");
        // Made here and now; a folder that cannot be made is not worth stopping for.
        QDir().mkpath(PathAllegati);
    } else {
        PathAllegati = QStringLiteral("//") + ServerNome + QStringLiteral("/VEKO_ALLEGATI/");
    }

    if (DebugMode == QLatin1String("1")) {
        PathLog = PercorsoLogDebug(ambiente.cartellaPubblica);
        mostra(QStringLiteral("File Debug: ") + PathLog);
        CreaLogDebug(PathLog, ambiente.oggi);
    }

    Release = ReleaseProgramma;
    if (!ComuniAperto)
        CaricaComuni(*Cnn);
}

} // namespace

AmbienteAvvio AmbienteReale()
{
    return AmbienteAvvio{CartellaProgramma(), CartellaPubblica(), QDate::currentDate()};
}

EsitoAvvio Avvia(const AmbienteAvvio& ambiente, const std::function<void(const QString&)>& mostra)
{
    EsitoAvvio esito;
    try {
        passiAvvio(ambiente, mostra);
        esito.riuscito = true;
    } catch (const ErroreLogDebug&) {
        esito.errore = messaggioAmministratore();
    } catch (const DbError& e) {
        esito.errore = messaggioGenerico(e.number(), e.description());
    } catch (const std::exception& e) {
        esito.errore = messaggioGenerico(0, QString::fromUtf8(e.what()));
    }
    if (!esito.riuscito)
        ChiudiConnessione();
    return esito;
}

bool Main()
{
    const EsitoAvvio esito = Avvia(AmbienteReale(), [](const QString& testo) { MsgBox(testo); });
    if (!esito.riuscito)
        MsgBox(esito.errore.testo, esito.errore.pulsanti, esito.errore.icona, esito.errore.titolo);
    return esito.riuscito;
}

void ChiudiConnessione()
{
    Cnn = nullptr;
    ComuniAperto = false;
    connessioneDelProgramma().reset();
}

} // namespace quercino
