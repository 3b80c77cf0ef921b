#pragma once
// The writer's questions answered as the import window answers them: the save dialog,
// the question before replacing a file, and the declarant's progressive.

#include "declarants/datifattura/RichiesteScrittura.h"
#include "declarants/import/SorgenteDichiarante.h"

namespace quercino::importazione {

class RichiesteImportazione final : public datifattura::RichiesteScrittura {
public:
    explicit RichiesteImportazione(SorgenteDichiarante& sorgente) : sorgente_(sorgente) {}

    // `SalvaConNome` with the type "XML": sets `FileSalva` and `UltimaCartella`.
    QString ChiediFileXML(const QString& nomeFile) override;
    bool ControlloDocumento(const QString& percorso) override;
    int PrendiProgressivo() override { return sorgente_.PrendiProgressivo(); }
    void RestituisciProgressivo(int numero) override { sorgente_.RestituisciProgressivo(numero); }

private:
    SorgenteDichiarante& sorgente_;
};

} // namespace quercino::importazione
