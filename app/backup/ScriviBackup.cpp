#include "app/backup/ScriviBackup.h"

#include "app/backup/FormatoBackup.h"
#include "app/backup/LeggiBackup.h"
#include "app/backup/LimitiBackup.h"
#include "app/core/Cripta.h"
#include "app/core/ErroreDatabase.h"
#include "app/core/SalvataggioCompleto.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"
#include "platform/text/Windows1252.h"

#include <QSaveFile>
#include <QStringList>

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <optional>
#include <system_error>
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

// The rows of COPE (those `dove` selects, or those of `codici`, when given) to `ogni`, until
// it returns false. All the rows are read a page at a time, in code order, where the
// database takes LIMIT: an ODBC driver holds a whole result in memory before it hands over
// its first row. Several declarants are read a batch of codes at a time, in code order.
void LeggiCope(Database& db, const QString& dove, const QVariantList& valori, const QSet<QString>* codici,
               const std::function<bool(const Row&)>& ogni)
{
    const Table& cope = schema::COPE();
    if (codici) {
        QStringList ordinati(codici->cbegin(), codici->cend());
        ordinati.sort();
        for (qsizetype da = 0; da < ordinati.size(); da += CodiciPerIstruzione) {
            const QStringList parte = ordinati.mid(da, CodiciPerIstruzione);
            bool avanti = true;
            db.forEach(cope.selectAll() + QStringLiteral(" WHERE OCOD IN (%1) ORDER BY OCOD").arg(Segnaposti(parte.size())),
                       QVariantList(parte.cbegin(), parte.cend()), cope.types(), [&](const Row& riga) {
                           avanti = ogni(riga);
                           return avanti;
                       });
            if (!avanti)
                return;
        }
        return;
    }
    if (!dove.isEmpty() || db.dialect() == Database::Dialect::Other) {
        db.forEach(cope.selectAll() + dove, valori, cope.types(), ogni);
        return;
    }
    constexpr int RighePagina = 1000;
    std::optional<QString> ultimo;
    for (;;) {
        int lette = 0;
        bool avanti = true;
        const QString sql = cope.selectAll() + (ultimo ? QStringLiteral(" WHERE OCOD > ?") : QString())
                            + QStringLiteral(" ORDER BY OCOD LIMIT %1").arg(RighePagina);
        db.forEach(sql, ultimo ? QVariantList{*ultimo} : QVariantList{}, cope.types(), [&](const Row& riga) {
            ++lette;
            ultimo = riga.text(cope::OCOD);
            avanti = ogni(riga);
            return avanti;
        });
        if (!avanti || lette < RighePagina)
            return;
    }
}

} // namespace

QString ScrittoreBackup::SuDisco(QSaveFile& file)
{
    if (!prosegue)
        return {};
    errno = 0;
    if (!file.flush())
        return MotivoErroreScrittura(file, errno);
    // The system's own wait, on a thread of its own; the commit that follows finds nothing
    // left to write.
    const int descrittore = file.handle();
    std::future<int> sincronia;
    try {
        sincronia = std::async(std::launch::async, [descrittore] {
            errno = 0;
            return ::fdatasync(descrittore) == 0 ? 0 : errno;
        });
    } catch (const std::system_error&) {
        return {};   // no thread to spare: the commit syncs the file itself
    }
    while (sincronia.wait_for(std::chrono::milliseconds(20)) == std::future_status::timeout)
        prosegue();
    const int errore = sincronia.get();
    // A file system that keeps nothing to sync (EINVAL) is no failure.
    if (errore == 0 || errore == EINVAL)
        return {};
    if (errore == ENOSPC || errore == EDQUOT)
        return MotivoErroreScrittura(file, errore);
    return QString::fromLocal8Bit(std::strerror(errore));
}

EsitoBackup ScrittoreBackup::CreaBackup(const QString& percorso, const QString& codice)
{
    if (codice.isEmpty())
        return Scrivi(percorso, QString(), {}, nullptr);
    return Scrivi(percorso, QStringLiteral(" WHERE OCOD = ?"), {codice}, nullptr);
}

EsitoBackup ScrittoreBackup::CreaBackup(const QString& percorso, const QSet<QString>& codici)
{
    return Scrivi(percorso, QString(), {}, &codici);
}

