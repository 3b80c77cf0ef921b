#pragma once
// The maker's addresses, fixed when the program is built (CMake cache variables, empty by
// default). An empty address switches off what would use it.

#include <QString>

namespace quercino {

struct IndirizziProduttore {
    QString paginaAggiornamenti;     // QUERCINO_PAGINA_AGGIORNAMENTI
    QString paginaNews;              // QUERCINO_PAGINA_NEWS
    QString paginaAssistenza;        // QUERCINO_PAGINA_ASSISTENZA (remote assistance)
    QString programmaAssistenza;     // QUERCINO_PROGRAMMA_ASSISTENZA (path, or a file name kept in
                                     // the public folder: PercorsoProgrammaAssistenza)
    QString emailAssistenza;         // QUERCINO_EMAIL_ASSISTENZA
    QString emailCommerciale;        // QUERCINO_EMAIL_COMMERCIALE
    QString scaricamentoAssistenza;  // QUERCINO_SCARICAMENTO_ASSISTENZA (https, fetched when missing)
    QString sha256Assistenza;        // QUERCINO_SHA256_ASSISTENZA (empty: not checked)
};

const IndirizziProduttore& Indirizzi();
// Replaces the built-in addresses (tests).
void ImpostaIndirizzi(const IndirizziProduttore& indirizzi);

} // namespace quercino
