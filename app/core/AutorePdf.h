#pragma once
// The PDF writer signs every new document with the current declarant's name.

namespace quercino {

// Makes every Tavlo reset take NomeOperatore (in Windows-1252) as its default author,
// creator and producer. Called once at start-up.
void CollegaAutorePdf();

} // namespace quercino
