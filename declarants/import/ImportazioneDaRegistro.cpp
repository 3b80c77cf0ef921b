#include "declarants/import/ImportazioneDaRegistro.h"

#include "declarants/import/FImpEX.h"
#include "declarants/registry/F1OP.h"

namespace quercino {

datifattura::DatiDichiarante SorgenteRegistro::Dichiarante() { return finestra_.DatiDichiaranteCorrente(); }
int SorgenteRegistro::PrendiProgressivo() { return finestra_.PrendiProgressivo(); }
void SorgenteRegistro::RestituisciProgressivo(int numero) { finestra_.RestituisciProgressivo(numero); }

void RegistraFinestraImportazione()
{
    F1OP::RegistraImportazione([](F1OP& registro) {
        SorgenteRegistro sorgente(registro);
        FImpEX finestra(sorgente, &registro);
        finestra.exec();
    });
}

} // namespace quercino
