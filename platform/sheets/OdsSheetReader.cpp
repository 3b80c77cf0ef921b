#include "platform/sheets/OdsSheetReader.h"

#include "platform/sheets/OdsCellText.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/SpaziXml.h"
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
// drawings anchored in the text (any element of a drawing), and what may only stand inside
// them.
bool Esclusa(int spazio, std::string_view nome)
{
    switch (spazio) {
    case odf::Disegno:
    case odf::Disegno3d:
        return true;
    case odf::Office:
        return nome == "annotation";
    case odf::Testo:
        return nome == "note-body" || nome == "ruby-text" || nome == "p" || nome == "h" || nome == "list";
    case odf::Tabella:
        return nome == "table";
    default:
        return false;
    }
}

// What a table holds its rows in (a header, groups of rows); anything else in it (columns,
// forms, shapes, scenario settings) has no rows of the sheet.
bool GruppoDiRighe(const XmlPullParser& xml)
{
    return xml.Spazio() == odf::Tabella
        && (xml.Nome() == "table-rows" || xml.Nome() == "table-header-rows" || xml.Nome() == "table-row-group");
}

// What a table holds its columns' descriptions in.
bool GruppoDiColonne(const XmlPullParser& xml)
{
    return xml.Spazio() == odf::Tabella
        && (xml.Nome() == "table-columns" || xml.Nome() == "table-header-columns" || xml.Nome() == "table-column-group");
}

} // namespace

CursoreOds::CursoreOds(std::unique_ptr<ZipEntryStream> contenuto, const OrigineXml& origine)
    : flusso(std::move(contenuto)), xml([this](char* d, std::size_t n) { return flusso->Leggi(d, n); }, odf::Spazi(), origine)
{
}

OdsSheetReader::OdsSheetReader(std::unique_ptr<CursoreOds> cursore, const OdsStyles& stili, int colonne, Restituzione restituisci)
    : cursore_(std::move(cursore)), xml_(cursore_->xml), stili_(stili), profTabella_(xml_.Profondita()),
      colonne_(std::max(colonne, 0)), restituisci_(std::move(restituisci))
{
    colonneBooleane_.assign(static_cast<std::size_t>(colonne_), 0);
}

