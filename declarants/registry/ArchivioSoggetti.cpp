#include "declarants/registry/ArchivioSoggetti.h"

#include "app/core/Schema.h"
#include "declarants/registry/ColonneCOPE.h"
#include "declarants/registry/Progressivo.h"
#include "platform/db/Database.h"

#include <QStringList>

namespace quercino {

namespace {

QVariant ValoreDaScrivere(const DatiSoggetto& dati, const Column& colonna)
{
    if (colonna.name.compare(QLatin1String("ODES"), Qt::CaseInsensitive) == 0)
        return dati.DescrizioneGriglia();
    return ValoreColonna(dati, colonna.name);
}

DatiSoggetto DaRiga(const Table& tabella, const Row& riga)
{
    DatiSoggetto dati;
    for (int i = 0; i < static_cast<int>(tabella.columns.size()); ++i)
        ImpostaColonna(dati, tabella.columns[i].name, riga.value(i));
    return dati;
}

void Inserisci(Database& db, const DatiSoggetto& dati)
{
    const Table& cope = schema::COPE();
    QVariantList valori;
    for (const Column& colonna : cope.columns)
        valori << ValoreDaScrivere(dati, colonna);
    db.insert(cope, valori);
}

} // namespace

std::optional<DatiSoggetto> LeggiSoggetto(Database& db, const QString& codice)
{
    const Table& cope = schema::COPE();
    const std::vector<Row> righe = db.select(cope, QStringLiteral(" WHERE OCOD = ?"), {codice});
    if (righe.empty())
        return std::nullopt;
    return DaRiga(cope, righe.front());
}

QString ScriviSoggetto(Database& db, const DatiSoggetto& dati, bool conProgressivo)
{
    const Table& cope = schema::COPE();
    Transaction transazione(db);
    const auto registrato = db.scalar(QStringLiteral("SELECT OPROG FROM COPE WHERE OCOD = ?") + db.forUpdate(),
                                      {dati.OCOD}, ColumnType::Text);
    QString progressivo = dati.OPROG;
    if (registrato) {
        const QString letto = registrato->isNull() ? QString() : registrato->toString();
        progressivo = conProgressivo ? ProgressivoMaggiore(letto, dati.OPROG) : letto;
        QStringList assegnazioni;
        QVariantList valori;
        for (const Column& colonna : cope.columns) {
            if (colonna.name.compare(QLatin1String("OCOD"), Qt::CaseInsensitive) == 0)
                continue;
            const bool oprog = colonna.name.compare(QLatin1String("OPROG"), Qt::CaseInsensitive) == 0;
            if (oprog && !conProgressivo)
                continue;
            assegnazioni << colonna.name + QStringLiteral(" = ?");
            valori << (oprog ? QVariant(progressivo) : ValoreDaScrivere(dati, colonna));
        }
        valori << dati.OCOD;
        db.exec(QStringLiteral("UPDATE COPE SET ") + assegnazioni.join(QStringLiteral(", "))
                    + QStringLiteral(" WHERE OCOD = ?"),
                valori);
    } else {
        Inserisci(db, dati);
    }
    transazione.commit();
    return progressivo;
}

std::optional<DatiSoggetto> InserisciSoggetto(Database& db, const DatiSoggetto& dati)
{
    try {
        Transaction transazione(db);
        if (auto presente = LeggiSoggetto(db, dati.OCOD))
            return presente;
        Inserisci(db, dati);
        transazione.commit();
    } catch (const DbError&) {
        // Two copies storing the same new code at once: the key refuses the second, whose
        // transaction saw no row.
        if (auto presente = LeggiSoggetto(db, dati.OCOD))
            return presente;
        throw;
    }
    return std::nullopt;
}

void EliminaSoggetto(Database& db, const QString& codice)
{
    db.exec(QStringLiteral("DELETE FROM COPE WHERE OCOD = ?"), {codice});
}

std::vector<RigaElenco> ElencoSoggetti(Database& db)
{
    const std::vector<Row> righe =
        db.query(QStringLiteral("SELECT OCOD, OCF, ODES FROM COPE ORDER BY ORAG, OCOD"), {},
                 {ColumnType::Text, ColumnType::Text, ColumnType::Text});
    std::vector<RigaElenco> elenco;
    elenco.reserve(righe.size());
    for (const Row& r : righe)
        elenco.push_back({r.text(0), r.text(1), r.text(2)});
    return elenco;
}

bool ScriviProgressivo(Database& db, const QString& codice, const QString& progressivo)
{
    // Some drivers do not report the rows affected: the row is looked for first.
    const auto presenti = db.scalar(QStringLiteral("SELECT COUNT(*) FROM COPE WHERE OCOD = ?"),
                                    {codice}, ColumnType::Integer);
    if (!presenti || presenti->toInt() == 0)
        return false;
    db.exec(QStringLiteral("UPDATE COPE SET OPROG = ? WHERE OCOD = ?"), {progressivo, codice});
    return true;
}

std::optional<QString> CambiaProgressivo(Database& db, const QString& codice,
                                         const std::function<std::optional<QString>(const QString& letto)>& cambia)
{
    Transaction transazione(db);
    const auto letto = db.scalar(QStringLiteral("SELECT OPROG FROM COPE WHERE OCOD = ?") + db.forUpdate(), {codice},
                                 ColumnType::Text);
    if (!letto)
        return std::nullopt;
    const QString valore = letto->isNull() ? QString() : letto->toString();
    if (const auto nuovo = cambia(valore))
        db.exec(QStringLiteral("UPDATE COPE SET OPROG = ? WHERE OCOD = ?"), {*nuovo, codice});
    transazione.commit();
    return valore;
}

} // namespace quercino
