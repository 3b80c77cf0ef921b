#include "app/shell/Indirizzi.h"

#ifndef QUERCINO_PAGINA_AGGIORNAMENTI
#define QUERCINO_PAGINA_AGGIORNAMENTI ""
#endif
#ifndef QUERCINO_PAGINA_NEWS
#define QUERCINO_PAGINA_NEWS ""
#endif
#ifndef QUERCINO_PAGINA_ASSISTENZA
#define QUERCINO_PAGINA_ASSISTENZA ""
#endif
#ifndef QUERCINO_PROGRAMMA_ASSISTENZA
#define QUERCINO_PROGRAMMA_ASSISTENZA ""
#endif
#ifndef QUERCINO_SCARICAMENTO_ASSISTENZA
#define QUERCINO_SCARICAMENTO_ASSISTENZA ""
#endif
#ifndef QUERCINO_SHA256_ASSISTENZA
#define QUERCINO_SHA256_ASSISTENZA ""
#endif
#ifndef QUERCINO_EMAIL_ASSISTENZA
#define QUERCINO_EMAIL_ASSISTENZA ""
#endif
#ifndef QUERCINO_EMAIL_COMMERCIALE
#define QUERCINO_EMAIL_COMMERCIALE ""
#endif

namespace quercino {

namespace {

IndirizziProduttore& Correnti()
{
    static IndirizziProduttore indirizzi{
        QStringLiteral(QUERCINO_PAGINA_AGGIORNAMENTI).trimmed(),
        QStringLiteral(QUERCINO_PAGINA_NEWS).trimmed(),
        QStringLiteral(QUERCINO_PAGINA_ASSISTENZA).trimmed(),
        QStringLiteral(QUERCINO_PROGRAMMA_ASSISTENZA).trimmed(),
        QStringLiteral(QUERCINO_EMAIL_ASSISTENZA).trimmed(),
        QStringLiteral(QUERCINO_EMAIL_COMMERCIALE).trimmed(),
        QStringLiteral(QUERCINO_SCARICAMENTO_ASSISTENZA).trimmed(),
        QStringLiteral(QUERCINO_SHA256_ASSISTENZA).trimmed(),
    };
    return indirizzi;
}

} // namespace

const IndirizziProduttore& Indirizzi()
{
    return Correnti();
}

void ImpostaIndirizzi(const IndirizziProduttore& indirizzi)
{
    Correnti() = indirizzi;
}

} // namespace quercino
