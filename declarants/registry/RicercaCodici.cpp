#include "declarants/registry/RicercaCodici.h"

#include "app/core/Globals.h"

namespace quercino {

namespace {

std::optional<CodiceScelta> Ricerca(const QString& tipo, const MostraRicerca& mostra)
{
    TabellaRicerca = tipo;
    // The lookup window clears its answer when it opens; cleared here as well so that a
    // window that failed to open cannot hand back the previous answer.
    CodiceScelto.clear();
    DescrizioneScelta.clear();
    if (mostra)
        mostra();
    if (CodiceScelto.isEmpty())
        return std::nullopt;
    return CodiceScelta{CodiceScelto, DescrizioneScelta};
}

} // namespace

std::optional<CodiceScelta> RicercaCarica(const MostraRicerca& mostra)
{
    OrdineRicerca = QStringLiteral("COD");
    return Ricerca(QStringLiteral("CARICA"), mostra);
}

std::optional<CodiceScelta> RicercaPaese(const MostraRicerca& mostra)
{
    return Ricerca(QStringLiteral("PAESE"), mostra);
}

} // namespace quercino
