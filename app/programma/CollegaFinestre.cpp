#include "app/programma/CollegaFinestre.h"

#include "app/backup/FSalva.h"
#include "app/core/AutorePdf.h"
#include "app/shell/AttesaArchivio.h"
#include "app/shell/Collegamenti.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"

#include <QPointer>

namespace quercino {

namespace {

// The registry window as the main window drives it.
class AnagraficaF1OP final : public FinestraAnagrafica {
public:
    explicit AnagraficaF1OP(F1OP& finestra) : finestra_(finestra) {}

    QWidget* Finestra() override { return &finestra_; }
    void Aggiungi() override { finestra_.Aggiungi(); }
    void Elimina() override { finestra_.Elimina(); }
    void Lista() override { finestra_.Lista(); }
    void Registra() override { finestra_.Conferma(); }
    void ElaboraFoglio() override { finestra_.pbLeggi_Click(); }
    bool ConfermaModifiche() override { return finestra_.ConfermaModifiche(); }
    void ImpostaChiusuraProgramma(std::function<void()> chiudi) override
    {
        finestra_.ImpostaChiusuraProgramma(std::move(chiudi));
    }

private:
    F1OP& finestra_;
};

} // namespace

void CollegaFinestre()
{
    CollegaAutorePdf();
    CollegaAttesaArchivio();
    RegistraFinestraImportazione();
    RegistraAnagrafica([]() -> FinestraAnagrafica* {
        // One registry for the run: the main window takes it as its child.
        static AnagraficaF1OP* anagrafica = nullptr;
        static QPointer<F1OP> finestra;
        if (!finestra) {
            delete anagrafica;
            finestra = IstanzaF1OP() ? IstanzaF1OP() : new F1OP();
            anagrafica = new AnagraficaF1OP(*finestra);
        }
        return anagrafica;
    });
    RegistraSalvataggio([](QWidget* proprietario) {
        // Kept for the run, so the all-declarants folder chosen once is kept too.
        static QPointer<FSalva> finestra;
        if (!finestra)
            finestra = new FSalva(proprietario);
        finestra->Apri();
    });
}

} // namespace quercino
