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

// OPROG of `codice`, its row locked until the transaction ends (PostgreSQL); nothing when
// there is no row. A row that another transaction replaced while this statement waited for
// its lock (a restore deletes every declarant and inserts it again) is not seen by that
// statement: a second reading sees it as it was committed.
std::optional<QVariant> ProgressivoBloccato(Database& db, const QString& codice)
{
    const QString sql = QStringLiteral("SELECT OPROG FROM COPE WHERE OCOD = ?") + db.forUpdate();
    auto letto = db.scalar(sql, {codice}, ColumnType::Text);
    if (!letto)
        letto = db.scalar(sql, {codice}, ColumnType::Text);
    return letto;
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
    QString progressivo;
    db.transaction([&] {
        const auto registrato = ProgressivoBloccato(db, dati.OCOD);
        progressivo = dati.OPROG;
        if (!registrato) {
            Inserisci(db, dati);
            return;
        }
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
    });
    return progressivo;
}

std::optional<DatiSoggetto> InserisciSoggetto(Database& db, const DatiSoggetto& dati)
{
    std::optional<DatiSoggetto> presente;
    try {
        db.transaction([&] {
            presente = LeggiSoggetto(db, dati.OCOD);
            if (!presente)
                Inserisci(db, dati);
        });
    } catch (const DbError& errore) {
        // Two copies storing the same new code at once: the key refuses the second, whose
        // transaction saw no row.
        if (errore.kind() != DbError::Kind::Statement)
            throw;
        if (auto registrato = LeggiSoggetto(db, dati.OCOD))
            return registrato;
        throw;
    }
    return presente;
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
    return CambiaProgressivo(db, codice, [&](const QString&) { return std::optional(progressivo); }).has_value();
}

std::optional<QString> CambiaProgressivo(Database& db, const QString& codice,
                                         const std::function<std::optional<QString>(const QString& letto)>& cambia)
{
    std::optional<QString> valore;
    db.transaction([&] {
        valore.reset();
        const auto letto = ProgressivoBloccato(db, codice);
        if (!letto)
            return;
        valore = letto->isNull() ? QString() : letto->toString();
        if (const auto nuovo = cambia(*valore))
            db.exec(QStringLiteral("UPDATE COPE SET OPROG = ? WHERE OCOD = ?"), {*nuovo, codice});
    });
    return valore;
}

} // namespace quercino
