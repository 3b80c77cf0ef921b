#include "app/shell/Collegamenti.h"

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

} // namespace quercino
