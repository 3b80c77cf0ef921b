#pragma once
// The value rules of the Agency's schema that the writer's checks share.

#include <QString>

namespace quercino::datifattura {

// 1 to `massimo` characters of the Basic Latin block (codes below 128).
bool LatinoBase(const QString& testo, int massimo);
// 1 to `massimo` characters of Basic Latin or Latin-1 Supplement (codes below 256).
bool Latino1(const QString& testo, int massimo);
// Two letters A-Z (country and province codes).
bool DueLettere(const QString& testo);
// 11 to 16 characters A-Z or 0-9 (tax codes).
bool CodiceFiscaleValido(const QString& testo);

} // namespace quercino::datifattura
