#include "declarants/import/Importazione.h"

#include "app/core/Aperture.h"
#include "app/core/ErroreDatabase.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/ScrittoreDatiFattura.h"
#include "declarants/import/ColonneImport.h"
#include "platform/db/DbError.h"
#include "platform/sheets/CsvReader.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/Workbook.h"
#include "platform/text/Trim.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace quercino::importazione {

using datifattura::TipoComunicazione;
using sheets::SheetError;
using sheets::SheetRow;

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString TitoloErroreFoglio = QStringLiteral("Errore Foglio Xls");
const QString TitoloCsv = QStringLiteral("Lettura CSV");

bool Vuota(const QString& testo) { return trimBlanks(testo).isEmpty(); }

} // namespace

// The rows of a sheet or CSV file by number, from the first data row on.
class Importazione::Fonte {
public:
    virtual ~Fonte() = default;
    // The 34 texts of row `numero` (all empty for a row the sheet lacks); false when the
    // file has no more rows.
    virtual bool Riga(std::int32_t numero, std::vector<QString>& colonne) = 0;
};

class Importazione::FonteFoglio final : public Importazione::Fonte {
public:
    explicit FonteFoglio(std::unique_ptr<sheets::SheetReader> lettore) : lettore_(std::move(lettore)) {}

    // Row `numero` without taking it (nullptr when the sheet lacks it).
    const SheetRow* Guarda(std::int32_t numero)
    {
        Avanza(numero);
        return inAttesa_ && attesa_.Numero == numero ? &attesa_ : nullptr;
    }

    bool Riga(std::int32_t numero, std::vector<QString>& colonne) override
    {
        Avanza(numero);
        if (inAttesa_ && attesa_.Numero == numero) {
            // The row is handed over, not copied; its buffer comes back for the next one.
            colonne.swap(attesa_.Celle);
            inAttesa_ = false;
            return true;
        }
        colonne.assign(NumeroColonne, QString());
        return !fine_;
    }

private:
    void Avanza(std::int32_t numero)
    {
        while (!fine_ && (!inAttesa_ || attesa_.Numero < numero)) {
            inAttesa_ = lettore_->Prossima(attesa_);
            fine_ = !inAttesa_;
        }
    }

    std::unique_ptr<sheets::SheetReader> lettore_;
    SheetRow attesa_;
    bool inAttesa_ = false;
    bool fine_ = false;
};

class Importazione::FonteCsv final : public Importazione::Fonte {
public:
    explicit FonteCsv(sheets::CsvReader& lettore) : lettore_(lettore) {}

    bool Riga(std::int32_t, std::vector<QString>& colonne) override
    {
        if (!lettore_.Prossima(record_))
            return false;
        colonne = std::move(record_.Celle);
        // A line with fewer fields has its missing columns empty.
        colonne.resize(NumeroColonne);
        return true;
    }

private:
    sheets::CsvReader& lettore_;
    SheetRow record_;
};

Importazione::Importazione(SorgenteDichiarante& sorgente, LogImportazione& log, Avanzamento avanzamento)
    : sorgente_(sorgente), log_(log), avanzamento_(std::move(avanzamento)), richieste_(sorgente), ultimaRiga_(UltimaRigaDati)
{
}

EsitoImportazione Importazione::Importa(const QString& percorso, TipoFile tipo, const QString& separatore)
{
    esito_ = EsitoImportazione();
    fileInput_ = percorso;
    tipoFile_ = tipo;
    riga_ = 1;
    fermata_ = false;
    logNonScrivibile_ = false;
    if (avanzamento_.Inizio)
        avanzamento_.Inizio(percorso);
    if (percorso.isEmpty())
        return esito_;
    if (tipo == TipoFile::Excel)
        ImportaCartella(percorso);
    else
        ImportaCsv(percorso, separatore);
    if (esito_.Riepilogo)
        MostraRiepilogo();
    return esito_;
}

