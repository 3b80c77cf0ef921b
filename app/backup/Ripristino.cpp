#include "app/backup/Ripristino.h"

#include "app/backup/NomiBackup.h"
#include "app/backup/RipristinaCTAB.h"
#include "app/backup/ScriviBackup.h"
#include "app/backup/ValoriRipristino.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"
#include "platform/text/Trim.h"

#include <algorithm>
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

[[noreturn]] void Rifiuta(int numeroRiga, const QString& motivo)
{
    throw ErroreBackup(QStringLiteral("Riga %1 del file: %2").arg(numeroRiga).arg(motivo));
}

} // namespace

Ripristino::Ripristino(Database& db, QString cartellaProgramma)
    : db_(db), cartella_(std::move(cartellaProgramma))
{
}

EsitoRipristino Ripristino::Ripristina(const QString& percorso)
{
    EsitoRipristino esito;
    PianoRipristino piano;
    try {
        piano = Prepara(percorso, esito);
    } catch (const ErroreBackup& errore) {
        esito.errore = errore.messaggio();
        return esito;
    }
    if (!ScriviCopie(esito))
        return esito;
    try {
        Applica(piano, esito);
    } catch (const DbError& errore) {
        esito.righe = 0;
        esito.errore = errore.description();
        return esito;
    }
    esito.riuscito = true;
    return esito;
}

PianoRipristino Ripristino::Prepara(const QString& percorso, EsitoRipristino& esito) const
{
    PianoRipristino piano;
    const FileBackupLetto letto = LeggiFileBackup(percorso);
    const Table& ctab = schema::CTAB();
    const auto larghezza = [&](int c) { return ctab.columns[static_cast<std::size_t>(c)].width; };
    for (const RigaBackupLetta& riga : letto.righe) {
        const QString nome = Campo(riga.campi, 1);
        OperazioneRipristino operazione;
        if (nome == NomeCTAB) {
            operazione.tipo = Campo(riga.campi, 2);
            operazione.cod = Campo(riga.campi, 3);
            operazione.des = Campo(riga.campi, 4);
            // An entry without its kind or code would show as a blank line in every lookup.
            if (trimBlanks(operazione.tipo).isEmpty() || trimBlanks(operazione.cod).isEmpty())
                Rifiuta(riga.numero, QStringLiteral("voce della tabella dei codici senza tipo o codice"));
            if (operazione.tipo.size() > larghezza(ctab::TIPO) || operazione.cod.size() > larghezza(ctab::COD)
                || operazione.des.size() > larghezza(ctab::DES))
                Rifiuta(riga.numero, QStringLiteral("voce della tabella dei codici troppo lunga"));
            piano.operazioni.push_back(std::move(operazione));
            continue;
        }
        const Table* tabella = TabellaDichiarante(nome);
        if (!tabella)
            Rifiuta(riga.numero, QStringLiteral("la tabella \"%1\" non appartiene ai dati di un "
                                                "soggetto obbligato").arg(nome));
        RigaRipristino convertita = ConvertiRiga(*tabella, riga.campi, tipoDb);
        for (const ErroreCampoBackup& errore : convertita.errori) {
            const QString testo = MessaggioErroreCampo(tabella->name, errore);
            esito.erroriCampo << testo;
            if (segnalaCampo)
                segnalaCampo(testo);
        }
        const QString codice = convertita.valori[PosizioneCodice(*tabella)].toString();
        if (codice.isEmpty())
            Rifiuta(riga.numero, QStringLiteral("manca il codice del soggetto obbligato"));
        auto voce = std::find_if(piano.sostituzioni.begin(), piano.sostituzioni.end(),
                                 [&](const auto& s) { return s.first == tabella; });
        if (voce == piano.sostituzioni.end())
            voce = piano.sostituzioni.insert(piano.sostituzioni.end(), {tabella, QStringList()});
        if (!voce->second.contains(codice))
            voce->second << codice;
        else if (tabella->primaryKey == QStringList{ColonnaCodice})
            // Two rows of one declarant where the code is the key: said here, in words,
            // rather than by the database's key error half-way.
            Rifiuta(riga.numero, QStringLiteral("il soggetto obbligato \"%1\" compare due volte "
                                                "nel file").arg(codice));
        if (!esito.codici.contains(codice))
            esito.codici << codice;
        operazione.tabella = tabella;
        operazione.valori = std::move(convertita.valori);
        piano.operazioni.push_back(std::move(operazione));
    }
    return piano;
}

