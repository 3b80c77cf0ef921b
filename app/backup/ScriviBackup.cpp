#include "app/backup/ScriviBackup.h"

#include "app/backup/FormatoBackup.h"
#include "app/core/Cripta.h"
#include "app/core/ErroreDatabase.h"
#include "app/core/SalvataggioCompleto.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"
#include "platform/text/Windows1252.h"

#include <QSaveFile>
#include <QStringList>

#include <cerrno>
#include <vector>

namespace quercino {

namespace {

// True when every field of the line (table name included) reads back as it is after
// scrambling, and no scrambled field holds a line end.
bool LineaCriptabile(const QString& linea)
{
    const QStringList campi = linea.split(SeparatoreBackup);
    for (qsizetype i = 1; i < campi.size(); ++i) {
        if (!CriptaReversibile(campi[i], ChiaveBackup))
            return false;
        const QString criptato = Cripta(campi[i], ModoScrivi, ChiaveBackup);
        if (criptato.contains(u'\r') || criptato.contains(u'\n'))
            return false;
    }
    return true;
}

} // namespace

EsitoBackup ScrittoreBackup::CreaBackup(const QString& percorso, const QString& codice)
{
    EsitoBackup esito;
    const Table& cope = schema::COPE();
    std::vector<QString> linee;
    try {
        const std::vector<Row> righe =
            codice.isEmpty() ? db_.select(cope)
                             : db_.select(cope, QStringLiteral(" WHERE OCOD = ?"), {codice});
        linee.reserve(righe.size());
        for (const Row& riga : righe) {
            if (avanza)
                avanza();
            linee.push_back(RigaBackup(cope, riga));
        }
    } catch (const DbError& errore) {
        esito.errore = DescrizioneErroreDatabase(db_, errore);
        return esito;
    }

    // A file is all plain or all scrambled: one value that would not survive makes it plain.
    esito.criptato = cripta;
    if (cripta) {
        for (const QString& linea : linee) {
            if (!LineaCriptabile(linea)) {
                esito.criptato = false;
                esito.inChiaroPerValori = true;
                break;
            }
        }
    }

    QByteArray contenuto;
    for (const QString& linea : linee) {
        const QString scritta = esito.criptato ? CriptaCampi(linea, ModoScrivi, ChiaveBackup) : linea;
        bool senzaPerdite = true;
        const std::vector<std::uint8_t> byte = encodeWindows1252(scritta, &senzaPerdite);
        if (!senzaPerdite)
            esito.caratteriSostituiti = true;
        contenuto.append(reinterpret_cast<const char*>(byte.data()), static_cast<qsizetype>(byte.size()));
        contenuto.append("\r\n", 2);
    }

    QSaveFile file(percorso);
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        esito.errore = MotivoErroreScrittura(file, errno);
        return esito;
    }
    if (file.write(contenuto) != contenuto.size()) {
        esito.errore = MotivoErroreScrittura(file, errno);
        file.cancelWriting();
        return esito;
    }
    esito.errore = CompletaSalvataggio(file);
    if (!esito.errore.isEmpty())
        return esito;
    esito.righe = static_cast<int>(linee.size());
    esito.riuscito = true;
    return esito;
}

QString MessaggioBackupFallito(const EsitoBackup& esito)
{
    return QStringLiteral("Creazione file di BackUP non riuscita: ") + esito.errore
           + QStringLiteral("\r\nNessun file di backUp è stato scritto.");
}

QString NoteBackup(const EsitoBackup& esito)
{
    QString note;
    if (esito.inChiaroPerValori)
        note += QStringLiteral("\r\nAlcuni valori non si possono cifrare senza alterarli: "
                               "il file è stato scritto in chiaro.");
    if (esito.caratteriSostituiti)
        note += QStringLiteral("\r\nAlcuni caratteri non previsti dal file sono stati "
                               "scritti come \"?\".");
    return note;
}

} // namespace quercino
