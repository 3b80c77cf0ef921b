#pragma once
// Fits every row of a grid to its contents (at least 20 pixels), with the wait pointer
// shown and the grid's drawing suspended meanwhile.

namespace quercino {

class Grid;

void AdattaRighe(Grid& grid);

} // namespace quercino