void OdsSheetReader::Errore(const QString& difetto) const
{
    throw ErroreParte(xml_.Origine().Parte, xml_.Origine().File, difetto);
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
            Errore(QStringLiteral("contiene righe oltre l'ultima che un foglio può avere."));
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
            Errore(QStringLiteral("è troncata."));
        case XmlPullParser::Evento::Inizio: {
            const int profondita = xml_.Profondita();
            const std::string_view nome = xml_.Nome();
            if (profFuori_ != 0) {
                break;
            } else if (profCella_ != 0) {
                if (!serve_ || profEsclusa_ != 0)
                    break;
                const int spazio = xml_.Spazio();
                if (profParagrafo_ == 0) {
                    // Only the cell's own paragraphs: not those of a comment or a list.
                    if (profondita == profCella_ + 1 && spazio == odf::Testo && nome == "p") {
                        InizioParagrafo();
                        profParagrafo_ = profondita;
                    } else {
                        profEsclusa_ = profondita;
                    }
                } else if (spazio == odf::Testo && nome == "s") {
                    const auto c = xml_.AttributoVeloce(odf::Testo, "c", appoggio_);
                    AggiungiSpazi(c ? static_cast<std::uint64_t>(Ripetizioni(*c)) : 1, ' ');
                } else if (spazio == odf::Testo && nome == "tab") {
                    AggiungiSpazi(1, '\t');
                } else if (spazio == odf::Testo && nome == "line-break") {
                    AggiungiSpazi(1, '\n');
                } else if (Esclusa(spazio, nome)) {
                    profEsclusa_ = profondita;
                }
            } else if (profRiga_ != 0) {
                if (profondita == profRiga_ + 1 && xml_.Spazio() == odf::Tabella
                    && (nome == "table-cell" || nome == "covered-table-cell")) {
                    profCella_ = profondita;
                    InizioCella();
                }
            } else if (xml_.E(odf::Tabella, "table-row")) {
                profRiga_ = profondita;
                InizioRiga(riga);
            } else if (xml_.E(odf::Tabella, "table-column")) {
                Colonna();
                profFuori_ = profondita;
            } else if (!GruppoDiRighe(xml_) && !GruppoDiColonne(xml_)) {
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
    rigaBooleana_.reset();
    for (const AttributoXml& a : xml_.Attributi()) {
        if (a.Spazio != odf::Tabella)
            continue;
        if (a.Nome == "number-rows-repeated") {
            ripetiRiga_ = Ripetizioni(a.Valore);
        } else if (a.Nome == "default-cell-style-name") {
            xml_.ValoreAttributo(appoggio_, a.Valore);
            rigaBooleana_ = stili_.Booleano(appoggio_);
        }
    }
    colonna_ = 0;
    rigaConTesto_ = false;
    // The vector's strings are reused: only those set are cleared.
    riga.Celle.resize(static_cast<std::size_t>(colonne_));
    for (QString& cella : riga.Celle)
        if (!cella.isNull())
            cella = QString();
}

// A column's description: the columns it stands for and their default cell style.
void OdsSheetReader::Colonna()
{
    std::int64_t ripetute = 1;
    bool booleana = false;
    for (const AttributoXml& a : xml_.Attributi()) {
        if (a.Spazio != odf::Tabella)
            continue;
        if (a.Nome == "number-columns-repeated") {
            ripetute = Ripetizioni(a.Valore);
        } else if (a.Nome == "default-cell-style-name") {
            xml_.ValoreAttributo(appoggio_, a.Valore);
            booleana = stili_.Booleano(appoggio_);
        }
    }
    const std::int64_t ultima = std::min<std::int64_t>(colonneDescritte_ + ripetute, colonne_);
    for (std::int64_t c = colonneDescritte_; c < ultima; ++c)
        colonneBooleane_[static_cast<std::size_t>(c)] = booleana;
    colonneDescritte_ = std::min(colonneDescritte_ + ripetute, Tetto);
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
        for (const AttributoXml& a : xml_.Attributi())
            if (a.Spazio == odf::Tabella && a.Nome == "number-columns-repeated")
                ripetiCella_ = Ripetizioni(a.Valore);
        return;
    }
    // A style of its own, else its row's, else its column's.
    stileBooleano_ = rigaBooleana_.value_or(colonneBooleane_[static_cast<std::size_t>(colonna_)] != 0);
    std::optional<std::string_view> numero, data, durata, booleano;
    for (const AttributoXml& a : xml_.Attributi()) {
        if (a.Spazio == odf::Tabella) {
            if (a.Nome == "number-columns-repeated") {
                ripetiCella_ = Ripetizioni(a.Valore);
            } else if (a.Nome == "formula") {
                xml_.ValoreAttributo(formula_, a.Valore);
            } else if (a.Nome == "style-name") {
                xml_.ValoreAttributo(appoggio_, a.Valore);
                stileBooleano_ = stili_.Booleano(appoggio_);
            }
        } else if (a.Spazio == odf::Office) {
            if (a.Nome == "value-type") {
                if (a.Valore == "error")
                    errore_ = true;
                else
                    tipo_.assign(a.Valore);
            } else if (a.Nome == "value") {
                numero = a.Valore;
            } else if (a.Nome == "date-value") {
                data = a.Valore;
            } else if (a.Nome == "time-value") {
                durata = a.Valore;
            } else if (a.Nome == "boolean-value") {
                booleano = a.Valore;
            } else if (a.Nome == "string-value") {
                xml_.ValoreAttributo(stringa_, a.Valore);
                conStringa_ = true;
            }
        } else if (a.Spazio == odf::Calcext && a.Nome == "value-type" && a.Valore == "error") {
            // LibreOffice's own type, which alone tells an error.
            errore_ = true;
        }
    }
    // A boolean written with the number's attribute (office:value="true") is read from it.
    const std::optional<std::string_view> valore = tipo_ == "date" ? data
                                                 : tipo_ == "time" ? durata
                                                 : tipo_ == "boolean" ? (booleano ? booleano : numero)
                                                                      : numero;
    xml_.ValoreAttributo(valore_, valore.value_or(std::string_view()));
}

// Whether a number cell shows a true/false value: a style that shows it so, or a formula
// whose result is one, kept as 1 or 0: TRUE() or FALSE(), or one whose 1 or 0 the cell shows
// as TRUE or FALSE (a comparison in a workbook a spreadsheet program computed; one whose
// cached result it kept shows the number, and is one).
std::optional<bool> OdsSheetReader::Booleano() const
{
    if (stileBooleano_) {
        if (const auto b = ValoreBooleano(valore_))
            return b;
    }
    if (formula_.empty())
        return std::nullopt;
    if (const auto b = FormulaBooleana(formula_))
        return b;
    const auto mostrato = TestoBooleano(testo_);
    if (mostrato && (valore_ == "1" || valore_ == "0") && *mostrato == (valore_ == "1"))
        return mostrato;
    return std::nullopt;
}

QString OdsSheetReader::ValoreCella() const
{
    if (!errore_) {
        QString testo;
        if (tipo_ == "float" || tipo_ == "percentage" || tipo_ == "currency") {
            if (const auto b = tipo_ == "float" ? Booleano() : std::nullopt)
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
        // A formula's error that its value cannot hold (a writer may keep a 0 for it): the
        // cell shows the error.
        if (!formula_.empty() && tipo_ != "string") {
            if (auto errore = ErroreMostrato(testo_))
                return *errore;
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
        Errore(QStringLiteral("contiene righe oltre l'ultima che un foglio può avere."));
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
