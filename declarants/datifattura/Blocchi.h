#pragma once
// The lines of a counterpart block, of an invoice and of a VAT summary, and their closings.

#include "declarants/datifattura/RigaFattura.h"
#include "declarants/datifattura/Testata.h"

#include <string>
#include <QString>

namespace quercino::datifattura {

// The opening of a counterpart block (CessionarioCommittenteDTE or CedentePrestatoreDTR)
// with its identification from `riga`, preceded by the comment naming it with `numero`
// (the block's place in the file) and `nomeSoggetto`.
void ScriviTestaBlocco(std::string& uscita, const RigaFattura& riga, TipoComunicazione tipo,
                       int numero, const QString& nomeSoggetto);

// The opening of an invoice body and its DatiGenerali, preceded by the comment naming it.
void ScriviTestaFattura(std::string& uscita, const RigaFattura& riga, TipoComunicazione tipo,
                        const QString& chiaveSoggetto, const QString& nomeSoggetto);

// One DatiRiepilogo from `riga`.
void ScriviRiepilogo(std::string& uscita, const RigaFattura& riga);

void ScriviFineFattura(std::string& uscita, TipoComunicazione tipo);
void ScriviFineBlocco(std::string& uscita, TipoComunicazione tipo);

} // namespace quercino::datifattura