EsitoBackup ScrittoreBackup::Scrivi(const QString& percorso, const QString& dove, const QVariantList& valori,
                                    const QSet<QString>* codici)
{
    EsitoBackup esito;
    esito.criptato = cripta;
    int avanzate = 0;
    // A file is all plain or all scrambled: a value that would not survive scrambling
    // starts the file again, plain.
    for (;;) {
        QSaveFile file(percorso);
        file.setDirectWriteFallback(false);
        errno = 0;
        if (!file.open(QIODevice::WriteOnly)) {
            esito.errore = MotivoErroreScrittura(file, errno);
            return esito;
        }
        const Interruzione interruzione = Passata(file, dove, valori, codici, esito, avanzate);
        if (interruzione == Interruzione::NonCriptabile) {
            esito.criptato = false;
            esito.inChiaroPerValori = true;
            esito.caratteriSostituiti = false;
            esito.righe = 0;
            continue;
        }
        if (interruzione == Interruzione::Rifiutato) {
            file.cancelWriting();
            esito.righe = 0;
            return esito;
        }
        esito.errore = SuDisco(file);
        if (esito.errore.isEmpty())
            esito.errore = CompletaSalvataggio(file);
        else
            file.cancelWriting();
        if (!esito.errore.isEmpty()) {
            esito.righe = 0;
            return esito;
        }
        esito.riuscito = true;
        return esito;
    }
}

ScrittoreBackup::Interruzione ScrittoreBackup::Passata(QSaveFile& file, const QString& dove,
                                                       const QVariantList& valori, const QSet<QString>* codici,
                                                       EsitoBackup& esito, int& avanzate)
{
    const Table& cope = schema::COPE();
    Interruzione interruzione = Interruzione::Nessuna;
    qint64 scritti = 0;
    const auto rifiuta = [&](const QString& motivo) {
        esito.errore = motivo;
        interruzione = Interruzione::Rifiutato;
        return false;
    };
    try {
        LeggiCope(db_, dove, valori, codici, [&](const Row& riga) {
            if (prosegue)
                prosegue();
            if (codici && !codici->contains(riga.text(cope::OCOD)))
                return true;
            // The progress moves once per row, not again when the file starts over.
            if (esito.righe++ == avanzate) {
                ++avanzate;
                if (avanza)
                    avanza();
            }
            if (esito.righe > massimoSoggetti)
                return rifiuta(QStringLiteral("l'archivio contiene ") + OltreMassimoSoggetti(massimoSoggetti));
            const QString linea = RigaBackup(cope, riga);
            if (esito.criptato && !LineaCriptabile(linea)) {
                interruzione = Interruzione::NonCriptabile;
                return false;
            }
            bool senzaPerdite = true;
            std::vector<std::uint8_t> byte =
                encodeWindows1252(esito.criptato ? CriptaCampi(linea, ModoScrivi, ChiaveBackup) : linea, &senzaPerdite);
            esito.caratteriSostituiti = esito.caratteriSostituiti || !senzaPerdite;
            // Values longer than their columns (stored by some other program) could make
            // a line or a file that the restore refuses.
            if (static_cast<qsizetype>(byte.size()) > LunghezzaMassimaRigaBackup)
                return rifiuta(QStringLiteral("il soggetto obbligato %1 ha valori troppo lunghi per un file di backUp")
                                   .arg(riga.text(cope::OCOD)));
            byte.push_back('\r');
            byte.push_back('\n');
            scritti += static_cast<qint64>(byte.size());
            if (scritti > DimensioneMassimaBackup())
                return rifiuta(QStringLiteral("il file supererebbe i %1 MB che un ripristino accetta")
                                   .arg(DimensioneMassimaBackup() >> 20));
            errno = 0;
            if (file.write(reinterpret_cast<const char*>(byte.data()), static_cast<qint64>(byte.size()))
                != static_cast<qint64>(byte.size()))
                return rifiuta(MotivoErroreScrittura(file, errno));
            return true;
        });
    } catch (const DbError& errore) {
        rifiuta(DescrizioneErroreDatabase(db_, errore));
    }
    return interruzione;
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
