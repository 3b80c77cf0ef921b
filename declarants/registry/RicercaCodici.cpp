#include "declarants/registry/RicercaCodici.h"

#include "app/core/Globals.h"
#include "declarants/registry/ControlliSoggetto.h"
#include "platform/db/Database.h"

#include <algorithm>

namespace quercino {

namespace {

std::optional<CodiceScelta> Ricerca(const QString& tipo, const MostraRicerca& mostra)
{
    TabellaRicerca = tipo;
    // The lookup window clears its answer when it opens; cleared here as well so that a
    // window that failed to open cannot hand back the previous answer.
    CodiceScelto.clear();
    DescrizioneScelta.clear();
    if (mostra)
        mostra();
    if (CodiceScelto.isEmpty())
        return std::nullopt;
    return CodiceScelta{CodiceScelto, DescrizioneScelta};
}

const CasellaCodice caselle[] = {
    {"OSPAESE", "OSPAESED", "PAESE",
     "Codice paese della sede legale non valido (doppio click per l'elenco dei paesi)"},
    {"OSOPAESE", "OSOPAESED", "PAESE",
     "Codice paese della stabile organizzazione non valido (doppio click per l'elenco dei paesi)"},
    {"ODICCARICA", "ODICCARICAD", "CARICA", CaricaNonValida},
};

} // namespace

std::optional<CodiceScelta> RicercaCarica(const MostraRicerca& mostra)
{
    OrdineRicerca = QStringLiteral("COD");
    return Ricerca(QStringLiteral("CARICA"), mostra);
}

std::optional<CodiceScelta> RicercaPaese(const MostraRicerca& mostra)
{
    return Ricerca(QStringLiteral("PAESE"), mostra);
}

const CasellaCodice* CasellaDelCodice(const QString& colonna)
{
    for (const CasellaCodice& casella : caselle) {
        if (colonna.compare(QLatin1String(casella.colonna), Qt::CaseInsensitive) == 0)
            return &casella;
    }
    return nullptr;
}

std::optional<CodiceScelta> CercaCodice(Database& db, const QString& tipo, const QString& codice)
{
    QString cercato = codice;
    // The Agency's roles are numbers, and the entry checks read "07" as 7.
    if (tipo == QLatin1String("CARICA")) {
        const bool cifre = !cercato.isEmpty()
                           && std::all_of(cercato.cbegin(), cercato.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        while (cifre && cercato.size() > 1 && cercato.startsWith(QLatin1Char('0')))
            cercato.remove(0, 1);
    }
    const std::vector<Row> righe = db.query(QStringLiteral("SELECT COD, DES FROM CTAB WHERE TIPO = ? AND COD = ?"),
                                            {tipo, cercato}, {ColumnType::Text, ColumnType::Text});
    if (righe.empty())
        return std::nullopt;
    return CodiceScelta{righe.front().text(0), righe.front().text(1)};
}

} // namespace quercino
