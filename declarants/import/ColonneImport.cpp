#include "declarants/import/ColonneImport.h"

namespace quercino::importazione {

const std::array<DefinizioneColonna, NumeroColonne>& DefinizioniColonne()
{
    static const std::array<DefinizioneColonna, NumeroColonne> colonne = {{
        {"PARTITA IVA", TipoValore::Testo, "01234567890", "09876543210", 14},
        {"CODICE FISCALE", TipoValore::Testo, "01234567890", "", 18},
        {"DENOMINAZIONE", TipoValore::Testo, "ROSSI FORNITURE SRL", "BIANCHI SERVIZI SPA", 28},
        {"NOME", TipoValore::Testo, "", "", 14},
        {"COGNOME", TipoValore::Testo, "", "", 14},
        {"INDIRIZZO SEDE", TipoValore::Testo, "VIA ROMA", "CORSO ITALIA", 22},
        {"NUMERO CIVICO", TipoValore::Testo, "10", "5", 9},
        {"CAP", TipoValore::Testo, "00100", "20100", 8},
        {"COMUNE", TipoValore::Testo, "ROMA", "MILANO", 16},
        {"PROVINCIA", TipoValore::Testo, "RM", "MI", 10},
        {"NAZIONE", TipoValore::Testo, "IT", "IT", 9},
        {"(NON USATA)", TipoValore::Testo, "", "", 6},
        {"TIPO DOCUMENTO", TipoValore::Testo, "TD01", "TD01", 10},
        {"DATA DOCUMENTO", TipoValore::Data, "15/01/2017", "20/01/2017", 12},
        {"NUMERO DOCUMENTO", TipoValore::Testo, "1/2017", "A-125", 12},
        {"IMPONIBILE", TipoValore::Importo, "1000,00", "500,00", 12},
        {"IMPOSTA", TipoValore::Importo, "220,00", "110,00", 12},
        {"ALIQUOTA", TipoValore::Importo, "22,00", "22,00", 9},
        {"NATURA", TipoValore::Testo, "", "", 8},
        {"DETRAIBILE", TipoValore::Importo, "", "100,00", 10},
        {"DEDUCIBILE", TipoValore::Testo, "", "", 10},
        {"ESIGIBILITA IVA", TipoValore::Testo, "I", "I", 10},
        {"DATA REGISTRAZIONE", TipoValore::Data, "", "25/01/2017", 12},
        {"STABILE ORG. INDIRIZZO", TipoValore::Testo, "", "", 22},
        {"STABILE ORG. NUMERO CIVICO", TipoValore::Testo, "", "", 9},
        {"STABILE ORG. CAP", TipoValore::Testo, "", "", 8},
        {"STABILE ORG. COMUNE", TipoValore::Testo, "", "", 16},
        {"STABILE ORG. PROVINCIA", TipoValore::Testo, "", "", 10},
        {"STABILE ORG. NAZIONE", TipoValore::Testo, "", "", 9},
        {"RAPPR. FISCALE PARTITA IVA", TipoValore::Testo, "", "", 14},
        {"RAPPR. FISCALE DENOMINAZIONE", TipoValore::Testo, "", "", 24},
        {"RAPPR. FISCALE NOME", TipoValore::Testo, "", "", 14},
        {"RAPPR. FISCALE COGNOME", TipoValore::Testo, "", "", 14},
        {"(NON USATA)", TipoValore::Testo, "", "", 6},
    }};
    return colonne;
}

} // namespace quercino::importazione
