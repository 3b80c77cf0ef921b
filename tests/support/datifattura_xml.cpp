#include "support/datifattura_xml.h"

#include <QFileInfo>
#include <QProcess>

namespace quercino::test {

namespace {

struct Uscita {
    bool riuscito = false;
    QString testo;
};

Uscita Xmllint(const QStringList& argomenti, bool uniscErrori)
{
    QProcess xmllint;
    if (uniscErrori)
        xmllint.setProcessChannelMode(QProcess::MergedChannels);
    xmllint.start(QStringLiteral("xmllint"), argomenti);
    if (!xmllint.waitForStarted(30'000))
        return {false, QStringLiteral("xmllint non avviato (scripts/setup.sh installa libxml2-utils)")};
    if (!xmllint.waitForFinished(300'000))
        return {false, QStringLiteral("xmllint non ha risposto")};
    return {xmllint.exitStatus() == QProcess::NormalExit && xmllint.exitCode() == 0,
            QString::fromUtf8(xmllint.readAllStandardOutput())};
}

} // namespace

QString SchemaDatiFattura()
{
    return QStringLiteral(QUERCINO_SCHEMA_DATIFATTURA);
}

::testing::AssertionResult ValidoPerSchema(const QString& percorso)
{
    if (!QFileInfo::exists(SchemaDatiFattura()))
        return ::testing::AssertionFailure() << "schema mancante: " << SchemaDatiFattura().toStdString();
    if (!QFileInfo::exists(percorso))
        return ::testing::AssertionFailure() << "file mancante: " << percorso.toStdString();
    const Uscita u = Xmllint({QStringLiteral("--nonet"), QStringLiteral("--noout"), QStringLiteral("--schema"),
                              SchemaDatiFattura(), percorso},
                             true);
    if (u.riuscito)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << percorso.toStdString() << " non valido:\n"
                                         << u.testo.left(4000).toStdString();
}

QString EsitoSchema(const QString& percorso)
{
    const auto esito = ValidoPerSchema(percorso);
    return esito ? QStringLiteral("valido per lo schema") : QString::fromUtf8(esito.message());
}

::testing::AssertionResult ValidoPerSchema(const QStringList& percorsi)
{
    if (percorsi.isEmpty())
        return ::testing::AssertionFailure() << "nessun file da validare";
    for (const QString& percorso : percorsi) {
        if (auto esito = ValidoPerSchema(percorso); !esito)
            return esito;
    }
    return ::testing::AssertionSuccess();
}

QString XPath(const QString& percorso, const QString& espressione)
{
    const Uscita u = Xmllint({QStringLiteral("--nonet"), QStringLiteral("--xpath"), espressione, percorso}, false);
    return u.riuscito ? u.testo.trimmed() : QStringLiteral("<xmllint: %1>").arg(u.testo.trimmed());
}

} // namespace quercino::test
