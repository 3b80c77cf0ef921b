#pragma once
// Fills a grid from rows read through the data-access layer: fieldNames names the
// query's columns in order, and each grid column takes the field of its key.

#include "platform/db/Row.h"

#include <QStringList>

#include <vector>

namespace quercino {

class Grid;

void RiempiGriglia(Grid& grid, const QStringList& fieldNames, const std::vector<Row>& rows);

} // namespace quercino
