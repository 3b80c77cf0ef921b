#pragma once
// IMPORTA: one input file (a workbook or a CSV file) from its layout check to its summary.
// It reads the rows, checks them, hands the good ones to the DatiFattura writer, reports the
// rejected ones in the log and to the user, and ends with the summary. Messages, dialogs
// and openings go through the program's replaceable services, so that it runs without a
// screen; the window only shows its progress.

#include "declarants/datifattura/RigaFattura.h"
#include "declarants/datifattura/Testata.h"
#include "declarants/import/LeggiRiga.h"
#include "declarants/import/LogImportazione.h"
#include "declarants/import/RichiesteImportazione.h"
#include "declarants/import/RiepilogoImportazione.h"
#include "declarants/import/SorgenteDichiarante.h"
#include "platform/sheets/Workbook.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quercino::importazione {

enum class TipoFile { Excel, Csv };

// What the window shows while an input file is read.
struct Avanzamento {
    std::function<void(const QString& percorso)> Inizio;   // a new input file
    std::function<void()> Creazione;                        // a sheet with data begins
    std::function<void(std::int32_t riga)> Riga;            // the row being read
};

struct EsitoImportazione {
    bool Riepilogo = false;     // the summary was given (false: layout refused, save cancelled)
    DatiRiepilogo Dati;
    QStringList FileScritti;    // full paths, in the order written
};

class Importazione final : private SegnalazioniRiga {
public:
    Importazione(SorgenteDichiarante& sorgente, LogImportazione& log, Avanzamento avanzamento = {});

    EsitoImportazione Importa(const QString& percorso, TipoFile tipo, const QString& separatore);

    // The row being read (sheet row, or CSV record).
    std::int32_t Riga() const { return riga_; }
    // The last sheet row read (UltimaRigaDati); lower only to test the limit on a small sheet.
    void ImpostaUltimaRiga(std::int32_t riga) { ultimaRiga_ = riga; }
    // How a workbook is opened: by the reader its content asks for (sheets::ApriCartella).
    // Tests put a reader double behind the Workbook interface here, to fail where no file
    // of a real producer can.
    using ApriCartellaFn = std::function<std::unique_ptr<sheets::Workbook>(const QString& percorso)>;
    void ImpostaApertura(ApriCartellaFn apri) { apri_ = std::move(apri); }

private:
    class Fonte;
    class FonteFoglio;
    class FonteCsv;

    void ImportaCartella(const QString& percorso);
    void ImportaCsv(const QString& percorso, const QString& separatore);
    // The data rows of one sheet or CSV file, from row 4. False when the save dialog was
    // cancelled (the input file then ends without summary).
    bool ImportaParte(Fonte& fonte, datifattura::TipoComunicazione tipo, bool limiteRighe);
    void MostraRiepilogo();
    void ErroreGrave(const QString& messaggio, const QString& titolo);
    // The reader's message for a sheet found damaged, with the files of the sheet that were
    // not kept; the import goes on with the other sheet.
    void FoglioDanneggiato(const QString& messaggio, datifattura::TipoComunicazione tipo, const QStringList& scartati);
    void ApriLog();
    // Closes the log; a log that could not be written is told (false).
    bool ChiudiLog();

    bool SegnalaErrore(const QString& etichetta, const QString& valore) override;
    bool RigaSenzaValori() override;

    SorgenteDichiarante& sorgente_;
    LogImportazione& log_;
    Avanzamento avanzamento_;
    RichiesteImportazione richieste_;

    QString fileInput_;
    TipoFile tipoFile_ = TipoFile::Excel;
    std::int32_t riga_ = 0;
    std::int32_t ultimaRiga_;
    ApriCartellaFn apri_;
    bool fermata_ = false;      // a file could not be written: nothing more for this input
    bool logNonScrivibile_ = false;
    EsitoImportazione esito_;
};

} // namespace quercino::importazione
