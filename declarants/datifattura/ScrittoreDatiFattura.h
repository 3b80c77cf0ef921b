#pragma once
// The DatiFattura writer of one sheet or CSV file: it takes the checked rows one at a time,
// groups them by counterpart and invoice, writes the blocks, and begins a new file whenever
// a limit of the Agency would be passed. It creates a file only when the file's first
// counterpart block is written: no block, no file, no progressive.
//
// Grouping: a row opens a new counterpart block when any of its VAT number, tax code and
// name is set and differs from the block's; a row with all three empty continues the block.
// A continuation row after a refused row of another counterpart belongs to that refused
// counterpart: it is refused too, never written under the block above.
// Within a block a row opens a new invoice when its number, date or document type differs
// from the invoice's; otherwise it adds one DatiRiepilogo to the invoice.
//
// Limits of a file: at most 999 counterpart blocks (repeated ones included) and 998
// invoices per block (the block is then closed and written again for the next invoice);
// at the next new counterpart, a new file once the file holds more than 9000 rows or more
// than 4,500,000 bytes; and never more than 5,000,000 bytes: when the next invoice might not
// fit, the block is closed at that invoice boundary and written again in the next file.
// "Might not fit" keeps room for the largest invoice the schema allows (1000 summaries,
// about half a megabyte), so in practice files close at about 4.5 MB.
// The grouping keys carry over a new file, so no invoice is split, merged or written twice.
//
// The files of a sheet take their final names together, when the sheet has ended (Chiudi):
// until then each one that is complete waits beside its final name, so that a sheet found
// damaged midway (Scarta) leaves none of its files behind and never a file they would have
// replaced lost. A sheet splits into at most about 300 files (300,000 rows, 999 or more to a
// file), each an open descriptor while it waits.

#include "declarants/datifattura/ControlloRiga.h"
#include "declarants/datifattura/DatiDichiarante.h"
#include "declarants/datifattura/RichiesteScrittura.h"
#include "declarants/datifattura/RigaFattura.h"
#include "declarants/datifattura/Testata.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quercino::datifattura {

class FileUscita;

enum class EsitoRiga {
    Scritta,    // the row is in the file
    Rifiutata,  // the row was not written: `errore` says why; the import reports it and goes on
    Annullata,  // the user cancelled a save dialog: nothing more is written for this sheet
};

struct RisultatoRiga {
    EsitoRiga esito = EsitoRiga::Scritta;
    std::optional<ErroreRiga> errore;
};

// A completed file.
struct FileScritto {
    QString percorso;
    int progressivo = 0;
    int blocchi = 0;        // counterpart blocks, repeated ones included
    int fatture = 0;        // invoice bodies
    int righe = 0;          // DatiRiepilogo
    qint64 byte = 0;
};

class ScrittoreDatiFattura {
public:
    static constexpr int MassimoBlocchiFile = 999;
    static constexpr int MassimoFattureBlocco = 998;
    static constexpr int MassimoRiepiloghiFattura = 1000;
    static constexpr int RigheDivisione = 9000;
    static constexpr qint64 SogliaFile = 4'500'000;
    static constexpr qint64 LimiteFile = 5'000'000;

    // Throws ErroreDatiFattura when the declarant's data would make a file the Agency refuses.
    // Each file takes its progressive from `richieste` when it is created (the declarant's
    // OPROG is not used).
    ScrittoreDatiFattura(const DatiDichiarante& dichiarante, TipoComunicazione tipo,
                         RichiesteScrittura& richieste);
    // Files still open or waiting are abandoned, as by Scarta.
    ~ScrittoreDatiFattura();
    ScrittoreDatiFattura(const ScrittoreDatiFattura&) = delete;
    ScrittoreDatiFattura& operator=(const ScrittoreDatiFattura&) = delete;

    // Writes one row. May take a progressive, ask for the first file's path and close a full
    // file on the way. Throws ErroreDatiFattura when a file cannot be written or no progressive
    // can be taken, DbError when the database fails meanwhile; the open file is then dropped
    // (its number given back), the completed ones wait for Chiudi, and every later row is
    // answered Annullata.
    RisultatoRiga Scrivi(const RigaFattura& riga);

    // A row the caller refused before it reached the writer, with the identification it
    // carried (VAT number, tax code, names). When it names a counterpart other than the open
    // block's, the continuation rows that follow it are refused as Scrivi refuses a
    // continuation row with no block above.
    void RigaScartata(const RigaFattura& riga);

