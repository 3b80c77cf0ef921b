#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include "declarants/datifattura/Blocchi.h"
#include "declarants/datifattura/ControlloDichiarante.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/FileUscita.h"
#include "declarants/datifattura/Formati.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <utility>

namespace quercino::datifattura {

namespace {

// The room one invoice may still need once its head is written: its largest possible
// DatiRiepilogo as many times as an invoice may hold them, and the closing lines of the
// invoice, of the block and of the file. Checking it before each invoice keeps every file
// within the limit whatever rows follow.
qint64 RiservaFattura(TipoComunicazione tipo)
{
    RigaFattura massima;
    massima.Imponibile = -9'999'999'999'999;
    massima.Imposta = -9'999'999'999'999;
    massima.Aliquota = 10'000;
    massima.Natura = QStringLiteral("N7");
    massima.Detraibile = 10'000;
    massima.Deducibile = true;
    massima.EsigibilitaIVA = QStringLiteral("S");
    std::string prova;
    ScriviRiepilogo(prova, massima);
    const auto riepilogo = static_cast<qint64>(prova.size());
    prova.clear();
    ScriviFineFattura(prova, tipo);
    ScriviFineBlocco(prova, tipo);
    ScriviChiusura(prova, tipo);
    return riepilogo * ScrittoreDatiFattura::MassimoRiepiloghiFattura + static_cast<qint64>(prova.size());
}

bool Differisce(const QString& valore, const QString& delBlocco)
{
    return !valore.isEmpty() && valore != delBlocco;
}

} // namespace

ScrittoreDatiFattura::ScrittoreDatiFattura(const DatiDichiarante& dichiarante, TipoComunicazione tipo,
                                           RichiesteScrittura& richieste)
    : dichiarante_(dichiarante), tipo_(tipo), richieste_(richieste), riserva_(RiservaFattura(tipo))
{
    VerificaDichiarante(dichiarante_);
}

ScrittoreDatiFattura::~ScrittoreDatiFattura()
{
    Abbandona();
    AbbandonaInAttesa(0);
}

bool ScrittoreDatiFattura::CambioSoggetto(const RigaFattura& r, const QString& nome) const
{
    if (!bloccoAperto_)
        return true;
    return Differisce(r.PartitaIva, rigaBlocco_.PartitaIva)
        || Differisce(NormalizzaCodiceFiscale(r.CodiceFiscale), NormalizzaCodiceFiscale(rigaBlocco_.CodiceFiscale))
        || Differisce(nome, nomeSoggetto_);
}

bool ScrittoreDatiFattura::CambioFattura(const RigaFattura& r) const
{
    return r.Numero != numero_ || r.Data != data_ || r.TipoDocumento != tipoDocumento_;
}

namespace {

// Two independent hashes of the key's parts in order; hashing each part with its length
// keeps ("AB", "C") and ("A", "BC") apart as the separators of a joined key would.
struct HashChiave {
    std::uint64_t a = 0x9E3779B97F4A7C15ULL;
    std::uint64_t b = 0xC2B2AE3D27D4EB4FULL;

