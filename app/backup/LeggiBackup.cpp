#include "app/backup/LeggiBackup.h"

#include "app/core/Cripta.h"
#include "app/core/Schema.h"
#include "platform/text/Trim.h"
#include "platform/text/Windows1252.h"

#include <QFile>

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

[[noreturn]] void NonLeggibile(const QString& percorso, const QFile& file)
{
    throw ErroreBackup(QStringLiteral("Impossibile leggere il file di backUp ") + percorso + QStringLiteral(": ")
                       + file.errorString());
}

void ApriBackup(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        NonLeggibile(file.fileName(), file);
    if (file.size() > DimensioneMassimaBackup)
        throw ErroreBackup(QStringLiteral("Il file indicato supera i %1 MB: non è un file di backUp di VEKO. "
                                          "Operazione annullata")
                               .arg(DimensioneMassimaBackup >> 20));
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
    intestazione.nome = campi[3];
    // A natural person has no company name: the prompt shows surname and first name, so
    // the user sees whose data will be replaced.
    const auto campo = [&](int colonna) {
        const qsizetype indice = colonna + 2;
        return indice < campi.size() ? trimBlanks(campi[indice]) : QString();
    };
    if (trimBlanks(intestazione.nome).isEmpty() && campo(cope::OPF) == QLatin1String("1"))
        intestazione.nome = trimBlanks(campo(cope::OCOG) + QLatin1Char(' ') + campo(cope::ONOME));
    return intestazione;
}

IntestazioneBackup ControllaFileBackup(const QString& percorso)
{
    QFile file(percorso);
    ApriBackup(file);
    const QByteArray inizio = file.read(LunghezzaMassimaRigaBackup + 1);
    if (file.error() != QFileDevice::NoError)
        NonLeggibile(percorso, file);
    const qsizetype fine = FineRiga(inizio, 0);
    if (fine > LunghezzaMassimaRigaBackup)
        throw ErroreBackup(MessaggioNonBackup);
    return ControllaPrimaRiga(Decodifica(inizio.constData(), fine));
}

LettoreBackup LettoreBackup::DaFile(const QString& percorso)
{
    QFile file(percorso);
    ApriBackup(file);
    QByteArray byte = file.readAll();
    if (file.error() != QFileDevice::NoError)
        NonLeggibile(percorso, file);
    return LettoreBackup(std::move(byte));
}

LettoreBackup::LettoreBackup(QByteArray byte) : byte_(std::move(byte))
{
    QString prima;
    if (!ProssimaGrezza(prima))
        throw ErroreBackup(MessaggioNonBackup);
    intestazione_ = ControllaPrimaRiga(prima);
    Riavvolgi();
}

void LettoreBackup::Riavvolgi()
{
    posizione_ = 0;
    numero_ = 0;
}

bool LettoreBackup::ProssimaGrezza(QString& testo)
{
    if (posizione_ >= byte_.size())
        return false;
    const qsizetype fine = FineRiga(byte_, posizione_);
    ++numero_;
    if (fine - posizione_ > LunghezzaMassimaRigaBackup)
        RifiutaRigaBackup(numero_, QStringLiteral("riga troppo lunga per un file di backUp"));
    testo = Decodifica(byte_.constData() + posizione_, fine - posizione_);
    posizione_ = fine;
    if (posizione_ < byte_.size()) {
        if (byte_[posizione_] == '\r' && posizione_ + 1 < byte_.size() && byte_[posizione_ + 1] == '\n')
            ++posizione_;
        ++posizione_;
    }
    return true;
}

bool LettoreBackup::Prossima(RigaBackupLetta& riga)
{
    QString testo;
    while (ProssimaGrezza(testo)) {
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
