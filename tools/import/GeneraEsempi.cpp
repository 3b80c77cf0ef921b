// Writes the sample sheets of the Help folder from the import's own column definitions:
// the workbook DATI_FATTURE_BASE.xlsx (issued invoices on the first sheet, received ones on
// the second) and the two CSV files. Usage: quercino_genera_esempi <Help folder>

#include "declarants/import/ColonneImport.h"
#include "platform/text/Windows1252.h"

#include <xlsxwriter.h>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <string>

using namespace quercino::importazione;

namespace {

const char* const Descrizione =
    "Una riga per ogni riepilogo IVA di ogni fattura, dalla riga 4 fino alla prima senza NUMERO DOCUMENTO; "
    "le righe senza partita IVA e codice fiscale continuano il cliente o fornitore della riga sopra";

bool ScriviCartella(const std::string& percorso)
{
    lxw_workbook* wb = workbook_new(percorso.c_str());
    if (!wb)
        return false;
    lxw_format* titolo = workbook_add_format(wb);
    format_set_bold(titolo);
    format_set_font_size(titolo, 14);
    lxw_format* intestazione = workbook_add_format(wb);
    format_set_bold(intestazione);
    format_set_text_wrap(intestazione);
    format_set_bg_color(intestazione, 0xDDEBF7);
    format_set_border(intestazione, LXW_BORDER_THIN);
    lxw_format* testo = workbook_add_format(wb);
    format_set_num_format(testo, "@");   // codes keep their leading zeros
    lxw_format* data = workbook_add_format(wb);
    format_set_num_format(data, "dd/mm/yyyy");
    lxw_format* importo = workbook_add_format(wb);
    format_set_num_format(importo, "#,##0.00");

    for (int foglio = 1; foglio <= 2; ++foglio) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, foglio == 1 ? "FATTURE EMESSE" : "FATTURE RICEVUTE");
        worksheet_write_string(ws, 0, 0, foglio == 1 ? "DATI FATTURE EMESSE" : "DATI FATTURE RICEVUTE", titolo);
        worksheet_write_string(ws, 1, 0, Descrizione, nullptr);
        worksheet_set_row(ws, 2, 45, nullptr);
        worksheet_freeze_panes(ws, 3, 0);
        for (int c = 0; c < NumeroColonne; ++c) {
            const DefinizioneColonna& d = DefinizioniColonne()[static_cast<std::size_t>(c)];
            const auto col = static_cast<lxw_col_t>(c);
            worksheet_set_column(ws, col, col, d.Larghezza, d.Tipo == TipoValore::Testo ? testo : nullptr);
            worksheet_write_string(ws, 2, col, d.Titolo, intestazione);
            const std::string valore = foglio == 1 ? d.EsempioEmesse : d.EsempioRicevute;
            if (valore.empty())
                continue;
            if (d.Tipo == TipoValore::Data) {
                int g = 0, m = 0, a = 0;
                if (std::sscanf(valore.c_str(), "%d/%d/%d", &g, &m, &a) != 3)
                    return false;
                lxw_datetime dt = {a, m, g, 0, 0, 0};
                worksheet_write_datetime(ws, 3, col, &dt, data);
            } else if (d.Tipo == TipoValore::Importo) {
                std::string numero = valore;
                for (char& ch : numero)
                    if (ch == ',')
                        ch = '.';
                worksheet_write_number(ws, 3, col, std::stod(numero), importo);
            } else {
                worksheet_write_string(ws, 3, col, valore.c_str(), testo);
            }
        }
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

bool ScriviCsv(const std::string& percorso, bool emesse)
{
    QString t = (emesse ? IntestazioneEmesse : IntestazioneRicevute) + QString(NumeroColonne - 1, QLatin1Char(';')) + QStringLiteral("\r\n");
    t += QString::fromLatin1(Descrizione).replace(QLatin1Char(';'), QLatin1Char(',')) + QStringLiteral("\r\n");
    QString titoli;
    QString esempio;
    for (int c = 0; c < NumeroColonne; ++c) {
        const DefinizioneColonna& d = DefinizioniColonne()[static_cast<std::size_t>(c)];
        if (c) {
            titoli += QLatin1Char(';');
            esempio += QLatin1Char(';');
        }
        titoli += QString::fromLatin1(d.Titolo);
        esempio += QString::fromLatin1(emesse ? d.EsempioEmesse : d.EsempioRicevute);
    }
    t += titoli + QStringLiteral("\r\n") + esempio + QStringLiteral("\r\n");
    const std::vector<std::uint8_t> byte = quercino::encodeWindows1252(t);
    std::ofstream f(percorso, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(byte.data()), static_cast<std::streamsize>(byte.size()));
    return static_cast<bool>(f);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s <cartella Help>\n", argv[0]);
        return 2;
    }
    // libxlsxwriter prints numbers through the C library: its locale must not use commas.
    std::setlocale(LC_NUMERIC, "C");
    const std::string cartella = argv[1];
    if (!ScriviCartella(cartella + "/DATI_FATTURE_BASE.xlsx") || !ScriviCsv(cartella + "/DATI_FATTURE_EMESSE.csv", true)
        || !ScriviCsv(cartella + "/DATI_FATTURE_RICEVUTE.csv", false)) {
        std::fprintf(stderr, "impossibile scrivere i fogli di esempio in %s\n", cartella.c_str());
        return 1;
    }
    return 0;
}
