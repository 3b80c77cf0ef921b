#include "declarants/import/RiepilogoImportazione.h"

#include "app/core/Zeri.h"

namespace quercino::importazione {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// "Foglio 1 FATTURE EMESSE     Righe= 000120 >> File: name"; the file's name only when no
// part was split (then the total line counts the files).
QString RigaParte(const QString& intestazione, const ParteImportata& parte, bool diviso)
{
    if (parte.Righe <= 0)
        return {};
    QString riga = intestazione + QStringLiteral("Righe= ") + Zeri(static_cast<std::int64_t>(parte.Righe), 6);
    if (!diviso && parte.File.size() == 1)
        riga += QStringLiteral(" >> File: ") + parte.File.first();
    return riga;
}

// Where the sheet stopped, and which of its files were written whole: every file listed
// was closed and completed, the rows from the one named on are in none of them.
QString RigaInterruzione(const QString& parte, const ParteImportata& dati)
{
    if (dati.InterrottaAllaRiga <= 0)
        return {};
    return parte + QStringLiteral(": importazione del foglio INTERROTTA ALLA RIGA ") + QString::number(dati.InterrottaAllaRiga)
        + (dati.File.isEmpty() ? QStringLiteral(" >> Nessun file scritto")
                               : QStringLiteral(" >> File scritti completi: ") + dati.File.join(QStringLiteral(", ")));
}

} // namespace

Riepilogo ComponiRiepilogo(const DatiRiepilogo& d)
{
    // A part split into several files is told by the total line, which counts every file
    // written, the other part's included.
    const bool diviso = d.Emesse.File.size() > 1 || d.Ricevute.File.size() > 1;
    const QString e = RigaParte(QStringLiteral("Foglio 1 FATTURE EMESSE     "), d.Emesse, diviso);
    const QString r = RigaParte(QStringLiteral("Foglio 1 FATTURE RICEVUTE  "), d.Ricevute, diviso);
    const qsizetype totaleFile = d.Emesse.File.size() + d.Ricevute.File.size();
    QString f;
    if (diviso)
        f = QStringLiteral("Totale file XML generati (max 1.000 clienti/fornitori ognuno, Max 5 MB di dimensione) : ")
            + QString::number(totaleFile);
    else if (totaleFile == 0)
        f = QStringLiteral("Nessun file XML è stato scritto.");
    QStringList interruzioni;
    for (const QString& riga : {RigaInterruzione(QStringLiteral("FATTURE EMESSE"), d.Emesse),
                                RigaInterruzione(QStringLiteral("FATTURE RICEVUTE"), d.Ricevute)})
        if (!riga.isEmpty())
            interruzioni << riga;

    const QString soggetto = QStringLiteral("Soggetto: ") + d.CodiceFiscale + QLatin1Char(' ') + d.Nome;
    Riepilogo riepilogo;
    riepilogo.Titolo = totaleFile > 0 ? TitoloFileCreati : TitoloNessunFile;
    riepilogo.RigheLog << QStringLiteral(" ") << QStringLiteral("<<<>>>")
                       << QStringLiteral("RIEPILOGO CREAZIONE FILE XML DATI FATTURE: ") << soggetto << QStringLiteral(" ")
                       << QStringLiteral("Totale Clienti: ") + QString::number(d.Clienti)
                       << QStringLiteral("Totale Fornitori: ") + QString::number(d.Fornitori) << e << r << f;
    riepilogo.RigheLog << interruzioni;

    QString t = QStringLiteral("RIEPILOGO CREAZIONE FILE XML DATI FATTURE: ") + CrLf + QStringLiteral(" ") + CrLf + soggetto + CrLf
        + QStringLiteral(" ") + CrLf + e + CrLf + r + CrLf + QStringLiteral(" ") + CrLf + f + CrLf + QStringLiteral(" ") + CrLf;
    for (const QString& riga : interruzioni)
        t += riga + CrLf + QStringLiteral(" ") + CrLf;
    // The steps on the portal concern files: without one there is nothing to send.
    if (totaleFile > 0)
        t += QStringLiteral(" DAL PORTALE DELL'AGENZIA (DATI FATTURE) : ") + CrLf + QStringLiteral("1) CONTROLLARE I FILE GENERATI ")
            + CrLf + QStringLiteral("2) FIRMARE ogni file con le modalità previste ") + CrLf + QStringLiteral("3) TRASMETTERE ogni file");
    riepilogo.Testo = t;
    return riepilogo;
}

} // namespace quercino::importazione
