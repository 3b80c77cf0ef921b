#include "platform/grid/GridRows.h"

#include "platform/grid/Grid.h"

namespace quercino {

void RiempiGriglia(Grid& grid, const QStringList& fieldNames, const std::vector<Row>& rows)
{
    QList<QVariantList> records;
    records.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row& row : rows) {
        QVariantList record;
        for (int i = 0; i < row.size(); ++i)
            record.append(row.value(i));
        records.append(record);
    }
    grid.Fill(fieldNames, records);
}

} // namespace quercino
