#include "app/backup/Ripristino.h"

#include "app/backup/NomiBackup.h"
#include "app/backup/RipristinaCTAB.h"
#include "app/backup/ScriviBackup.h"
#include "app/backup/ValoriRipristino.h"
#include "app/core/ErroreDatabase.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"
#include "platform/text/Trim.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <optional>
#include <utility>

namespace quercino {

namespace {

const QString NomeCTAB = QStringLiteral("CTAB");
const QString ColonnaCodice = QStringLiteral("OCOD");

// A table of the program's schema whose rows belong to a declarant (it has OCOD).
const Table* TabellaDichiarante(const QString& nome)
{
    for (const Table* tabella : schema::tabelle()) {
        if (tabella->name != nome)
            continue;
        for (const Column& colonna : tabella->columns) {
            if (colonna.name == ColonnaCodice)
                return tabella;
        }
    }
    return nullptr;
}

int PosizioneCodice(const Table& tabella)
{
    for (std::size_t i = 0; i < tabella.columns.size(); ++i) {
        if (tabella.columns[i].name == ColonnaCodice)
            return static_cast<int>(i);
    }
    return -1;
}

QString Campo(const QStringList& campi, qsizetype indice)
{
    // Never a null text: the drivers would store it as NULL.
    if (indice >= campi.size() || campi[indice].isNull())
        return QStringLiteral("");
    return campi[indice];
}

// The safety copy for the final message.
QString NotaCopia(const QString& copia)
{
    if (copia.isEmpty())
        return QStringLiteral("\r\nNessuna copia di sicurezza: nessuno dei soggetti del file era già presente.");
    return QStringLiteral("\r\nCopia di sicurezza dei dati sostituiti:\r\n") + QDir::toNativeSeparators(copia);
}

} // namespace

Ripristino::Ripristino(Database& db, QString cartellaProgramma)
    : db_(db), cartella_(std::move(cartellaProgramma))
{
}

OperazioneRipristino OperazioneDaRiga(const RigaBackupLetta& riga, const QString& tipoDb,
                                      std::vector<ErroreCampoBackup>* errori)
{
    const QString nome = Campo(riga.campi, 1);
    const Table* tabella = nome == NomeCTAB ? &schema::CTAB() : TabellaDichiarante(nome);
    if (!tabella)
        RifiutaRigaBackup(riga.numero, QStringLiteral("la tabella \"%1\" non appartiene ai dati di un "
                                                      "soggetto obbligato").arg(nome));
    // One value for each column, as the writer makes them: fewer is a file cut short (its
    // last columns would be wiped), more a file that does not match the table.
    const qsizetype attesi = static_cast<qsizetype>(tabella->columns.size()) + 2;
    if (riga.campi.size() < attesi)
        RifiutaRigaBackup(riga.numero, QStringLiteral("la riga è incompleta (%1 valori invece di %2): il file di "
                                                      "backUp è incompleto o danneggiato")
                                           .arg(riga.campi.size() - 2).arg(attesi - 2));
    if (riga.campi.size() > attesi)
        RifiutaRigaBackup(riga.numero, QStringLiteral("la riga ha %1 valori invece di %2: il file di backUp è "
                                                      "danneggiato")
                                           .arg(riga.campi.size() - 2).arg(attesi - 2));
    OperazioneRipristino operazione;
    if (tabella == &schema::CTAB()) {
        operazione.tipo = Campo(riga.campi, 2);
        operazione.cod = Campo(riga.campi, 3);
        operazione.des = Campo(riga.campi, 4);
        // An entry without its kind or code would show as a blank line in every lookup.
        if (trimBlanks(operazione.tipo).isEmpty() || trimBlanks(operazione.cod).isEmpty())
            RifiutaRigaBackup(riga.numero, QStringLiteral("voce della tabella dei codici senza tipo o codice"));
        const auto larghezza = [&](int c) { return tabella->columns[static_cast<std::size_t>(c)].width; };
        if (operazione.tipo.size() > larghezza(ctab::TIPO) || operazione.cod.size() > larghezza(ctab::COD)
            || operazione.des.size() > larghezza(ctab::DES))
            RifiutaRigaBackup(riga.numero, QStringLiteral("voce della tabella dei codici troppo lunga"));
        return operazione;
    }
    RigaRipristino convertita = ConvertiRiga(*tabella, riga.campi, tipoDb);
    if (convertita.valori[PosizioneCodice(*tabella)].toString().isEmpty())
        RifiutaRigaBackup(riga.numero, QStringLiteral("manca il codice del soggetto obbligato"));
    if (errori)
        *errori = std::move(convertita.errori);
    operazione.tabella = tabella;
    operazione.valori = std::move(convertita.valori);
    return operazione;
}

PianoRipristino PreparaRipristino(LettoreBackup& lettore, const QString& tipoDb, EsitoRipristino& esito,
                                  const std::function<void(const QString&)>& segnalaCampo, int massimoSoggetti,
                                  const std::function<void()>& prosegue)
{
    PianoRipristino piano;
    // Looked up in sets: a backup of all declarants holds tens of thousands of codes.
    QHash<const Table*, QSet<QString>> visti;
    QSet<QString> codici;
    lettore.Riavvolgi();
    RigaBackupLetta riga;
    while (lettore.Prossima(riga)) {
        if (prosegue)
            prosegue();
        std::vector<ErroreCampoBackup> errori;
        const OperazioneRipristino operazione = OperazioneDaRiga(riga, tipoDb, &errori);
        if (!operazione.tabella)
            continue;
        const Table* tabella = operazione.tabella;
        for (const ErroreCampoBackup& errore : errori) {
            const QString testo = MessaggioErroreCampo(tabella->name, errore);
            esito.erroriCampo << testo;
            if (segnalaCampo)
                segnalaCampo(testo);
        }
        const QString codice = operazione.valori[PosizioneCodice(*tabella)].toString();
        auto voce = std::find_if(piano.sostituzioni.begin(), piano.sostituzioni.end(),
                                 [&](const auto& s) { return s.first == tabella; });
        if (voce == piano.sostituzioni.end())
            voce = piano.sostituzioni.insert(piano.sostituzioni.end(), {tabella, QStringList()});
        if (!visti[tabella].contains(codice)) {
            visti[tabella].insert(codice);
            voce->second << codice;
        } else if (tabella->primaryKey == QStringList{ColonnaCodice}) {
            // Two rows of one declarant where the code is the key: said here, in words,
            // rather than by the database's key error half-way.
            RifiutaRigaBackup(riga.numero, QStringLiteral("il soggetto obbligato \"%1\" compare due volte "
                                                          "nel file").arg(codice));
        }
        if (!codici.contains(codice)) {
            if (codici.size() == massimoSoggetti)
                RifiutaRigaBackup(riga.numero,
                                  QStringLiteral("il file contiene ") + OltreMassimoSoggetti(massimoSoggetti));
            codici.insert(codice);
            esito.codici << codice;
        }
    }
    piano.impronta = lettore.Impronta();
    return piano;
}

EsitoRipristino Ripristino::Ripristina(const QString& percorso)
{
    EsitoRipristino esito;
    std::optional<LettoreBackup> lettore;
    PianoRipristino piano;
    try {
        lettore.emplace(LettoreBackup::DaFile(percorso));
        piano = PreparaRipristino(*lettore, tipoDb, esito, segnalaCampo, massimoSoggetti, prosegue);
    } catch (const ErroreBackup& errore) {
        esito.errore = errore.messaggio();
        return esito;
    }
    if (!ScriviCopia(esito))
        return esito;
    try {
        Applica(*lettore, piano, esito);
    } catch (const DbError& errore) {
        esito.righe = 0;
        esito.errore = DescrizioneErroreDatabase(db_, errore);
        return esito;
    } catch (const ErroreBackup& errore) {
        esito.righe = 0;
        esito.errore = errore.messaggio();
        return esito;
    }
    esito.riuscito = true;
    esito.note += NotaCopia(esito.copiaSicurezza);
    return esito;
}

bool Ripristino::ScriviCopia(EsitoRipristino& esito)
{
    try {
        // The declarants of the file already stored: a declarant not stored yet has
        // nothing to keep. They go into one copy, named after the declarant when alone.
        QSet<QString> presenti;
        PerCodici(QStringLiteral("SELECT OCOD FROM COPE WHERE OCOD IN (%1)"), esito.codici, {ColumnType::Text},
                  [&](const Row& riga) { presenti.insert(riga.text(0)); });
        if (presenti.isEmpty())
            return true;
        const QString copia = PercorsoCopiaSicurezza(
            cartella_, presenti.size() == 1 ? *presenti.cbegin() : QStringLiteral("TUTTI"), adesso());
        ScrittoreBackup scrittore(db_);
        scrittore.cripta = cripta;
        scrittore.prosegue = prosegue;
        const EsitoBackup scritto = scrittore.CreaBackup(copia, presenti);
        if (!scritto.riuscito) {
            esito.errore = QStringLiteral("Impossibile scrivere la copia di sicurezza ") + copia + QStringLiteral(": ")
                           + scritto.errore;
            return false;
        }
        esito.copiaSicurezza = copia;
        esito.note += NoteBackup(scritto);
    } catch (const DbError& errore) {
        esito.errore = DescrizioneErroreDatabase(db_, errore);
        return false;
    }
    return true;
}

// The progressive names the files already sent: an older backup must not bring it back
// down, or the next file would reuse a name (and a ProgressivoInvio) already transmitted.
// The rows stay locked until the restore commits: a copy taking a number meanwhile waits,
// and its number is not put back below by the values read here.
QHash<QString, int> Ripristino::ProgressiviRegistrati(const PianoRipristino& piano)
{
    QHash<QString, int> progressivi;
    for (const auto& [tabella, codici] : piano.sostituzioni) {
        if (tabella != &schema::COPE())
            continue;
        PerCodici(QStringLiteral("SELECT OCOD, OPROG FROM COPE WHERE OCOD IN (%1)") + db_.forUpdate(), codici,
                  {ColumnType::Text, ColumnType::Text}, [&](const Row& riga) {
                      bool numero = false;
                      const int valore = riga.text(1).trimmed().toInt(&numero);
                      if (numero)
                          progressivi.insert(riga.text(0), valore);
                  });
    }
    return progressivi;
}

void Ripristino::PerCodici(const QString& istruzione, const QStringList& codici, const std::vector<ColumnType>& tipi,
                           const std::function<void(const Row&)>& ogni)
{
    for (qsizetype da = 0; da < codici.size(); da += CodiciPerIstruzione) {
        const QStringList parte = codici.mid(da, CodiciPerIstruzione);
        const QString sql = istruzione.arg(Segnaposti(parte.size()));
        const QVariantList valori(parte.cbegin(), parte.cend());
        if (tipi.empty()) {
            db_.exec(sql, valori);
        } else {
            db_.forEach(sql, valori, tipi, [&](const Row& riga) {
                ogni(riga);
                return true;
            });
        }
        Prosegui();
    }
}

void Ripristino::Prosegui() const
{
    if (prosegue)
        prosegue();
}

void Ripristino::MantieniProgressivo(QVariantList& valori, const QHash<QString, int>& progressivi)
{
    const auto registrato = progressivi.constFind(valori.value(cope::OCOD).toString());
    if (registrato == progressivi.constEnd())
        return;
    bool numero = false;
    const int ripristinato = valori.value(cope::OPROG).toString().trimmed().toInt(&numero);
    if (!numero || ripristinato < *registrato)
        valori[cope::OPROG] = QStringLiteral("%1").arg(*registrato, 5, 10, QLatin1Char('0'));
}

void Ripristino::Applica(LettoreBackup& lettore, const PianoRipristino& piano, EsitoRipristino& esito)
{
    // Run again from the start when another copy of the program held a declarant's row.
    db_.transaction([&] { Sostituisci(lettore, piano, esito); });
}

void Ripristino::Sostituisci(LettoreBackup& lettore, const PianoRipristino& piano, EsitoRipristino& esito)
{
    esito.righe = 0;
    const QHash<QString, int> progressivi = ProgressiviRegistrati(piano);
    // Each declarant is deleted once per table, before any row is added: rows of a table
    // that comes back later in the file are not lost.
    for (const auto& [tabella, codici] : piano.sostituzioni)
        PerCodici(QStringLiteral("DELETE FROM ") + tabella->name + QStringLiteral(" WHERE OCOD IN (%1)"), codici, {}, {});
    lettore.Riavvolgi();
    RigaBackupLetta riga;
    while (lettore.Prossima(riga)) {
        if (avanza)
            avanza();
        OperazioneRipristino operazione = OperazioneDaRiga(riga, tipoDb);
        if (operazione.tabella == &schema::COPE())
            MantieniProgressivo(operazione.valori, progressivi);
        if (operazione.tabella)
            db_.insert(*operazione.tabella, operazione.valori);
        else
            RipristinaCTAB(db_, operazione.tipo, operazione.cod, operazione.des);
        ++esito.righe;
    }
    // The file read twice: another program writing it in between could make the restore
    // delete declarants it no longer puts back.
    if (lettore.Impronta() != piano.impronta)
        throw ErroreBackup(QStringLiteral("il file di backUp è stato modificato da un altro programma durante il "
                                          "ripristino"));
}

QString MessaggioRipristinoFallito(const EsitoRipristino& esito)
{
    return QStringLiteral("Ripristino non riuscito: ") + esito.errore
           + QStringLiteral("\r\nI dati presenti non sono stati modificati.");
}

} // namespace quercino
