#pragma once
// Ties the import window to the registry window's "Elabora foglio Excel / CSV": the
// program calls this once at start-up.

#include "declarants/import/SorgenteDichiarante.h"

namespace quercino {

class F1OP;

// The declarant as the registry window shows it, and the progressive of each file taken
// through it (and given back to it).
class SorgenteRegistro final : public importazione::SorgenteDichiarante {
public:
    explicit SorgenteRegistro(F1OP& finestra) : finestra_(finestra) {}
    datifattura::DatiDichiarante Dichiarante() override;
    int PrendiProgressivo() override;
    void RestituisciProgressivo(int numero) override;

private:
    F1OP& finestra_;
};

void RegistraFinestraImportazione();

} // namespace quercino
