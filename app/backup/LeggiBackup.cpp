#include "app/backup/LeggiBackup.h"

#include "app/core/Cripta.h"
#include "app/core/Schema.h"
#include "platform/text/Trim.h"
#include "platform/text/Windows1252.h"

#include <QFile>

#include <span>

namespace quercino {

namespace {

// Far beyond any real registry: a bigger file is refused rather than read into memory.
constexpr qint64 DimensioneMassima = 256LL * 1024 * 1024;

const QString NomeCope = QStringLiteral("COPE");

QString Decodifica(const char* inizio, qsizetype lunghezza)
{
    const auto* byte = reinterpret_cast<const std::uint8_t*>(inizio);
    return decodeWindows1252(std::span<const std::uint8_t>(byte, static_cast<std::size_t>(lunghezza)));
}

QByteArray LeggiTutto(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        throw ErroreBackup(QStringLiteral("Impossibile leggere il file di backUp ") + percorso
                           + QStringLiteral(": ") + file.errorString());
    if (file.size() > DimensioneMassima)
        throw ErroreBackup(MessaggioNonBackup);
    QByteArray byte = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ErroreBackup(QStringLiteral("Impossibile leggere il file di backUp ") + percorso
                           + QStringLiteral(": ") + file.errorString());
    return byte;
}

QStringList Dividi(const QString& riga)
{
    return riga.split(riga.front());
}

} // namespace

ErroreBackup::ErroreBackup(const QString& messaggio)
    : std::runtime_error(messaggio.toStdString()), messaggio_(messaggio)
{
}

QStringList RigheDaByte(const QByteArray& byte)
{
    QStringList righe;
    qsizetype inizio = 0;
    const qsizetype n = byte.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = byte[i];
        if (c != '\r' && c != '\n')
            continue;
        righe << Decodifica(byte.constData() + inizio, i - inizio);
        if (c == '\r' && i + 1 < n && byte[i + 1] == '\n')
            ++i;
        inizio = i + 1;
    }
    if (inizio < n)
        righe << Decodifica(byte.constData() + inizio, n - inizio);
    return righe;
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
    const QStringList campi = Dividi(chiara);
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
    const QStringList righe = RigheDaByte(LeggiTutto(percorso));
    if (righe.isEmpty())
        throw ErroreBackup(MessaggioNonBackup);
    return ControllaPrimaRiga(righe.front());
}

FileBackupLetto LeggiFileBackup(const QString& percorso)
{
    const QStringList righe = RigheDaByte(LeggiTutto(percorso));
    if (righe.isEmpty())
        throw ErroreBackup(MessaggioNonBackup);
    FileBackupLetto letto;
    letto.intestazione = ControllaPrimaRiga(righe.front());
    for (qsizetype i = 0; i < righe.size(); ++i) {
        // Blank lines are skipped before unscrambling, which would turn their blanks
        // into separators.
        if (trimBlanks(righe[i]).isEmpty())
            continue;
        const QString riga = letto.intestazione.criptato
                                 ? CriptaCampi(righe[i], ModoLeggi, ChiaveBackup)
                                 : righe[i];
        if (trimBlanks(riga).isEmpty())
            continue;
        letto.righe.push_back(RigaBackupLetta{static_cast<int>(i + 1), Dividi(riga)});
    }
    return letto;
}

} // namespace quercino
