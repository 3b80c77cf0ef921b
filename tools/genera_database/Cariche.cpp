#include "Cariche.h"

namespace quercino::genera {

const std::vector<Carica>& cariche()
{
    static const std::vector<Carica> elenco = {
        {QStringLiteral("1"), QStringLiteral("RAPPRESENTANTE LEGALE, NEGOZIALE O DI FATTO, SOCIO AMMINISTRATORE")},
        {QStringLiteral("2"), QStringLiteral("RAPPRESENTANTE DI MINORE, INABILITATO O INTERDETTO, AMMINISTRATORE DI SOSTEGNO, "
                                             "CURATORE DELL'EREDITÀ GIACENTE, AMMINISTRATORE DI EREDITÀ DEVOLUTA SOTTO "
                                             "CONDIZIONE SOSPENSIVA O IN FAVORE DI NASCITURO NON ANCORA CONCEPITO")},
        {QStringLiteral("3"), QStringLiteral("CURATORE FALLIMENTARE")},
        {QStringLiteral("4"), QStringLiteral("COMMISSARIO LIQUIDATORE (LIQUIDAZIONE COATTA AMMINISTRATIVA OVVERO "
                                             "AMMINISTRAZIONE STRAORDINARIA)")},
        {QStringLiteral("5"), QStringLiteral("CUSTODE GIUDIZIARIO (CUSTODIA GIUDIZIARIA), OVVERO AMMINISTRATORE GIUDIZIARIO "
                                             "IN QUALITÀ DI RAPPRESENTANTE DEI BENI SEQUESTRATI")},
        {QStringLiteral("6"), QStringLiteral("RAPPRESENTANTE FISCALE DI SOGGETTO NON RESIDENTE")},
        {QStringLiteral("7"), QStringLiteral("EREDE")},
        {QStringLiteral("8"), QStringLiteral("LIQUIDATORE (LIQUIDAZIONE VOLONTARIA)")},
        {QStringLiteral("9"), QStringLiteral("SOGGETTO TENUTO A PRESENTARE LA DICHIARAZIONE PER CONTO DEL SOGGETTO ESTINTO "
                                             "A SEGUITO DI OPERAZIONI STRAORDINARIE O ALTRE TRASFORMAZIONI SOSTANZIALI "
                                             "SOGGETTIVE (CESSIONARIO D'AZIENDA, SOCIETÀ BENEFICIARIA, INCORPORANTE, "
                                             "CONFERITARIA, ECC.)")},
        {QStringLiteral("10"), QStringLiteral("RAPPRESENTANTE FISCALE DI SOGGETTO NON RESIDENTE CON LE LIMITAZIONI DI CUI "
                                              "ALL'ART. 44, COMMA 3, DEL D.L. N. 331/1993")},
        {QStringLiteral("11"), QStringLiteral("SOGGETTO ESERCENTE L'ATTIVITÀ TUTORIA DEL MINORE O INTERDETTO IN RELAZIONE "
                                              "ALLA FUNZIONE ISTITUZIONALE RIVESTITA")},
        {QStringLiteral("12"), QStringLiteral("LIQUIDATORE (LIQUIDAZIONE VOLONTARIA DI DITTA INDIVIDUALE - PERIODO ANTE "
                                              "MESSA IN LIQUIDAZIONE)")},
        {QStringLiteral("13"), QStringLiteral("AMMINISTRATORE DI CONDOMINIO")},
        {QStringLiteral("14"), QStringLiteral("SOGGETTO CHE SOTTOSCRIVE LA DICHIARAZIONE PER CONTO DI UNA PUBBLICA "
                                              "AMMINISTRAZIONE")},
        {QStringLiteral("15"), QStringLiteral("COMMISSARIO LIQUIDATORE DI UNA PUBBLICA AMMINISTRAZIONE")},
    };
    return elenco;
}

} // namespace quercino::genera
