#include "declarants/import/ColonneImport.h"

namespace quercino::importazione {

const std::array<DefinizioneColonna, NumeroColonne>& DefinizioniColonne()
{
    static const std::array<DefinizioneColonna, NumeroColonne> colonne = {{
        {"PARTITA IVA", "01234567890", 14},
        {"CODICE FISCALE", "01234567890", 18},
        {"DENOMINAZIONE", "ROSSI FORNITURE SRL", 28},
        {"NOME", "", 14},
        {"COGNOME", "", 14},
        {"INDIRIZZO SEDE", "VIA ROMA", 22},
        {"NUMERO CIVICO", "10", 9},
        {"CAP", "00100", 8},
        {"COMUNE", "ROMA", 16},
        {"PROVINCIA", "RM", 10},
        {"NAZIONE", "IT", 9},
        {"(NON USATA)", "", 6},
        {"TIPO DOCUMENTO", "TD01", 10},
        {"DATA DOCUMENTO", "15/01/2017", 12},
        {"NUMERO DOCUMENTO", "1/2017", 12},
        {"IMPONIBILE", "1000,00", 12},
        {"IMPOSTA", "220,00", 12},
        {"ALIQUOTA", "22,00", 9},
        {"NATURA", "", 8},
        {"DETRAIBILE", "", 10},
        {"DEDUCIBILE", "", 10},
        {"ESIGIBILITA IVA", "I", 10},
        {"DATA REGISTRAZIONE", "", 12},
        {"STABILE ORG. INDIRIZZO", "", 22},
        {"STABILE ORG. NUMERO CIVICO", "", 9},
        {"STABILE ORG. CAP", "", 8},
        {"STABILE ORG. COMUNE", "", 16},
        {"STABILE ORG. PROVINCIA", "", 10},
        {"STABILE ORG. NAZIONE", "", 9},
        {"RAPPR. FISCALE PARTITA IVA", "", 14},
        {"RAPPR. FISCALE DENOMINAZIONE", "", 24},
        {"RAPPR. FISCALE NOME", "", 14},
        {"RAPPR. FISCALE COGNOME", "", 14},
        {"(NON USATA)", "", 6},
    }};
    return colonne;
}

} // namespace quercino::importazione
