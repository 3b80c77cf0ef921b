#pragma once
// The opening every DatiFattura file shares (declaration, root element, header with the
// progressive and the signer), the declarant's own block of an invoice file, the closing
// lines, and the rule that names the files.

#include "declarants/datifattura/DatiDichiarante.h"

#include <string>
#include <QString>

namespace quercino::datifattura {

enum class TipoComunicazione { DTE, DTR };

// "DTE" or "DTR".
const char* NomeTipo(TipoComunicazione tipo);

// The namespace of the published DatiFattura v2.0 schema.
inline constexpr char NamespaceDatiFattura[] = "http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v2.0";

// Declaration, root element and DatiFatturaHeader with `progressivo` as ProgressivoInvio.
void ScriviIntestazione(std::string& uscita, const DatiDichiarante& dichiarante, int progressivo);

// "<DTE>" or "<DTR>" and the declarant's block (CedentePrestatoreDTE or
// CessionarioCommittenteDTR). Empty optional children are left out.
void ScriviBloccoDichiarante(std::string& uscita, const DatiDichiarante& dichiarante,
                             TipoComunicazione tipo);

// The last two lines of an invoice file: "    </DTE>" (or DTR) and the root's end tag.
void ScriviChiusura(std::string& uscita, TipoComunicazione tipo);

// OSPAESE & OCF & "_DF_" & the five-digit progressive & ".xml".
QString NomeFileDatiFattura(const DatiDichiarante& dichiarante, int progressivo);

} // namespace quercino::datifattura
