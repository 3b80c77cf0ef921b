#include "app/backup/SoggettiBackup.h"

#include "platform/text/Trim.h"

#include <QLocale>
#include <QSet>

namespace quercino {

SoggettiBackup ElencaSoggetti(LettoreBackup& lettore, int massimoSoggetti)
{
    SoggettiBackup soggetti;
    QSet<QString> visti;
    lettore.Riavvolgi();
    RigaBackupLetta riga;
    while (lettore.Prossima(riga)) {
        if (riga.campi.value(1) != QLatin1String("COPE"))
            continue;
        const QString codice = trimBlanks(riga.campi.value(2));
        if (visti.contains(codice))
            continue;
        // Refused where the restore would refuse it: a file of short lines holds tens of
        // millions of codes, too many to count in memory.
        if (visti.size() == massimoSoggetti)
            RifiutaRigaBackup(riga.numero, QStringLiteral("il file contiene ") + OltreMassimoSoggetti(massimoSoggetti));
        visti.insert(codice);
        if (soggetti.primi.size() < SoggettiElencati)
            soggetti.primi << codice + QLatin1Char(' ') + trimBlanks(NomeSoggettoBackup(riga.campi));
    }
    soggetti.numero = static_cast<int>(visti.size());
    return soggetti;
}

QString DomandaRipristinoPer(const SoggettiBackup& soggetti)
{
    if (soggetti.numero <= 1)
        return DomandaRipristino;
    const QLocale italiano(QLocale::Italian);
    QString domanda = QStringLiteral("Confermi il ripristino di questo archivio? Contiene %1 soggetti obbligati "
                                     "e, se presenti, i loro dati saranno SOSTITUITI:\n")
                          .arg(italiano.toString(soggetti.numero))
                      + soggetti.primi.join(QLatin1Char('\n'));
    const qsizetype altri = soggetti.numero - soggetti.primi.size();
    if (altri == 1)
        domanda += QStringLiteral("\ne un altro.");
    else if (altri > 1)
        domanda += QStringLiteral("\ne altri %1.").arg(italiano.toString(altri));
    return domanda;
}

} // namespace quercino
