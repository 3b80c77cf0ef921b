#include "app/core/Comuni.h"

#include "app/core/Globals.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"
#include "platform/text/UpperCase.h"

#include <algorithm>
#include <numeric>

namespace quercino {

namespace {

QString chiave(const QString& testo)
{
    return upperOneToOne(testo);
}

} // namespace

void ElencoComuni::carica(Database& db)
{
    const std::vector<Row> righe = db.select(schema::T_COMUNI());
    std::vector<Comune> comuni;
    comuni.reserve(righe.size());
    for (const Row& riga : righe)
        comuni.push_back(Comune{riga.text(0), riga.text(1)});

    // Sorted here rather than by the database, whose collation differs between back-ends;
    // towns of the same name by province, so the order never depends on the back-end.
    std::vector<QString> chiavi;
    chiavi.reserve(comuni.size());
    for (const Comune& c : comuni)
        chiavi.push_back(chiave(c.nome));
    std::vector<std::size_t> ordine(comuni.size());
    std::iota(ordine.begin(), ordine.end(), std::size_t{0});
    std::stable_sort(ordine.begin(), ordine.end(),
                     [&](std::size_t a, std::size_t b) {
                         if (chiavi[a] != chiavi[b])
                             return chiavi[a] < chiavi[b];
                         return comuni[a].provincia < comuni[b].provincia;
                     });

    comuni_.clear();
    chiavi_.clear();
    comuni_.reserve(ordine.size());
    chiavi_.reserve(ordine.size());
    for (std::size_t i : ordine) {
        comuni_.push_back(std::move(comuni[i]));
        chiavi_.push_back(std::move(chiavi[i]));
    }
}

const Comune* ElencoComuni::cercaPrefisso(const QString& prefisso) const
{
    if (prefisso.isEmpty())
        return nullptr;
    const QString cercato = chiave(prefisso);
    const auto it = std::lower_bound(chiavi_.begin(), chiavi_.end(), cercato);
    if (it == chiavi_.end() || !it->startsWith(cercato))
        return nullptr;
    return &comuni_[static_cast<std::size_t>(it - chiavi_.begin())];
}

const Comune* ElencoComuni::cercaEsatto(const QString& nome) const
{
    if (nome.isEmpty())
        return nullptr;
    const QString cercato = chiave(nome);
    const auto it = std::lower_bound(chiavi_.begin(), chiavi_.end(), cercato);
    if (it == chiavi_.end() || *it != cercato)
        return nullptr;
    return &comuni_[static_cast<std::size_t>(it - chiavi_.begin())];
}

void CodiciComuniCF::carica(Database& db)
{
    QSet<QString> codici;
    for (const Row& riga : db.select(schema::T_COMUNICF()))
        codici.insert(chiave(riga.text(0).trimmed()));
    codici_ = std::move(codici);
}

bool CodiciComuniCF::contiene(const QString& codice) const
{
    return codici_.contains(chiave(codice));
}

ElencoComuni& Comuni()
{
    static ElencoComuni elenco;
    return elenco;
}

CodiciComuniCF& ComuniCF()
{
    static CodiciComuniCF codici;
    return codici;
}

void CaricaComuni(Database& db)
{
    ElencoComuni comuni;
    CodiciComuniCF codici;
    comuni.carica(db);
    codici.carica(db);
    Comuni() = std::move(comuni);
    ComuniCF() = std::move(codici);
    ComuniAperto = true;
}

void CaricaComuni()
{
    if (Cnn == nullptr)
        throw DbError(0, QStringLiteral("Connessione al database non aperta"));
    CaricaComuni(*Cnn);
}

} // namespace quercino
