#include "platform/sheets/OdsSheetReader.h"

#include "platform/sheets/OdsCellText.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsxCellText.h"

#include <algorithm>

namespace quercino::sheets {

namespace {

// Row and column counts stop here: repetitions of any size add up without overflow.
constexpr std::int64_t Tetto = std::int64_t{1} << 40;

// A repetition count; 1 when missing or not a positive number.
std::int64_t Ripetizioni(std::string_view testo)
{
    std::int64_t n = 0;
    for (const char c : testo) {
        if (c < '0' || c > '9')
            return 1;
        n = std::min(n * 10 + (c - '0'), Tetto);
    }
    return std::max<std::int64_t>(n, 1);
}

// Elements of a paragraph whose text is not the cell's: notes, comments, ruby annotations,
// drawings anchored in the text, and what may only stand inside them.
bool Esclusa(std::string_view nome)
{
    static constexpr std::string_view Escluse[] = {
        "annotation", "note-body", "ruby-text", "frame", "custom-shape", "rect", "line", "polyline", "polygon",
        "regular-polygon", "path", "circle", "ellipse", "g", "page-thumbnail", "measure", "caption", "connector",
        "control", "p", "h", "list", "table"};
    return std::find(std::begin(Escluse), std::end(Escluse), nome) != std::end(Escluse);
}

// What a table holds its rows in (a header, groups of rows); anything else in it (columns,
// forms, shapes, scenario settings) has no rows of the sheet.
bool GruppoDiRighe(std::string_view nome)
{
    return nome == "table-rows" || nome == "table-header-rows" || nome == "table-row-group";
}

void Valore(std::string& destinazione, std::string_view grezzo)
{
    destinazione.clear();
    if (grezzo.find('&') == std::string_view::npos)
        destinazione.assign(grezzo);
    else
        AggiungiTestoXml(destinazione, grezzo);
}

[[noreturn]] void OltreLUltimaRiga()
{
    throw SheetError(QStringLiteral("Il foglio contiene righe oltre l'ultima che un foglio può avere."));
}

} // namespace

OdsSheetReader::OdsSheetReader(std::unique_ptr<CursoreOds> cursore, int colonne, Restituzione restituisci)
    : cursore_(std::move(cursore)), xml_(cursore_->xml), profTabella_(xml_.Profondita()), colonne_(std::max(colonne, 0)),
      restituisci_(std::move(restituisci))
{
}

OdsSheetReader::~OdsSheetReader()
{
    if (sano_ && restituisci_)
        restituisci_(std::move(cursore_));
}

bool OdsSheetReader::Prossima(SheetRow& riga)
{
    if (restanti_ > 0) {
        if (righe_ >= MassimoRighe)
            OltreLUltimaRiga();
        --restanti_;
        riga.Numero = static_cast<std::int32_t>(++righe_);
        riga.Celle = ripetuta_;
        return true;
    }
    if (finito_)
        return false;
    // An error from the parser leaves the cursor unfit for the next sheet.
    sano_ = false;
    for (;;) {
        switch (xml_.Prossimo()) {
        case XmlPullParser::Evento::FineDocumento:
            throw SheetError(QStringLiteral("Il foglio è troncato."));
        case XmlPullParser::Evento::Inizio: {
            const int profondita = xml_.Profondita();
            const std::string_view nome = xml_.Nome();
            if (profFuori_ != 0) {
                break;
            } else if (profCella_ != 0) {
                if (!serve_ || profEsclusa_ != 0)
                    break;
                if (profParagrafo_ == 0) {
                    // Only the cell's own paragraphs: not those of a comment or a list.
                    if (profondita == profCella_ + 1 && nome == "p") {
                        InizioParagrafo();
                        profParagrafo_ = profondita;
                    } else {
                        profEsclusa_ = profondita;
                    }
                } else if (nome == "s") {
                    const auto c = xml_.AttributoVeloce("c", appoggio_);
                    AggiungiSpazi(c ? static_cast<std::uint64_t>(Ripetizioni(*c)) : 1, ' ');
                } else if (nome == "tab") {
                    AggiungiSpazi(1, '\t');
                } else if (nome == "line-break") {
                    AggiungiSpazi(1, '\n');
                } else if (Esclusa(nome)) {
                    profEsclusa_ = profondita;
                }
            } else if (profRiga_ != 0) {
                if (profondita == profRiga_ + 1 && (nome == "table-cell" || nome == "covered-table-cell")) {
                    profCella_ = profondita;
                    InizioCella();
                }
            } else if (nome == "table-row") {
                profRiga_ = profondita;
                InizioRiga(riga);
            } else if (!GruppoDiRighe(nome)) {
                profFuori_ = profondita;
            }
            break;
        }
        case XmlPullParser::Evento::Fine: {
            // Elements end by depth, whatever name the closing tag gives.
            const int profondita = xml_.Profondita();
            if (profondita == profFuori_) {
                profFuori_ = 0;
            } else if (profondita == profEsclusa_) {
                profEsclusa_ = 0;
            } else if (profondita == profParagrafo_) {
                profParagrafo_ = 0;
            } else if (profondita == profCella_) {
                FineCella(riga);
            } else if (profondita == profRiga_) {
                profRiga_ = 0;
                if (NuovaRiga(riga))
                    return sano_ = true;
            } else if (profondita == profTabella_) {
                finito_ = true;
                sano_ = true;
                return false;
            }
            break;
        }
        case XmlPullParser::Evento::Testo:
            if (profParagrafo_ != 0 && profEsclusa_ == 0 && serve_)
                AggiungiTesto(xml_.Testo());
            break;
        }
    }
}

void OdsSheetReader::InizioRiga(SheetRow& riga)
{
    ripetiRiga_ = 1;
    for (const auto& [nome, valore] : xml_.Attributi())
        if (nome == "number-rows-repeated")
            ripetiRiga_ = Ripetizioni(valore);
    colonna_ = 0;
    rigaConTesto_ = false;
    // The vector's strings are reused: only those set are cleared.
    riga.Celle.resize(static_cast<std::size_t>(colonne_));
    for (QString& cella : riga.Celle)
        if (!cella.isNull())
            cella = QString();
}

void OdsSheetReader::InizioCella()
{
    ripetiCella_ = 1;
    serve_ = colonna_ < colonne_;
    tipo_.clear();
    errore_ = false;
    conStringa_ = false;
    formula_.clear();
    testo_.clear();
    paragrafi_ = 0;
    if (!serve_) {
        for (const auto& [nome, valore] : xml_.Attributi())
            if (nome == "number-columns-repeated")
                ripetiCella_ = Ripetizioni(valore);
        return;
    }
    std::string_view numero, data, durata, booleano;
    for (const auto& [nome, valore] : xml_.Attributi()) {
        if (nome == "number-columns-repeated") {
            ripetiCella_ = Ripetizioni(valore);
        } else if (nome == "value-type") {
            // office:value-type, and calcext:value-type, which alone tells an error.
            if (valore == "error")
                errore_ = true;
            else if (tipo_.empty())
                tipo_.assign(valore);
        } else if (nome == "value") {
            numero = valore;
        } else if (nome == "date-value") {
            data = valore;
        } else if (nome == "time-value") {
            durata = valore;
        } else if (nome == "boolean-value") {
            booleano = valore;
        } else if (nome == "string-value") {
            Valore(stringa_, valore);
            conStringa_ = true;
        } else if (nome == "formula") {
            Valore(formula_, valore);
        }
    }
    Valore(valore_, tipo_ == "date" ? data : tipo_ == "time" ? durata : tipo_ == "boolean" ? booleano : numero);
}

QString OdsSheetReader::ValoreCella() const
{
    if (!errore_) {
        QString testo;
        if (tipo_ == "float" || tipo_ == "percentage" || tipo_ == "currency") {
            if (const auto b = tipo_ == "float" ? FormulaBooleana(formula_) : std::nullopt)
                return *b ? QStringLiteral("VERO") : QStringLiteral("FALSO");
            testo = TestoNumero(valore_);
        } else if (tipo_ == "date") {
            testo = TestoDataIso(valore_);
        } else if (tipo_ == "time") {
            testo = TestoDurata(valore_);
        } else if (tipo_ == "boolean") {
            if (const auto b = ValoreBooleano(valore_))
                return *b ? QStringLiteral("VERO") : QStringLiteral("FALSO");
        } else if (tipo_ == "string" && conStringa_) {
            return TestoCellaOds(stringa_);
        }
        // A value its type cannot read: the text the cell shows.
        if (!testo.isEmpty())
            return testo;
    }
    return TestoCellaOds(testo_);
}

void OdsSheetReader::FineCella(SheetRow& riga)
{
    const std::int64_t prima = colonna_ + 1;
    colonna_ = std::min(colonna_ + ripetiCella_, Tetto);
    if (serve_) {
        const QString testo = ValoreCella();
        if (!testo.isEmpty()) {
            const std::int64_t ultima = std::min<std::int64_t>(colonna_, colonne_);
            for (std::int64_t c = prima; c <= ultima; ++c)
                riga.Celle[static_cast<std::size_t>(c) - 1] = testo;
            rigaConTesto_ = true;
        }
    }
    profCella_ = profParagrafo_ = profEsclusa_ = 0;
}

bool OdsSheetReader::NuovaRiga(SheetRow& riga)
{
    if (!rigaConTesto_) {
        righe_ = std::min(righe_ + ripetiRiga_, Tetto);
        return false;
    }
    if (righe_ >= MassimoRighe)
        OltreLUltimaRiga();
    riga.Numero = static_cast<std::int32_t>(++righe_);
    restanti_ = ripetiRiga_ - 1;
    if (restanti_ > 0)
        ripetuta_ = riga.Celle;
    return true;
}

void OdsSheetReader::InizioParagrafo()
{
    // Paragraphs are the lines of the cell.
    if (paragrafi_++ > 0)
        AggiungiLimitato(testo_, "\n");
}

void OdsSheetReader::AggiungiSpazi(std::uint64_t quanti, char carattere)
{
    if (testo_.size() < MassimoTestoXml)
        testo_.append(static_cast<std::size_t>(std::min<std::uint64_t>(quanti, MassimoTestoXml - testo_.size())), carattere);
}

// White space written as such is kept: the spreadsheet program that writes these files
// writes the blanks of a rich text's runs so (and reads them back so), where the format
// would collapse them.
void OdsSheetReader::AggiungiTesto(std::string_view testo)
{
    AggiungiLimitato(testo_, testo);
}

} // namespace quercino::sheets