bool Ripristino::ScriviCopie(EsitoRipristino& esito)
{
    try {
        for (const QString& codice : std::as_const(esito.codici)) {
            const auto righe = db_.scalar(QStringLiteral("SELECT COUNT(*) FROM COPE WHERE OCOD = ?"),
                                          {codice}, ColumnType::Integer);
            // A declarant not stored yet has nothing to keep.
            if (!righe || righe->toInt() == 0)
                continue;
            const QString copia = PercorsoCopiaSicurezza(cartella_, codice, adesso());
            ScrittoreBackup scrittore(db_);
            scrittore.cripta = cripta;
            const EsitoBackup scritto = scrittore.CreaBackup(copia, codice);
            if (!scritto.riuscito) {
                esito.errore = QStringLiteral("Impossibile scrivere la copia di sicurezza ") + copia
                               + QStringLiteral(": ") + scritto.errore;
                return false;
            }
            esito.copieSicurezza << copia;
            esito.note += NoteBackup(scritto);
        }
    } catch (const DbError& errore) {
        esito.errore = errore.description();
        return false;
    }
    return true;
}

// The progressive names the files already sent: an older backup must not bring it back
// down, or the next file would reuse a name (and a ProgressivoInvio) already transmitted.
QHash<QString, int> Ripristino::ProgressiviRegistrati(const PianoRipristino& piano)
{
    QHash<QString, int> progressivi;
    for (const OperazioneRipristino& operazione : piano.operazioni) {
        if (operazione.tabella != &schema::COPE())
            continue;
        const QString codice = operazione.valori.value(cope::OCOD).toString();
        const auto registrato = db_.scalar(QStringLiteral("SELECT OPROG FROM COPE WHERE OCOD = ?"), {codice},
                                           ColumnType::Text);
        bool numero = false;
        const int valore = registrato ? registrato->toString().trimmed().toInt(&numero) : 0;
        if (numero)
            progressivi.insert(codice, valore);
    }
    return progressivi;
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

void Ripristino::Applica(const PianoRipristino& piano, EsitoRipristino& esito)
{
    Transaction transazione(db_);
    const QHash<QString, int> progressivi = ProgressiviRegistrati(piano);
    // Each declarant is deleted once per table, before any row is added: rows of a table
    // that comes back later in the file are not lost.
    for (const auto& [tabella, codici] : piano.sostituzioni) {
        for (const QString& codice : codici)
            db_.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(tabella->name, ColonnaCodice), {codice});
    }
    for (const OperazioneRipristino& operazione : piano.operazioni) {
        if (avanza)
            avanza();
        if (operazione.tabella == &schema::COPE()) {
            QVariantList valori = operazione.valori;
            MantieniProgressivo(valori, progressivi);
            db_.insert(*operazione.tabella, valori);
        } else if (operazione.tabella)
            db_.insert(*operazione.tabella, operazione.valori);
        else
            RipristinaCTAB(db_, operazione.tipo, operazione.cod, operazione.des);
        ++esito.righe;
    }
    transazione.commit();
}

QString MessaggioRipristinoFallito(const EsitoRipristino& esito)
{
    return QStringLiteral("Ripristino non riuscito: ") + esito.errore
           + QStringLiteral("\r\nI dati presenti non sono stati modificati.");
}

} // namespace quercino
