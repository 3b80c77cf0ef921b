#pragma once
// One copy of the program (copia_registro) as a process driven by its standard input, for
// the tests of two copies on one registry.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace quercino::test {

struct Copia {
    explicit Copia(const QStringList& argomenti)
    {
        processo.start(QUERCINO_COPIA_REGISTRO, argomenti);
        Attendi();
    }
    ~Copia()
    {
        processo.closeWriteChannel();
        processo.waitForFinished(30000);
    }
    // Sent at once, so that both copies work at the same time while the test waits for one.
    void Invia(const QString& comando)
    {
        processo.write((comando + "\n").toUtf8());
        processo.waitForBytesWritten();
    }
    // Up to "fatto" (or "pronto", or the line `fine`); a message nobody expected fails the
    // test. The lines before it come back.
    QStringList Attendi(bool messaggiAttesi = false, const QString& fine = {})
    {
        QStringList righe;
        for (QString linea; linea != "fatto" && linea != "pronto" && (fine.isEmpty() || linea != fine);) {
            while (!processo.canReadLine()) {
                if (!processo.waitForReadyRead(180000)) {
                    ADD_FAILURE() << processo.readAllStandardError().toStdString();
                    return righe;
                }
            }
            linea = QString::fromUtf8(processo.readLine()).trimmed();
            if (!messaggiAttesi) {
                EXPECT_FALSE(linea.startsWith("messaggio")) << linea.toStdString();
            }
            if (linea != "fatto" && linea != "pronto" && linea != fine)
                righe << linea;
        }
        return righe;
    }
    // A command and what it printed.
    QStringList Esegui(const QString& comando)
    {
        Invia(comando);
        return Attendi(true);
    }
    QProcess processo;
};

} // namespace quercino::test