    // The sheet has ended, whole (or stopped by the user or by a failure): the open file is
    // ended, and every complete file takes its final name, replacing a file there. Throws
    // ErroreDatiFattura when a file cannot be completed or renamed; that file and the ones
    // after it are then dropped and their numbers given back, the ones before it stay.
    void Chiudi();

    // The sheet turned out damaged: every file begun for it, complete or open, is dropped
    // (the files their names would have replaced stay as they are) and their numbers are
    // given back, newest first, as far as no other file took a later one. Returns their
    // paths, in the order they were begun; nothing more is written.
    QStringList Scarta();

    bool Annullato() const { return annullato_; }
    const std::vector<FileScritto>& FileScritti() const { return fileScritti_; }
    // Counterpart blocks opened by a change of counterpart (the summary's customers or
    // suppliers); repeated blocks are not counted here.
    int Controparti() const { return controparti_; }

private:
    // The invoices already written, kept as 128-bit fingerprints of their keys rather than
    // the keys themselves: a sheet of 300,000 rows stays within a few megabytes. Never all
    // zero: that marks a free slot of the table.
    struct Impronta {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        bool operator==(const Impronta&) const = default;
    };
    // An open-addressing set of fingerprints, at most three quarters full.
    class InsiemeImpronte {
    public:
        bool Contiene(const Impronta& i) const;
        void Inserisci(const Impronta& i);

    private:
        std::size_t Posto(const Impronta& i) const;
        std::vector<Impronta> posti_;
        std::size_t usati_ = 0;
    };

    // A complete file waiting for the end of the sheet.
    struct FileInAttesa {
        std::unique_ptr<FileUscita> file;
        FileScritto dati;
    };

    RisultatoRiga ScriviRiga(const RigaFattura& riga);
    RisultatoRiga Rifiuta(const RigaFattura& riga, const QString& nome, ErroreRiga errore);
    void Guasto();
    // Drops the open file, if any, and gives its number back.
    void Abbandona();
    // Drops the waiting files from `da` on, giving their numbers back newest first.
    void AbbandonaInAttesa(std::size_t da);
    // Gives the waiting files their final names, in order; the first failure's message.
    QString ConfermaInAttesa();
    bool CambioSoggetto(const RigaFattura& riga, const QString& nome) const;
    bool CambioFattura(const RigaFattura& riga) const;
    Impronta ImprontaFattura(const RigaFattura& soggetto, const QString& nome, const RigaFattura& riga) const;
    bool ApriSoggetto(const RigaFattura& riga, const QString& nome);
    bool ApriFattura(const RigaFattura& riga);
    void ScriviFattura(const RigaFattura& riga, const std::string& testaFattura);
    bool ScriviBlocco(const std::string& testaFattura);
    bool RiapriBlocco(const std::string& testaFattura);
    bool Entra(qint64 byte) const;
    void ChiudiFattura();
    void ChiudiBlocco();
    bool ScriviTestata();
    bool GiaScritto(const QString& percorso) const;
    void ChiudiFile();

    DatiDichiarante dichiarante_;
    TipoComunicazione tipo_;
    RichiesteScrittura& richieste_;
    qint64 riserva_;

    std::unique_ptr<FileUscita> file_;
    QString cartella_;
    int progressivo_ = 0;   // the open file's number
    bool primoFile_ = true;
    bool annullato_ = false;
    bool guasto_ = false;
    bool scartato_ = false;

    // The counterpart block being written; its opening row repeats it.
    bool bloccoAperto_ = false;
    RigaFattura rigaBlocco_;
    QString nomeSoggetto_;
    int fattureBlocco_ = 0;
    // The last row that named a counterpart was refused, and it was not the open block's:
    // continuation rows have no counterpart to go to.
    bool soggettoRifiutato_ = false;

    // The invoice being written.
    bool fatturaAperta_ = false;
    QString numero_;
    QDate data_;
    QString tipoDocumento_;
    int riepiloghi_ = 0;

    // The open file.
    int blocchiFile_ = 0;
    int fattureFile_ = 0;
    int righeFile_ = 0;

    int controparti_ = 0;
    std::vector<FileInAttesa> inAttesa_;
    std::vector<FileScritto> fileScritti_;
    InsiemeImpronte fattureScritte_;
};

} // namespace quercino::datifattura
