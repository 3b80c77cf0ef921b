#pragma once
// The check of the declarant's data before a file is begun: the header and the declarant's
// block must be accepted by the Agency's schema. The registry's entry checks should already
// have refused these values; this is the writer's last guard, so that no file is created,
// numbered or counted from data the Agency would refuse.

#include "declarants/datifattura/DatiDichiarante.h"

#include <QStringList>

namespace quercino::datifattura {

// One Italian line per refused value, empty when the data can be written.
QStringList ControllaDichiarante(const DatiDichiarante& dichiarante);

// Only what the file name and the header use (an annulment file holds no more).
QStringList ControllaIntestazione(const DatiDichiarante& dichiarante);

// Throw ErroreDatiFattura with every line of the check when there is any.
void VerificaDichiarante(const DatiDichiarante& dichiarante);
void VerificaIntestazione(const DatiDichiarante& dichiarante);

} // namespace quercino::datifattura