void Importazione::ImportaCartella(const QString& percorso)
{
    std::unique_ptr<sheets::Workbook> cartella;
    std::unique_ptr<FonteFoglio> primo;
    try {
        cartella = apri_ ? apri_(percorso) : sheets::ApriCartella(percorso);
        if (cartella->NumeroFogli() < 1)
            throw SheetError(QStringLiteral("La cartella di lavoro %1 non ha fogli di lavoro.").arg(percorso));
        primo = std::make_unique<FonteFoglio>(cartella->ApriFoglio(1, NumeroColonne));
        std::vector<QString> riga3;
        primo->Riga(3, riga3);
        if (trimBlanks(riga3[3]) != ControlloD3) {
            MsgBox(QStringLiteral("Errore nel formato del foglio"), Pulsanti::Ok, Icona::Critica, TitoloErroreFoglio);
            return;
        }
    } catch (const SheetError& e) {
        MsgBox(e.Messaggio, Pulsanti::Ok, Icona::Critica, TitoloErroreFoglio);
        return;
    }
    if (cartella->NumeroFogli() < 2) {
        MsgBox(QStringLiteral("Errore Excel Riga: %1 La cartella di lavoro non ha il secondo foglio (fatture ricevute): "
                              "si importa solo il primo.")
                   .arg(riga_));
    }

    esito_.Riepilogo = true;
    for (int foglio = 1; foglio <= 2 && !fermata_; ++foglio) {
        const TipoComunicazione tipo = foglio == 1 ? TipoComunicazione::DTE : TipoComunicazione::DTR;
        if (foglio == 2 && cartella->NumeroFogli() < 2)
            break;
        std::unique_ptr<FonteFoglio> fonte;
        const SheetRow* riga4 = nullptr;
        riga_ = PrimaRigaDati;
        try {
            fonte = foglio == 1 ? std::move(primo) : std::make_unique<FonteFoglio>(cartella->ApriFoglio(2, NumeroColonne));
            riga4 = fonte->Guarda(PrimaRigaDati);
        } catch (const SheetError& e) {
            // Damaged before any of its rows was used: no file of it; the other sheet is read.
            FoglioDanneggiato(e.Messaggio, tipo, {});
            continue;
        }
        // The sheet has data when N4 (the date) or O4 (the number) is set; a missing date is
        // then reported by the row's own checks.
        if (!riga4 || (Vuota(riga4->Cella(DataDocumento)) && Vuota(riga4->Cella(NumeroDocumento))))
            continue;
        if (!ImportaParte(*fonte, tipo, true)) {
            // A cancelled save dialog ends the input file; the summary follows only when
            // files were written before it.
            esito_.Riepilogo = !esito_.FileScritti.isEmpty();
            return;
        }
    }
}

void Importazione::ImportaCsv(const QString& percorso, const QString& separatore)
{
    std::unique_ptr<sheets::CsvReader> lettore;
    TipoComunicazione tipo = TipoComunicazione::DTE;
    try {
        lettore = std::make_unique<sheets::CsvReader>(percorso, separatore);
        SheetRow prima;
        QString campo;
        if (lettore->Prossima(prima) && !prima.Celle.empty())
            campo = trimBlanks(QString(prima.Celle[0]).remove(QLatin1Char('"')));
        if (campo == IntestazioneEmesse) {
            tipo = TipoComunicazione::DTE;
        } else if (campo == IntestazioneRicevute) {
            tipo = TipoComunicazione::DTR;
        } else {
            MsgBox(QStringLiteral("Il file ") + percorso + QStringLiteral(" non ha il tracciato previsto. "), Pulsanti::Ok,
                   Icona::Nessuna, TitoloCsv);
            return;
        }
        SheetRow saltata;
        lettore->Prossima(saltata);
        lettore->Prossima(saltata);
    } catch (const SheetError& e) {
        MsgBox(e.Messaggio, Pulsanti::Ok, Icona::Critica, TitoloCsv);
        return;
    }
    esito_.Riepilogo = true;
    FonteCsv fonte(*lettore);
    if (!ImportaParte(fonte, tipo, false))
        esito_.Riepilogo = !esito_.FileScritti.isEmpty();
}

