#include "CartellaComeProgramma.h"

namespace {

const std::string Intestazione = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const std::string Principale = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string Relazioni = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const std::string Pacchetto = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string TestoXml(const std::string& testo)
{
    std::string r;
    for (const char c : testo) {
        switch (c) {
        case '&': r += "&amp;"; break;
        case '<': r += "&lt;"; break;
        case '>': r += "&gt;"; break;
        default: r += c;
        }
    }
    return r;
}

std::string Colonna(std::size_t indice)
{
    std::string lettere;
    for (std::size_t n = indice + 1; n > 0; n = (n - 1) / 26)
        lettere.insert(lettere.begin(), static_cast<char>('A' + (n - 1) % 26));
    return lettere;
}

std::string Foglio(const std::string& dati)
{
    return Intestazione + "<worksheet xmlns=\"" + Principale + "\" xmlns:r=\"" + Relazioni
        + "\"><sheetPr filterMode=\"false\"><pageSetUpPr fitToPage=\"false\"/></sheetPr><sheetViews><sheetView "
          "tabSelected=\"true\" workbookViewId=\"0\"><selection pane=\"topLeft\" activeCell=\"A1\" sqref=\"A1\"/>"
          "</sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"12.8\"/><sheetData>"
        + dati;
}

const std::string FineFoglio = "</sheetData><pageMargins left=\"0.7875\" right=\"0.7875\" top=\"1.05277777777778\" "
                               "bottom=\"1.05277777777778\" header=\"0.7875\" footer=\"0.7875\"/></worksheet>";

// The run properties of a rich text entry, as a spreadsheet program writes them.
std::string Proprieta(bool grassetto)
{
    return std::string("<rPr>") + (grassetto ? "<b val=\"true\"/>" : "")
        + "<sz val=\"10\"/><rFont val=\"Arial\"/><family val=\"2\"/></rPr>";
}

} // namespace

CartellaComeProgramma::CartellaComeProgramma(const std::string& percorso) : zip_(percorso)
{
    zip_.Membro("xl/worksheets/sheet1.xml");
    foglio_ = Foglio("");
}

std::uint32_t CartellaComeProgramma::Indice(const std::string& testo, bool ricco)
{
    ++riferimenti_;
    const auto [posto, nuovo] = indici_.try_emplace(testo, static_cast<std::uint32_t>(voci_.size()));
    if (nuovo)
        voci_.push_back({&posto->first, ricco});
    return posto->second;
}

void CartellaComeProgramma::Scarica(bool sempre)
{
    if (sempre || foglio_.size() >= (1u << 20)) {
        zip_.Scrivi(foglio_);
        foglio_.clear();
    }
}

void CartellaComeProgramma::Riga(int numero, const std::vector<std::string>& campi)
{
    const std::string n = std::to_string(numero);
    foglio_ += "<row r=\"" + n
        + "\" customFormat=\"false\" ht=\"12.8\" hidden=\"false\" customHeight=\"false\" outlineLevel=\"0\" collapsed=\"false\">";
    for (std::size_t c = 0; c < campi.size(); ++c) {
        if (campi[c].empty())
            continue;
        // One name in eight of the counterparts comes in two runs, its first word bold.
        const bool ricco = c == 2 && voci_.size() % 8 == 0 && campi[c].find(' ') != std::string::npos;
        foglio_ += "<c r=\"" + Colonna(c) + n + "\" s=\"0\" t=\"s\"><v>" + std::to_string(Indice(campi[c], ricco)) + "</v></c>";
    }
    foglio_ += "</row>";
    Scarica(false);
}

bool CartellaComeProgramma::Chiudi()
{
    foglio_ += FineFoglio;
    Scarica(true);

    zip_.Membro("xl/sharedStrings.xml");
    std::string testi = Intestazione + "<sst xmlns=\"" + Principale + "\" count=\"" + std::to_string(riferimenti_)
        + "\" uniqueCount=\"" + std::to_string(voci_.size()) + "\">";
    for (const Voce& v : voci_) {
        const std::string& t = *v.Testo;
        if (v.Ricco) {
            const std::size_t spazio = t.find(' ') + 1;
            testi += "<si><r>" + Proprieta(true) + "<t xml:space=\"preserve\">" + TestoXml(t.substr(0, spazio)) + "</t></r><r>"
                + Proprieta(false) + "<t xml:space=\"preserve\">" + TestoXml(t.substr(spazio)) + "</t></r></si>";
        } else {
            testi += "<si><t xml:space=\"preserve\">" + TestoXml(t) + "</t></si>";
        }
        if (testi.size() >= (1u << 20)) {
            zip_.Scrivi(testi);
            testi.clear();
        }
    }
    zip_.Scrivi(testi + "</sst>");

    // The second sheet (received invoices) has no rows.
    zip_.Membro("xl/worksheets/sheet2.xml");
    zip_.Scrivi(Foglio("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>FATTURE RICEVUTE</t></is></c></row>") + FineFoglio);
    zip_.Membro("xl/styles.xml");
    zip_.Scrivi(Intestazione + "<styleSheet xmlns=\"" + Principale
                + "\"><fonts count=\"1\"><font><sz val=\"10\"/><name val=\"Arial\"/><family val=\"2\"/></font></fonts>"
                  "<fills count=\"1\"><fill><patternFill patternType=\"none\"/></fill></fills><borders count=\"1\"><border/>"
                  "</borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                  "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs></styleSheet>");
    zip_.Membro("xl/workbook.xml");
    zip_.Scrivi(Intestazione + "<workbook xmlns=\"" + Principale + "\" xmlns:r=\"" + Relazioni
                + "\"><fileVersion appName=\"Calc\"/><workbookPr date1904=\"false\"/><sheets>"
                  "<sheet name=\"FATTURE EMESSE\" sheetId=\"1\" state=\"visible\" r:id=\"rId2\"/>"
                  "<sheet name=\"FATTURE RICEVUTE\" sheetId=\"2\" state=\"visible\" r:id=\"rId3\"/></sheets></workbook>");
    const auto relazione = [](const char* id, const char* tipo, const char* destinazione) {
        return "<Relationship Id=\"" + std::string(id) + "\" Type=\"" + Relazioni + "/" + tipo + "\" Target=\"" + destinazione + "\"/>";
    };
    zip_.Membro("xl/_rels/workbook.xml.rels");
    zip_.Scrivi(Intestazione + "<Relationships xmlns=\"" + Pacchetto + "\">" + relazione("rId1", "styles", "styles.xml")
                + relazione("rId2", "worksheet", "worksheets/sheet1.xml") + relazione("rId3", "worksheet", "worksheets/sheet2.xml")
                + relazione("rId4", "sharedStrings", "sharedStrings.xml") + "</Relationships>");
    zip_.Membro("_rels/.rels");
    zip_.Scrivi(Intestazione + "<Relationships xmlns=\"" + Pacchetto + "\">" + relazione("rId1", "officeDocument", "xl/workbook.xml")
                + "</Relationships>");
    zip_.Membro("[Content_Types].xml");
    zip_.Scrivi(Intestazione + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Default Extension=\"rels\" "
                "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/></Types>");
    return zip_.Chiudi();
}
