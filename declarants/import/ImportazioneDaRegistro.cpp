#include "declarants/import/ImportazioneDaRegistro.h"

#include "declarants/import/FImpEX.h"
#include "declarants/registry/F1OP.h"

namespace quercino {

namespace {

// The declarant as the registry window shows it, and the progressive of each file taken
// through it.
class SorgenteRegistro final : public importazione::SorgenteDichiarante {
public:
    explicit SorgenteRegistro(F1OP& finestra) : finestra_(finestra) {}
    datifattura::DatiDichiarante Dichiarante() override { return finestra_.DatiDichiaranteCorrente(); }
    int PrendiProgressivo() override { return finestra_.PrendiProgressivo(); }
    void RestituisciProgressivo(int numero) override { finestra_.RestituisciProgressivo(numero); }

private:
    F1OP& finestra_;
};

} // namespace

void RegistraFinestraImportazione()
{
    F1OP::RegistraImportazione([](F1OP& registro) {
        SorgenteRegistro sorgente(registro);
        FImpEX finestra(sorgente, &registro);
        finestra.exec();
    });
}

} // namespace quercino
