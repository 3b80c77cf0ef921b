// The PDF writer's default author is the current declarant, read back by poppler.
#include "app/core/AutorePdf.h"
#include "app/core/Globals.h"
#include "pdf/Tavlo.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString AutoreLettoDaPdfinfo(const QString& file)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file});
    if (!pdfinfo.waitForFinished(30000) || pdfinfo.exitCode() != 0)
        return QStringLiteral("<pdfinfo non riuscito>");
    for (const QString& riga : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split(u'\n'))
        if (riga.startsWith(QStringLiteral("Author:")))
            return riga.mid(7).trimmed();
    return {};
}

TEST(AutorePdf, IlDichiaranteCorrenteFirmaIlDocumento)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("prova.pdf"));

    quercino::CollegaAutorePdf();
    tavlo::Tavlo pdf;
    // A later reset follows the declarant chosen since.
    for (const QString& nome : {QStringLiteral("CAFFÈ ROSSI SRL"), QStringLiteral("BIANCHI MARIO")}) {
        quercino::NomeOperatore = nome;
        pdf.Abort();
        pdf.BeginDoc(file.toStdString());
        pdf.BeginPage();
        pdf.EndPage();
        pdf.EndDoc();
        EXPECT_EQ(AutoreLettoDaPdfinfo(file), nome);
    }
}

} // namespace