    void Aggiungi(std::uint64_t x, std::uint64_t y)
    {
        a = Mescola(a ^ x);
        b = Mescola(b ^ y);
    }
    void Aggiungi(std::int64_t valore) { Aggiungi(static_cast<std::uint64_t>(valore), static_cast<std::uint64_t>(valore)); }
    void Aggiungi(const QString& parte)
    {
        const QStringView v(parte);
        const auto n = static_cast<std::uint64_t>(parte.size());
        Aggiungi(qHash(v, static_cast<std::size_t>(a)) ^ n, qHash(v, static_cast<std::size_t>(b)) + n);
    }
    static std::uint64_t Mescola(std::uint64_t x)
    {
        x ^= x >> 31;
        x *= 0xBF58476D1CE4E5B9ULL;
        x ^= x >> 29;
        x *= 0x94D049BB133111EBULL;
        return x ^ (x >> 32);
    }
};

} // namespace

ScrittoreDatiFattura::Impronta ScrittoreDatiFattura::ImprontaFattura(const RigaFattura& soggetto, const QString& nome,
                                                                    const RigaFattura& r) const
{
    HashChiave h;
    h.Aggiungi(soggetto.PartitaIva);
    h.Aggiungi(NormalizzaCodiceFiscale(soggetto.CodiceFiscale));
    h.Aggiungi(nome);
    h.Aggiungi(r.Numero);
    h.Aggiungi(r.Data.toJulianDay());
    h.Aggiungi(r.TipoDocumento);
    return Impronta{h.a, h.b | 1};
}

std::size_t ScrittoreDatiFattura::InsiemeImpronte::Posto(const Impronta& i) const
{
    const std::size_t maschera = posti_.size() - 1;
    std::size_t k = static_cast<std::size_t>(i.a) & maschera;
    while (posti_[k] != Impronta() && posti_[k] != i)
        k = (k + 1) & maschera;
    return k;
}

bool ScrittoreDatiFattura::InsiemeImpronte::Contiene(const Impronta& i) const
{
    return !posti_.empty() && posti_[Posto(i)] == i;
}

void ScrittoreDatiFattura::InsiemeImpronte::Inserisci(const Impronta& i)
{
    if (4 * (usati_ + 1) > 3 * posti_.size()) {
        std::vector<Impronta> vecchi(std::max<std::size_t>(1024, 2 * posti_.size()));
        vecchi.swap(posti_);
        for (const Impronta& v : vecchi)
            if (v != Impronta())
                posti_[Posto(v)] = v;
    }
    Impronta& posto = posti_[Posto(i)];
    if (posto == Impronta()) {
        posto = i;
        ++usati_;
    }
}

RisultatoRiga ScrittoreDatiFattura::Scrivi(const RigaFattura& r)
{
    if (annullato_ || guasto_ || scartato_)
        return {EsitoRiga::Annullata, std::nullopt};
    try {
        return ScriviRiga(r);
    } catch (...) {
        Guasto();
        throw;
    }
}

// After a failure the open file is dropped (its temporary file removed) and nothing more is
// written: the files already completed wait for Chiudi.
void ScrittoreDatiFattura::Guasto()
{
    guasto_ = true;
    Abbandona();
}

void ScrittoreDatiFattura::Abbandona()
{
    if (!file_)
        return;
    file_.reset();
    richieste_.RestituisciSenzaErrori(progressivo_);
}

void ScrittoreDatiFattura::AbbandonaInAttesa(std::size_t da)
{
    // Newest first: a number is given back only while it is the last one taken.
    while (inAttesa_.size() > da) {
        const int numero = inAttesa_.back().dati.progressivo;
        inAttesa_.pop_back();
        richieste_.RestituisciSenzaErrori(numero);
    }
}

QString ScrittoreDatiFattura::ConfermaInAttesa()
{
    for (std::size_t i = 0; i < inAttesa_.size(); ++i) {
        try {
            inAttesa_[i].file->Conferma();
        } catch (const ErroreDatiFattura& e) {
            // The files after it are dropped too, so that the numbers given back leave no gap;
            // the ones before it have their names.
            AbbandonaInAttesa(i);
            inAttesa_.clear();
            return e.Messaggio();
        }
        fileScritti_.push_back(inAttesa_[i].dati);
        inAttesa_[i].file.reset();
    }
    inAttesa_.clear();
    return {};
}

namespace {

bool SenzaIdentificativi(const RigaFattura& r, const QString& nome)
{
    return r.PartitaIva.isEmpty() && r.CodiceFiscale.isEmpty() && nome.isEmpty();
}

ErroreRiga SenzaSoggetto()
{
    return ErroreRiga{QStringLiteral("Partita Iva / Codice Fiscale"), Vuoto};
}

} // namespace

void ScrittoreDatiFattura::RigaScartata(const RigaFattura& r)
{
    const QString nome = r.NomeSoggetto();
    if (!SenzaIdentificativi(r, nome))
        soggettoRifiutato_ = CambioSoggetto(r, nome);
}

RisultatoRiga ScrittoreDatiFattura::Rifiuta(const RigaFattura& r, const QString& nome, ErroreRiga errore)
{
    if (!SenzaIdentificativi(r, nome))
        soggettoRifiutato_ = CambioSoggetto(r, nome);
    return {EsitoRiga::Rifiutata, std::move(errore)};
}

RisultatoRiga ScrittoreDatiFattura::ScriviRiga(const RigaFattura& r)
{
    const QString nome = r.NomeSoggetto();
    const bool continua = SenzaIdentificativi(r, nome);
    if (continua && (!bloccoAperto_ || soggettoRifiutato_))
        return {EsitoRiga::Rifiutata, SenzaSoggetto()};

    if (auto errore = ControllaRiga(r, tipo_))
        return Rifiuta(r, nome, *errore);

    const bool nuovoSoggetto = CambioSoggetto(r, nome);
    if (nuovoSoggetto) {
        if (auto errore = ControllaNuovoSoggetto(r, tipo_))
            return Rifiuta(r, nome, *errore);
    }
    const bool nuovaFattura = nuovoSoggetto || CambioFattura(r);

    Impronta impronta;
    if (nuovaFattura) {
        impronta = nuovoSoggetto ? ImprontaFattura(r, nome, r) : ImprontaFattura(rigaBlocco_, nomeSoggetto_, r);
        // The rows of an invoice must be consecutive: a second body with the same number
        // would be a duplicate for the Agency.
        if (fattureScritte_.Contiene(impronta)) {
            return Rifiuta(r, nome,
                           ValoreNonCorretto(QStringLiteral("NUMERO DOCUMENTO"), r.Numero,
                                             QStringLiteral("fattura già scritta, righe non consecutive")));
        }
    } else if (riepiloghi_ >= MassimoRiepiloghiFattura) {
        return Rifiuta(r, nome,
                       ValoreNonCorretto(QStringLiteral("NUMERO DOCUMENTO"), r.Numero,
                                         QStringLiteral("massimo 1000 righe di riepilogo per fattura")));
    }

    if (nuovoSoggetto) {
        if (!ApriSoggetto(r, nome))
            return {EsitoRiga::Annullata, std::nullopt};
    } else if (nuovaFattura) {
        if (!ApriFattura(r))
            return {EsitoRiga::Annullata, std::nullopt};
    }
    if (nuovaFattura)
        fattureScritte_.Inserisci(impronta);
    if (!continua)
        soggettoRifiutato_ = false;

    ScriviRiepilogo(file_->Buffer(), r);
    ++riepiloghi_;
    ++righeFile_;
    file_->Scarica();
    return {EsitoRiga::Scritta, std::nullopt};
}

bool ScrittoreDatiFattura::Entra(qint64 byte) const
{
    return file_->Dimensione() + byte + riserva_ <= LimiteFile;
}

bool ScrittoreDatiFattura::ApriSoggetto(const RigaFattura& r, const QString& nome)
{
    ChiudiFattura();
    ChiudiBlocco();
    rigaBlocco_ = r;
    nomeSoggetto_ = nome;
    std::string testaFattura;
    ScriviTestaFattura(testaFattura, r, tipo_, nomeSoggetto_, nomeSoggetto_);
    if (file_ && (righeFile_ > RigheDivisione || file_->Dimensione() > SogliaFile))
        ChiudiFile();
    if (!ScriviBlocco(testaFattura))
        return false;
    ++controparti_;
    ScriviFattura(r, testaFattura);
    return true;
}

bool ScrittoreDatiFattura::ApriFattura(const RigaFattura& r)
{
    ChiudiFattura();
    std::string testaFattura;
    ScriviTestaFattura(testaFattura, r, tipo_, nomeSoggetto_, nomeSoggetto_);
    if (fattureBlocco_ >= MassimoFattureBlocco || !Entra(static_cast<qint64>(testaFattura.size()))) {
        if (!RiapriBlocco(testaFattura))
            return false;
    }
    ScriviFattura(r, testaFattura);
    return true;
}

// The block is full, or the file is: the counterpart goes on in a repeated block.
bool ScrittoreDatiFattura::RiapriBlocco(const std::string& testaFattura)
{
    ChiudiBlocco();
    return ScriviBlocco(testaFattura);
}

// Opens the block of `rigaBlocco_` in the open file, or in a new one when the open file has
// no room for it and the invoice that follows.
bool ScrittoreDatiFattura::ScriviBlocco(const std::string& testaFattura)
{
    std::string testaBlocco;
    ScriviTestaBlocco(testaBlocco, rigaBlocco_, tipo_, 1, nomeSoggetto_);
    if (file_ && (blocchiFile_ >= MassimoBlocchiFile
                  || !Entra(static_cast<qint64>(testaBlocco.size() + testaFattura.size()))))
        ChiudiFile();
    if (!file_ && !ScriviTestata())
        return false;
    ++blocchiFile_;
    ScriviTestaBlocco(file_->Buffer(), rigaBlocco_, tipo_, blocchiFile_, nomeSoggetto_);
    bloccoAperto_ = true;
    fattureBlocco_ = 0;
    return true;
}

void ScrittoreDatiFattura::ScriviFattura(const RigaFattura& r, const std::string& testaFattura)
{
    file_->Buffer().append(testaFattura);
    fatturaAperta_ = true;
    numero_ = r.Numero;
    data_ = r.Data;
    tipoDocumento_ = r.TipoDocumento;
    riepiloghi_ = 0;
    ++fattureBlocco_;
    ++fattureFile_;
}

void ScrittoreDatiFattura::ChiudiFattura()
{
    if (!fatturaAperta_)
        return;
    ScriviFineFattura(file_->Buffer(), tipo_);
    fatturaAperta_ = false;
}

void ScrittoreDatiFattura::ChiudiBlocco()
{
    if (!bloccoAperto_)
        return;
    ScriviFineBlocco(file_->Buffer(), tipo_);
    bloccoAperto_ = false;
}

// Begins a file: the path is asked for the first file of the sheet and chosen for the
// further ones; the header and the declarant's block are written. False when the user
// cancelled the save dialog.
bool ScrittoreDatiFattura::ScriviTestata()
{
    // The number is taken before the name is proposed, so the name shown is the file's.
    const int numero = richieste_.PrendiProgressivo();
    if (numero < 1 || numero > 99999) {
        throw ErroreDatiFattura(QStringLiteral("Il progressivo ") + QString::number(numero)
                                + QStringLiteral(" non è valido: il file XML non può essere numerato."));
    }
    std::vector<const FileScritto*> giaPresi;
    for (const FileScritto& f : fileScritti_)
        giaPresi.push_back(&f);
    for (const FileInAttesa& f : inAttesa_)
        giaPresi.push_back(&f.dati);
    for (const FileScritto* f : giaPresi) {
        if (f->progressivo == numero) {
            throw ErroreDatiFattura(QStringLiteral("Il progressivo ") + QString::number(numero)
                                    + QStringLiteral(" è già del file ") + QDir::toNativeSeparators(f->percorso)
                                    + QStringLiteral(": il file XML non può essere numerato."));
        }
    }
    progressivo_ = numero;
    const QString nome = NomeFileDatiFattura(dichiarante_, progressivo_);
    QString percorso;
    if (primoFile_) {
        percorso = richieste_.ChiediFileXML(nome);
    } else {
        // The further files of a sheet go beside the previous one without asking, unless a
        // file of that name is there already and is not to be replaced.
        percorso = QDir(cartella_).filePath(nome);
        if (QFileInfo::exists(percorso) && richieste_.ControlloDocumento(percorso)) {
            // A file this sheet has just written is never chosen again over itself.
            do
                percorso = richieste_.ChiediFileXML(nome);
            while (GiaScritto(percorso));
        }
    }
    if (percorso.isEmpty()) {
        richieste_.RestituisciSenzaErrori(progressivo_);
        annullato_ = true;
        return false;
    }
    try {
        file_ = std::make_unique<FileUscita>(percorso);
    } catch (...) {
        richieste_.RestituisciSenzaErrori(progressivo_);
        throw;
    }
    primoFile_ = false;
    cartella_ = QFileInfo(percorso).absolutePath();
    ScriviIntestazione(file_->Buffer(), dichiarante_, progressivo_);
    ScriviBloccoDichiarante(file_->Buffer(), dichiarante_, tipo_);
    blocchiFile_ = 0;
    fattureFile_ = 0;
    righeFile_ = 0;
    return true;
}

bool ScrittoreDatiFattura::GiaScritto(const QString& percorso) const
{
    const QString assoluto = QFileInfo(percorso).absoluteFilePath();
    for (const FileScritto& f : fileScritti_) {
        if (QFileInfo(f.percorso).absoluteFilePath() == assoluto)
            return true;
    }
    for (const FileInAttesa& f : inAttesa_) {
        if (QFileInfo(f.dati.percorso).absoluteFilePath() == assoluto)
            return true;
    }
    return false;
}

void ScrittoreDatiFattura::ChiudiFile()
{
    ChiudiFattura();
    ChiudiBlocco();
    ScriviChiusura(file_->Buffer(), tipo_);
    FileScritto scritto{file_->Percorso(), progressivo_, blocchiFile_, fattureFile_, righeFile_, file_->Dimensione()};
    file_->Termina();
    inAttesa_.push_back({std::move(file_), scritto});
}

void ScrittoreDatiFattura::Chiudi()
{
    if (scartato_)
        return;
    QString errore;
    if (file_ && !guasto_) {
        try {
            ChiudiFile();
        } catch (const ErroreDatiFattura& e) {
            // The files completed before it are whole: they keep their names.
            Guasto();
            errore = e.Messaggio();
        } catch (...) {
            Guasto();
            throw;
        }
    }
    const QString conferma = ConfermaInAttesa();
    if (errore.isEmpty())
        errore = conferma;
    if (!errore.isEmpty())
        throw ErroreDatiFattura(errore);
}

QStringList ScrittoreDatiFattura::Scarta()
{
    QStringList scartati;
    for (const FileInAttesa& f : inAttesa_)
        scartati << f.dati.percorso;
    if (file_)
        scartati << file_->Percorso();
    scartato_ = true;
    Abbandona();
    AbbandonaInAttesa(0);
    return scartati;
}

} // namespace quercino::datifattura
