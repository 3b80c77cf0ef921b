#pragma once
// Reads the rows of one sheet of an OpenDocument spreadsheet in order, as a stream, from the
// sheet's element in content.xml to its end: only the current row is in memory. Repeated
// rows and cells cost nothing while empty; a repeated cell that is not empty fills the
// columns asked for, a repeated row that is not empty comes back once for each repetition.
// Rows with no text in the columns asked for are not returned.

#include "platform/sheets/OdsStyles.h"
#include "platform/sheets/SheetRow.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quercino::sheets {

// content.xml as a stream and the parser reading it: a sheet read to its end hands it to the
// next one, which goes on from there instead of inflating the file again from its start.
struct CursoreOds {
    CursoreOds(std::unique_ptr<ZipEntryStream> contenuto, const OrigineXml& origine);
    CursoreOds(const CursoreOds&) = delete;
    CursoreOds& operator=(const CursoreOds&) = delete;

    // Offsets in content.xml: the parser counts from where it began, `base` bytes in.
    std::uint64_t Posizione() const { return base + xml.Posizione(); }
    std::uint64_t InizioTag() const { return base + xml.InizioTag(); }

    std::unique_ptr<ZipEntryStream> flusso;
    XmlPullParser xml;
    std::uint64_t base = 0;
};

class OdsSheetReader final : public SheetReader {
public:
    // The last row a sheet has in the spreadsheet programs: rows with text past it are refused.
    static constexpr std::int64_t MassimoRighe = 1'048'576;

    using Restituzione = std::function<void(std::unique_ptr<CursoreOds>)>;

    // The sheet whose <table:table> start `cursore` has just read; the cursor goes back through
    // `restituisci` when the reader ends, unless an error left it in the middle of a tag.
    // `stili` (the workbook's) tell which cells show numbers as true/false.
    OdsSheetReader(std::unique_ptr<CursoreOds> cursore, const OdsStyles& stili, int colonne, Restituzione restituisci);
    ~OdsSheetReader() override;
    OdsSheetReader(const OdsSheetReader&) = delete;
    OdsSheetReader& operator=(const OdsSheetReader&) = delete;

    bool Prossima(SheetRow& riga) override;

private:
    void InizioRiga(SheetRow& riga);
    void Colonna();
    void InizioCella();
    std::optional<bool> Booleano() const;
    [[noreturn]] void Errore(const QString& difetto) const;
    void FineCella(SheetRow& riga);
    QString ValoreCella() const;
    void InizioParagrafo();
    void AggiungiTesto(std::string_view testo);
    void AggiungiSpazi(std::uint64_t quanti, char carattere);
    bool NuovaRiga(SheetRow& riga);

    std::unique_ptr<CursoreOds> cursore_;
    XmlPullParser& xml_;
    const OdsStyles& stili_;
    int profTabella_;
    int colonne_;
    Restituzione restituisci_;
    bool sano_ = true;
    bool finito_ = false;
    std::string appoggio_;

    int profFuori_ = 0;                 // an element of the table that holds no rows
    // The columns asked for whose cells show numbers as true/false unless a style of their
    // own or of their row says otherwise, and the columns described so far.
    std::vector<char> colonneBooleane_;
    std::int64_t colonneDescritte_ = 0;
    std::int64_t righe_ = 0;            // rows of the sheet before the current one
    // The row being read (its depth, 0 outside one) and its repetitions.
    int profRiga_ = 0;
    std::int64_t ripetiRiga_ = 1;
    std::optional<bool> rigaBooleana_;  // the row's default cell style, when it has one
    std::int64_t colonna_ = 0;          // columns of the row before the current cell
    bool rigaConTesto_ = false;
    // The last row returned, while it has repetitions left.
    std::int64_t restanti_ = 0;
    std::vector<QString> ripetuta_;

    // The cell being read (its depth, 0 outside one).
    int profCella_ = 0;
    std::int64_t ripetiCella_ = 1;
    bool serve_ = false;                // the cell reaches a column asked for
    std::string tipo_;
    bool errore_ = false;
    bool stileBooleano_ = false;
    std::string valore_;                // the value attribute of the cell's type
    std::string stringa_;
    bool conStringa_ = false;
    std::string formula_;
    // Its paragraphs: the current one's depth, an element left out (a note, a shape).
    int profParagrafo_ = 0;
    int profEsclusa_ = 0;
    int paragrafi_ = 0;
    std::string testo_;
};

} // namespace quercino::sheets