bool Importazione::ImportaParte(Fonte& fonte, TipoComunicazione tipo, bool limiteRighe)
{
    ParteImportata& parte = tipo == TipoComunicazione::DTE ? esito_.Dati.Emesse : esito_.Dati.Ricevute;
    if (avanzamento_.Creazione)
        avanzamento_.Creazione();
    std::unique_ptr<datifattura::ScrittoreDatiFattura> scrittore;
    try {
        scrittore = std::make_unique<datifattura::ScrittoreDatiFattura>(sorgente_.Dichiarante(), tipo, richieste_);
    } catch (const datifattura::ErroreDatiFattura& e) {
        ErroreGrave(e.Messaggio(), QStringLiteral("Errore"));
        return true;
    }

    std::vector<QString> colonne;
    datifattura::RigaFattura riga;
    std::optional<datifattura::RigaFattura> precedente;
    bool annullato = false;
    std::optional<QString> danno;
    riga_ = PrimaRigaDati;
    try {
        for (;; ++riga_) {
            if (!fonte.Riga(riga_, colonne) || Vuota(colonne[NumeroDocumento - 1]))
                break;
            if (limiteRighe && riga_ > ultimaRiga_) {
                // Rows past the limit are not read, but never silently.
                const QString avviso = QStringLiteral("Riga %1: il foglio ha altri dati oltre la riga %2, che NON sono stati importati")
                                           .arg(riga_)
                                           .arg(ultimaRiga_);
                ApriLog();
                log_.Scrivi(avviso);
                MsgBox(avviso, Pulsanti::Ok, Icona::Attenzione, QStringLiteral("Attenzione"));
                break;
            }
            if (avanzamento_.Riga)
                avanzamento_.Riga(riga_);
            const EsitoLettura lettura = LeggiRiga(colonne, tipo, *this, precedente ? &*precedente : nullptr, riga);
            if (lettura.Interrompi) {
                parte.InterrottaAllaRiga = riga_;
                break;
            }
            if (!lettura.RigaValida) {
                // The writer learns whose the refused row was, so that the continuation
                // rows below it are not filed under the counterpart above.
                scrittore->RigaScartata(riga);
                continue;
            }
            const datifattura::RisultatoRiga scritta = scrittore->Scrivi(riga);
            if (scritta.esito == datifattura::EsitoRiga::Annullata) {
                annullato = true;
                break;
            }
            if (scritta.esito == datifattura::EsitoRiga::Rifiutata) {
                if (scritta.errore && !SegnalaErrore(scritta.errore->etichetta, scritta.errore->valore)) {
                    parte.InterrottaAllaRiga = riga_;
                    break;
                }
                continue;
            }
            precedente = riga;
        }
    } catch (const SheetError& e) {
        danno = e.Messaggio;
    } catch (const datifattura::ErroreDatiFattura& e) {
        // A file that could not be written: the files completed before it stay, and the
        // summary must not read as a whole sheet imported.
        parte.InterrottaAllaRiga = riga_;
        ErroreGrave(e.Messaggio(), QStringLiteral("Errore"));
    } catch (const DbError& e) {
        // No progressive for the next file (the connection lost, say): the files completed
        // before keep the numbers stored for them, and the summary names them.
        parte.InterrottaAllaRiga = riga_;
        ErroreGrave(QStringLiteral("Importazione interrotta: ") + DescrizioneErrore(e), QStringLiteral("Errore"));
    }
    parte.Righe = riga_ - PrimaRigaDati;
    if (danno) {
        // A sheet found damaged after some of its rows were used: rows past the damage may
        // be missing or wrong, so none of the files made from the sheet is kept (the files
        // they would have replaced stay as they were) and their numbers are given back. The
        // other sheet is read all the same.
        parte.InterrottaAllaRiga = riga_;
        FoglioDanneggiato(*danno, tipo, scrittore->Scarta());
        return true;
    }
    if (annullato) {
        // A save dialog cancelled at a split: the files completed before it stay written,
        // with the numbers they took, and the summary must name them.
        parte.InterrottaAllaRiga = riga_;
    }
    try {
        scrittore->Chiudi();
    } catch (const datifattura::ErroreDatiFattura& e) {
        ErroreGrave(e.Messaggio(), QStringLiteral("Errore"));
    }
    for (const auto& file : scrittore->FileScritti()) {
        parte.File << QFileInfo(file.percorso).fileName();
        esito_.FileScritti << file.percorso;
    }
    (tipo == TipoComunicazione::DTE ? esito_.Dati.Clienti : esito_.Dati.Fornitori) += scrittore->Controparti();
    return !annullato;
}

void Importazione::ApriLog()
{
    // The log goes to the folder of the output files (the last one chosen), and before any
    // was chosen to the folder of the input file.
    if (log_.Apri(fileInput_, UltimaCartella) || logNonScrivibile_)
        return;
    // Told once per input file: the reports are still shown one by one.
    logNonScrivibile_ = true;
    MsgBox(QStringLiteral("Impossibile scrivere il file ") + QDir::toNativeSeparators(log_.Percorso())
               + QStringLiteral(": le righe scartate non saranno registrate."),
           Pulsanti::Ok, Icona::Attenzione, QStringLiteral("Attenzione"));
}

bool Importazione::ChiudiLog()
{
    if (log_.Chiudi())
        return true;
    MsgBox(QStringLiteral("Impossibile scrivere il file ") + QDir::toNativeSeparators(log_.Percorso())
               + QStringLiteral(": ") + log_.Errore() + QStringLiteral(". Il log precedente non è stato modificato."),
           Pulsanti::Ok, Icona::Critica, QStringLiteral("Errore"));
    return false;
}

