#include "app/backup/NomiBackup.h"

#include "app/backup/FormatoBackup.h"
#include "app/core/Percorsi.h"
#include "app/core/SoloLettere.h"
#include "platform/text/Trim.h"

namespace quercino {

QString DataSalvataggioDi(const QDate& data)
{
    return data.toString(QStringLiteral("yyyyMMdd"));
}

QString CodiceInNomeFile(const QString& codice)
{
    static const QString vietati = QStringLiteral("/\\:*?\"<>|");
    QString nome = trimBlanks(codice);
    for (QChar& c : nome) {
        if (c.unicode() < 32 || c.unicode() == 127 || vietati.contains(c))
            c = u'_';
    }
    // "." or ".." alone would name a folder.
    if (!nome.isEmpty() && nome.count(u'.') == nome.size())
        nome.fill(u'_');
    return nome;
}

QString NomeBackupSingolo(const QString& codice, const QString& nome, const QString& data)
{
    return QStringLiteral("SAVEVEKO_") + CodiceInNomeFile(codice) + QLatin1Char('_')
           + SoloLettere(nome, 20) + QLatin1Char('_') + data + EstensioneBackup;
}

QString NomeBackupTutti(const QString& data)
{
    return QStringLiteral("SAVEVEKO_TUTTI_") + data + EstensioneBackup;
}

QString PercorsoCopiaSicurezza(const QString& cartella, const QString& codice,
                               const QDateTime& adesso)
{
    const QString base = cartella + QStringLiteral("/BFRR_") + CodiceInNomeFile(codice)
                         + QLatin1Char('_') + DataSalvataggioDi(adesso.date());
    QString percorso = base + EstensioneBackup;
    if (!EsisteFile(percorso))
        return percorso;
    const QString conOra = base + QLatin1Char('_') + adesso.time().toString(QStringLiteral("HHmmss"));
    percorso = conOra + EstensioneBackup;
    for (int n = 2; EsisteFile(percorso); ++n)
        percorso = conOra + QLatin1Char('_') + QString::number(n) + EstensioneBackup;
    return percorso;
}

} // namespace quercino
