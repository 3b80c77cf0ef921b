#include "app/backup/LeggiBackup.h"

#include "app/backup/LimitiBackup.h"
#include "app/core/Cripta.h"
#include "app/core/Schema.h"
#include "platform/text/Trim.h"
#include "platform/text/Windows1252.h"

#include <QBuffer>
#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <span>

namespace quercino {

namespace {

const QString NomeCope = QStringLiteral("COPE");

QString Decodifica(const char* inizio, qsizetype lunghezza)
{
    const auto* byte = reinterpret_cast<const std::uint8_t*>(inizio);
    return decodeWindows1252(std::span<const std::uint8_t>(byte, static_cast<std::size_t>(lunghezza)));
}

[[noreturn]] void NonLeggibile(const QIODevice& dispositivo)
{
    const auto* file = qobject_cast<const QFileDevice*>(&dispositivo);
    throw ErroreBackup(QStringLiteral("Impossibile leggere il file di backUp ") + (file ? file->fileName() : QString())
                       + QStringLiteral(": ") + dispositivo.errorString());
}

std::unique_ptr<QIODevice> Memoria(QByteArray byte)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(std::move(byte));
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

// The end of the line that starts at `inizio`: its first CR or LF, or the end of the bytes.
qsizetype FineRiga(const QByteArray& byte, qsizetype inizio)
{
    const char* dati = byte.constData();
    const char* fine = std::find_if(dati + inizio, dati + byte.size(), [](char c) { return c == '\r' || c == '\n'; });
    return fine - dati;
}

// Far more items than any table has columns: the restore names the exact count, this
// only keeps a damaged line from becoming a list of thousands of texts.
constexpr qsizetype MassimoElementiRiga = 256;

} // namespace

ErroreBackup::ErroreBackup(const QString& messaggio)
    : std::runtime_error(messaggio.toStdString()), messaggio_(messaggio)
{
}

void RifiutaRigaBackup(int numeroRiga, const QString& motivo)
{
    throw ErroreBackup(QStringLiteral("Riga %1 del file: %2").arg(numeroRiga).arg(motivo));
}

IntestazioneBackup ControllaPrimaRiga(const QString& riga)
{
    IntestazioneBackup intestazione;
    if (riga.size() < 5)
        throw ErroreBackup(MessaggioNonBackup);
    const QString nome = riga.mid(1, 4);
    QString chiara = riga;
    if (nome == NomeCope) {
        intestazione.criptato = false;
    } else if (Cripta(nome, ModoLeggi, ChiaveBackup) == NomeCope) {
        intestazione.criptato = true;
        chiara = CriptaCampi(riga, ModoLeggi, ChiaveBackup);
    } else {
        throw ErroreBackup(MessaggioNonBackup);
    }
    const QStringList campi = chiara.split(chiara.front());
    // The table name must be exactly COPE, and the code and name must be there.
    if (campi.size() < 4 || campi[1] != NomeCope || trimBlanks(campi[2]).isEmpty())
        throw ErroreBackup(MessaggioNonBackup);
    intestazione.codice = trimBlanks(campi[2]);
    intestazione.nome = NomeSoggettoBackup(campi);
    return intestazione;
}

QString NomeSoggettoBackup(const QStringList& campi)
{
    const auto campo = [&](int colonna) {
        const qsizetype indice = colonna + 2;
        return indice < campi.size() ? trimBlanks(campi[indice]) : QString();
    };
    const QString nome = campi.value(cope::ORAG + 2);
    if (trimBlanks(nome).isEmpty() && campo(cope::OPF) == QLatin1String("1"))
        return trimBlanks(campo(cope::OCOG) + QLatin1Char(' ') + campo(cope::ONOME));
    return nome;
}

LettoreBackup LettoreBackup::DaFile(const QString& percorso)
{
    auto file = std::make_unique<QFile>(percorso);
    if (!file->open(QIODevice::ReadOnly))
        NonLeggibile(*file);
    if (file->size() > DimensioneMassimaBackup())
        throw ErroreBackup(QStringLiteral("Il file indicato supera i %1 MB: non è un file di backUp di VEKO. "
                                          "Operazione annullata")
                               .arg(DimensioneMassimaBackup() >> 20));
    return LettoreBackup(std::move(file));
}

LettoreBackup::LettoreBackup(QByteArray byte) : LettoreBackup(Memoria(std::move(byte)))
{
}

LettoreBackup::LettoreBackup(std::unique_ptr<QIODevice> dispositivo) : dispositivo_(std::move(dispositivo))
{
    RigaGrezza prima;
    if (!ProssimaGrezza(prima) || prima.troppoLunga)
        throw ErroreBackup(MessaggioNonBackup);
    intestazione_ = ControllaPrimaRiga(prima.testo);
    Riavvolgi();
}

void LettoreBackup::Riavvolgi()
{
    if (!dispositivo_->seek(0))
        NonLeggibile(*dispositivo_);
    buffer_.clear();
    posizione_ = 0;
    fineFile_ = false;
    lineFeedVisto_ = false;
    numero_ = 0;
    impronta_ = 0;
}

void LettoreBackup::Riempi()
{
    buffer_.remove(0, posizione_);
    posizione_ = 0;
    const QByteArray altri = dispositivo_->read(BloccoLetturaBackup);
    if (altri.isEmpty()) {
        const auto* file = qobject_cast<const QFileDevice*>(dispositivo_.get());
        if (file && file->error() != QFileDevice::NoError)
            NonLeggibile(*file);
        fineFile_ = true;
    }
    impronta_ = static_cast<std::uint32_t>(
        crc32_z(impronta_, reinterpret_cast<const Bytef*>(altri.constData()), static_cast<z_size_t>(altri.size())));
    buffer_ += altri;
}

bool LettoreBackup::ProssimaGrezza(RigaGrezza& riga)
{
    qsizetype fine = FineRiga(buffer_, posizione_);
    // The whole line must be in the buffer, and with a CR the byte after it (its LF or not).
    while (!fineFile_ && fine - posizione_ <= LunghezzaMassimaRigaBackup
           && (fine == buffer_.size() || (fine + 1 == buffer_.size() && buffer_[fine] == '\r'))) {
        Riempi();
        fine = FineRiga(buffer_, posizione_);
    }
    if (posizione_ >= buffer_.size())
        return false;
    ++numero_;
    riga.troppoLunga = fine - posizione_ > LunghezzaMassimaRigaBackup;
    if (riga.troppoLunga)
        return true;
    riga.testo = Decodifica(buffer_.constData() + posizione_, fine - posizione_);
    posizione_ = fine;
    riga.terminata = posizione_ < buffer_.size();
    if (!riga.terminata)
        return true;
    const bool lineFeedPrima = lineFeedVisto_;
    if (buffer_[posizione_] == '\r' && posizione_ + 1 < buffer_.size() && buffer_[posizione_ + 1] == '\n')
        ++posizione_;
    lineFeedVisto_ = lineFeedVisto_ || buffer_[posizione_] == '\n';
    ++posizione_;
    // A lone CR as the file's last byte, where the other lines end in LF: a CR LF cut in two.
    if (fineFile_ && posizione_ == buffer_.size() && buffer_[posizione_ - 1] == '\r' && lineFeedPrima)
        riga.terminata = false;
    return true;
}

bool LettoreBackup::Prossima(RigaBackupLetta& riga)
{
    RigaGrezza grezza;
    while (ProssimaGrezza(grezza)) {
        if (grezza.troppoLunga)
            RifiutaRigaBackup(numero_, QStringLiteral("riga troppo lunga per un file di backUp"));
        // The writer ends every line: a last line without its end is a file cut short,
        // maybe inside its last value.
        if (!grezza.terminata)
            RifiutaRigaBackup(numero_, QStringLiteral("l'ultima riga non termina con un a capo: il file di "
                                                      "backUp è incompleto"));
        QString& testo = grezza.testo;
        // Blank lines are skipped before unscrambling, which would turn their blanks
        // into separators.
        if (trimBlanks(testo).isEmpty())
            continue;
        if (intestazione_.criptato)
            testo = CriptaCampi(testo, ModoLeggi, ChiaveBackup);
        if (trimBlanks(testo).isEmpty())
            continue;
        if (testo.count(testo.front()) + 1 > MassimoElementiRiga)
            RifiutaRigaBackup(numero_, QStringLiteral("la riga ha più valori di quanti ne abbia qualsiasi "
                                                      "tabella: il file è danneggiato"));
        riga.numero = numero_;
        riga.campi = testo.split(testo.front());
        return true;
    }
    return false;
}

FileBackupLetto LeggiFileBackup(const QString& percorso)
{
    LettoreBackup lettore = LettoreBackup::DaFile(percorso);
    FileBackupLetto letto{lettore.Intestazione(), {}};
    RigaBackupLetta riga;
    while (lettore.Prossima(riga))
        letto.righe.push_back(riga);
    return letto;
}

} // namespace quercino
