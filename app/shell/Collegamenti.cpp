#include "app/shell/Collegamenti.h"

#include "app/shell/F0.h"

#include <QAction>
#include <QApplication>

namespace quercino {

namespace {

CreaAnagrafica anagrafica;
ApriSalvataggio salvataggio;

} // namespace

void RegistraAnagrafica(CreaAnagrafica crea)
{
    anagrafica = std::move(crea);
}

void RegistraSalvataggio(ApriSalvataggio apri)
{
    salvataggio = std::move(apri);
}

const CreaAnagrafica& AnagraficaRegistrata()
{
    return anagrafica;
}

const ApriSalvataggio& SalvataggioRegistrato()
{
    return salvataggio;
}

QWidget* FinestraPrincipale()
{
    return F0::Istanza();
}

QWidget* FinestraProprietaria()
{
    if (QWidget* attiva = QApplication::activeModalWidget())
        return attiva;
    if (QWidget* attiva = QApplication::activeWindow())
        return attiva;
    return FinestraPrincipale();
}

void ImpostaStatoSoggettiObbligati(bool attivo)
{
    if (F0* f0 = F0::Istanza())
        f0->AzioneSoggettiObbligati()->setChecked(attivo);
}

} // namespace quercino