void Importazione::FoglioDanneggiato(const QString& messaggio, TipoComunicazione tipo, const QStringList& scartati)
{
    ApriLog();
    log_.Scrivi(QStringLiteral("Riga ") + QString::number(riga_) + QStringLiteral(" ERRORE: ") + messaggio);
    QString testo = messaggio;
    if (!scartati.isEmpty()) {
        const QString parte = tipoFile_ == TipoFile::Csv ? QStringLiteral("del file ") + QFileInfo(fileInput_).fileName()
            : tipo == TipoComunicazione::DTE            ? QStringLiteral("del foglio FATTURE EMESSE")
                                                        : QStringLiteral("del foglio FATTURE RICEVUTE");
        QStringList nomi, presenti;
        for (const QString& file : scartati) {
            nomi << QFileInfo(file).fileName();
            // Never renamed: a file there is the user's own, as it was.
            if (QFileInfo::exists(file))
                presenti << QFileInfo(file).fileName();
        }
        QStringList righe{QStringLiteral("Nessuno dei file XML creati dalle righe ") + parte + QStringLiteral(" è stato tenuto: ")
                          + nomi.join(QStringLiteral(", ")) + QLatin1Char('.')};
        if (!presenti.isEmpty()) {
            righe << QStringLiteral("I file già presenti con lo stesso nome non sono stati modificati: ")
                         + presenti.join(QStringLiteral(", ")) + QLatin1Char('.');
        }
        for (const QString& riga : righe)
            log_.Scrivi(QStringLiteral("Riga ") + QString::number(riga_) + QLatin1Char(' ') + riga);
        testo += CrLf + QStringLiteral(" ") + CrLf + righe.join(CrLf);
    }
    MsgBox(testo, Pulsanti::Ok, Icona::Critica, TitoloErroreFoglio);
}

void Importazione::ErroreGrave(const QString& messaggio, const QString& titolo)
{
    fermata_ = true;
    ApriLog();
    log_.Scrivi(QStringLiteral("Riga ") + QString::number(riga_) + QStringLiteral(" ERRORE: ") + messaggio);
    MsgBox(messaggio, Pulsanti::Ok, Icona::Critica, titolo);
}

bool Importazione::SegnalaErrore(const QString& etichetta, const QString& valore)
{
    ApriLog();
    log_.Scrivi(QStringLiteral("Riga ") + QString::number(riga_) + QStringLiteral(" Colonna: ") + etichetta
                + QStringLiteral("  Valore: ") + valore + QStringLiteral("  - Riga NON ELABORATA"));
    const QString testo = QStringLiteral("Riga ") + QString::number(riga_) + QStringLiteral(" Colonna: ") + etichetta + CrLf
        + QStringLiteral(" ") + CrLf + QStringLiteral("  Valore: ") + valore + CrLf + QStringLiteral(" ") + CrLf
        + QStringLiteral("Riga NON elaborata ") + CrLf + QStringLiteral(" ") + CrLf + QStringLiteral("Premere OK per Proseguire oppure ")
        + CrLf + QStringLiteral("ANNULLA (Cancel) per terminare l'importazione");
    const int risposta = MsgBox(testo, Pulsanti::OkAnnulla, Icona::Critica, QStringLiteral("Dati non validi"));
    Risposta = QString::number(risposta);
    if (risposta == RispostaOk)
        return true;
    if (ChiudiLog())
        ApriDocumento(log_.Percorso());
    return false;
}

bool Importazione::RigaSenzaValori()
{
    const QString testo = QStringLiteral("Riga ") + QString::number(riga_) + QStringLiteral(" senza valori validi. ") + CrLf
        + QStringLiteral("Riga NON importata. ") + CrLf + QStringLiteral(" ") + CrLf + QStringLiteral("Premere OK per Proseguire oppure ")
        + CrLf + QStringLiteral("ANNULLA (Cancel) per la lettura del foglio Excel");
    const int risposta = MsgBox(testo, Pulsanti::OkAnnulla, Icona::Critica, QStringLiteral("Dati non validi"));
    Risposta = QString::number(risposta);
    return risposta == RispostaOk;
}

void Importazione::MostraRiepilogo()
{
    esito_.Dati.CodiceFiscale = sorgente_.Dichiarante().OCF;
    esito_.Dati.Nome = NomeOperatore;
    const Riepilogo riepilogo = ComponiRiepilogo(esito_.Dati);
    ApriLog();
    for (const QString& riga : riepilogo.RigheLog)
        log_.Scrivi(riga);
    ChiudiLog();
    TestoMessaggio = riepilogo.Testo;
    MostraMessaggio(riepilogo.Titolo, TestoMessaggio, IconaTaskInformazione, QStringLiteral("OK Chiudi"),
                    QStringLiteral("Controlla LOG"), QStringLiteral("Vai al Portale dell'Agenzia"));
    if (RispostaTask == PrimoPulsanteTask + 1)
        ApriDocumento(log_.Percorso());
    else if (RispostaTask == PrimoPulsanteTask + 2)
        Esegui(QStringLiteral("EXPLORER \"") + IndirizzoPortale + QLatin1Char('"'));
}

} // namespace quercino::importazione
