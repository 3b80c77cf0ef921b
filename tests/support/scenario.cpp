#include "support/scenario.h"

namespace quercino::test {

void Scenario::Stampa(const QString& testo)
{
    QString righe = QString(testo).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const auto& [prima, dopo] : sostituzioni)
        righe.replace(prima, dopo);
    // Blanks at the end of a line are not kept: editors drop them.
    for (const QString& riga : righe.split('\n'))
        uscita_ << QString(QStringLiteral("| ") + riga).remove(QRegularExpression(QStringLiteral("\\s+$")));
}

void Scenario::Sostituisci(const QString& testo, const QString& con)
{
    sostituzioni.emplace_back(QRegularExpression(QRegularExpression::escape(testo)), con);
}

void Scenario::Stampa(const QStringList& righe)
{
    for (const QString& riga : righe)
        Stampa(riga);
}

QByteArray Scenario::Esegui(const QString& file)
{
    const QByteArray testo = LeggiFile(file);
    EXPECT_FALSE(testo.isEmpty()) << "manca " << file.toStdString();
    QStringList righe = QString::fromUtf8(testo).split('\n');
    if (righe.last().isEmpty())
        righe.removeLast();
    QStringList risultato;
    for (qsizetype n = 0; n < righe.size(); ++n) {
        const QString& riga = righe[n];
        if (riga.startsWith('|'))
            continue;
        risultato << riga;
        if (!riga.startsWith(QLatin1String("> ")))
            continue;
        SCOPED_TRACE(QStringLiteral("%1:%2: %3").arg(file).arg(n + 1).arg(riga).toStdString());
        dati_.clear();
        for (; n + 1 < righe.size() && righe[n + 1].startsWith('<'); ++n) {
            risultato << righe[n + 1];
            dati_ << righe[n + 1].mid(2);
        }
        const QString passo = riga.mid(2);
        const QString verbo = passo.section(' ', 0, 0);
        uscita_.clear();
        if (const auto v = verbi.find(verbo); v != verbi.end())
            v->second(passo.section(' ', 1));
        else
            ADD_FAILURE() << "verbo sconosciuto: " << verbo.toStdString();
        if (dopoOgniPasso)
            dopoOgniPasso();
        risultato << uscita_;
    }
    return risultato.join('\n').toUtf8() + '\n';
}

QStringList Parole(const QString& argomenti)
{
    return argomenti.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QStringList Parole(const QString& argomenti, int n)
{
    QStringList parole;
    for (int i = 0; i < n; ++i)
        parole << argomenti.section(' ', i, i);
    return parole << argomenti.section(' ', n);
}

} // namespace quercino::test
