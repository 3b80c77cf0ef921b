#include "declarants/registry/LimitiCampi.h"

#include "app/core/Schema.h"
#include "declarants/datifattura/ValoriSchema.h"

#include <QHash>

#include <algorithm>

namespace quercino {

namespace {

using namespace datifattura;

// What the file takes of the fields that reach it. The declarant's own VAT numbers (and
// its representative's) are Italian ones.
const QHash<QString, int>& LimitiSchema()
{
    static const QHash<QString, int> limiti{
        {QStringLiteral("ORAG"), MassimoDenominazione},
        {QStringLiteral("ONOME"), MassimoTesto},
        {QStringLiteral("OCOG"), MassimoTesto},
        {QStringLiteral("OPIVA"), MassimoPartitaIvaItaliana},
        {QStringLiteral("OCF"), MassimoCodiceFiscale},
        {QStringLiteral("OSINDI"), MassimoTesto},
        {QStringLiteral("OSNUMC"), MassimoNumeroCivico},
        {QStringLiteral("OSCAP"), MassimoCap},
        {QStringLiteral("OSCOM"), MassimoTesto},
        {QStringLiteral("OSPRO"), 2},
        {QStringLiteral("OSPAESE"), 2},
        {QStringLiteral("ODICPIVA"), MassimoCodiceFiscale},
        {QStringLiteral("ODICCARICA"), MassimoCarica},
        {QStringLiteral("ORFPIVA"), MassimoPartitaIvaItaliana},
        {QStringLiteral("ORFRAG"), MassimoDenominazione},
        {QStringLiteral("ORFNOME"), MassimoTesto},
        {QStringLiteral("ORFCOG"), MassimoTesto},
        {QStringLiteral("OSOINDI"), MassimoTesto},
        {QStringLiteral("OSONUMC"), MassimoNumeroCivico},
        {QStringLiteral("OSOCAP"), MassimoCap},
        {QStringLiteral("OSOCOM"), MassimoTesto},
        {QStringLiteral("OSOPRO"), 2},
        {QStringLiteral("OSOPAESE"), 2},
        // The identifiers the portal gives are the ones an annulment sends back.
        {QStringLiteral("OUCDTE"), MassimoIdFile},
        {QStringLiteral("OUCDTR"), MassimoIdFile},
        {QStringLiteral("OPROG"), 5},
    };
    return limiti;
}

} // namespace

int LimiteCampo(const QString& colonna)
{
    const QString nome = colonna.toUpper();
    for (const Column& c : schema::COPE().columns) {
        if (c.name != nome || c.type != ColumnType::Text)
            continue;
        const int schema = LimitiSchema().value(nome, 0);
        return schema > 0 ? std::min(schema, c.width) : c.width;
    }
    return 0;
}

} // namespace quercino
