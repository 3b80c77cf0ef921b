#include "app/core/Aperture.h"

#include "app/core/Messaggi.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

#include <optional>

namespace quercino {

namespace {

std::optional<QString> lanciatore;

QString SenzaVirgolette(QString testo)
{
    testo = testo.trimmed();
    if (testo.size() >= 2 && testo.startsWith(QLatin1Char('"')) && testo.endsWith(QLatin1Char('"')))
        testo = testo.mid(1, testo.size() - 2);
    return testo;
}

bool SembraIndirizzo(const QString& testo)
{
    const QUrl url(testo, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1
           && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")
               || url.scheme() == QLatin1String("mailto"));
}

QString Nativo(const QString& percorso)
{
    return QDir::toNativeSeparators(percorso);
}

void SegnalaMancante(const QString& percorso)
{
    const QFileInfo info(QDir::cleanPath(percorso));
    const bool cartella = percorso.endsWith(QLatin1Char('/')) || percorso.endsWith(QLatin1Char('\\'));
    const QString testo = cartella
        ? QStringLiteral("La cartella \"%1\" non è presente.\r\n \r\nCercata in: %2")
        : QStringLiteral("Il documento \"%1\" non è presente.\r\n \r\nCercato in: %2");
    MsgBox(testo.arg(info.fileName(), Nativo(info.absolutePath())), Pulsanti::Ok, Icona::Attenzione, TitoloNonTrovato);
}

void SegnalaSenzaProgramma(const QString& cosa)
{
    const QString dove = Lanciatore().isEmpty()
        ? QStringLiteral("tra i programmi che il sistema associa a questo tipo di file o di indirizzo")
        : QStringLiteral("tra i programmi che il sistema associa a questo tipo di file o di indirizzo (%1)")
              .arg(QFileInfo(Lanciatore()).fileName());
    MsgBox(QStringLiteral("Nessun programma ha potuto aprire\r\n%1\r\n \r\nCercato %2.").arg(cosa, dove),
           Pulsanti::Ok, Icona::Attenzione, TitoloNessunProgramma);
}

} // namespace

QString Lanciatore()
{
    if (!lanciatore) {
        const QString piattaforma = QGuiApplication::platformName();
        lanciatore = piattaforma == QLatin1String("xcb") || piattaforma == QLatin1String("wayland")
            ? QStandardPaths::findExecutable(QStringLiteral("xdg-open"))
            : QString();
    }
    return *lanciatore;
}

void ImpostaLanciatore(const QString& programma)
{
    lanciatore = programma;
}

bool ConsegnaAlDesktop(const QUrl& url, std::function<void(bool preso)> esito)
{
    const QString programma = Lanciatore();
    if (programma.isEmpty()) {
        const bool preso = QDesktopServices::openUrl(url);
        esito(preso);
        return preso;
    }
    // Not owned by any window: it may outlive them, and its answer arrives when it exits.
    auto* processo = new QProcess;
    processo->setProgram(programma);
    processo->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    processo->setStandardOutputFile(QProcess::nullDevice());
    processo->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(processo, &QProcess::finished, processo,
                     [processo, esito](int codice, QProcess::ExitStatus stato) {
                         processo->deleteLater();
                         esito(stato == QProcess::NormalExit && codice == 0);
                     });
    QObject::connect(processo, &QProcess::errorOccurred, processo, [processo, esito](QProcess::ProcessError errore) {
        if (errore != QProcess::FailedToStart)
            return;
        processo->deleteLater();
        esito(false);
    });
    processo->start();
    return true;
}

bool ApriIndirizzo(const QString& indirizzo)
{
    const QString testo = SenzaVirgolette(indirizzo);
    if (testo.isEmpty())
        return false;
    return ConsegnaAlDesktop(QUrl(testo, QUrl::TolerantMode), [testo](bool preso) {
        if (!preso)
            SegnalaSenzaProgramma(testo);
    });
}

bool ApriDocumento(const QString& percorso)
{
    const QString testo = SenzaVirgolette(percorso);
    if (testo.isEmpty())
        return false;
    if (!QFileInfo::exists(testo)) {
        SegnalaMancante(testo);
        return false;
    }
    const QString assoluto = QFileInfo(testo).absoluteFilePath();
    return ConsegnaAlDesktop(QUrl::fromLocalFile(assoluto), [assoluto](bool preso) {
        if (!preso)
            SegnalaSenzaProgramma(Nativo(assoluto));
    });
}

std::int32_t Esegui(const QString& comando)
{
    QString resto = comando.trimmed();
    static const QString explorer = QStringLiteral("EXPLORER ");
    if (resto.compare(explorer.trimmed(), Qt::CaseInsensitive) == 0)
        return 0;
    if (resto.startsWith(explorer, Qt::CaseInsensitive))
        resto = resto.mid(explorer.size());
    resto = SenzaVirgolette(resto);
    if (resto.isEmpty())
        return 0;
    const bool aperto = SembraIndirizzo(resto) ? ApriIndirizzo(resto) : ApriDocumento(resto);
    return aperto ? 1 : 0;
}

} // namespace quercino
