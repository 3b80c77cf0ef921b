#pragma once
// Empties the fields of a window: every text box and combo box gets an empty text and
// every check box is unticked.

class QWidget;

namespace quercino {

void PulisciCampi(QWidget* window);

} // namespace quercino
