// The scripts around the build, run as a user runs them (cases in casi/script.tsv): the
// desktop check of run.sh against a real X server (Xvfb, through xvfb-run) and a Wayland
// socket that answers or not; the test services, started and stopped in one shell, leave no
// variable pointing into the folder they removed; the configure step warns when the
// remote-assistance program would be fetched without a name to be fetched under.

#include "support/casi.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kSorgenti = QStringLiteral(QUERCINO_SOURCE_DIR);

struct Uscita {
    int stato = -1;
    QString testo;   // standard output and error together
};

Uscita Esegui(const QString& programma, const QStringList& argomenti, const QProcessEnvironment& ambiente,
              int secondi = 60)
{
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(kSorgenti);
    p.start(programma, argomenti);
    if (!p.waitForFinished(secondi * 1000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << programma.toStdString() << " did not end";
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

// An X display number with no server: neither its socket nor its lock file is there.
int DisplaySpento()
{
    for (int n = 517;; ++n)
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) && !QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return n;
}

// check-desktop.sh with QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY as the row says ("-":
// unset): DISPLAY "xvfb" is a real X server's (xvfb-run picks a free number), "spento" a
// number nothing serves; WAYLAND_DISPLAY "vivo" a socket that accepts, "spento" a name with
// no socket, "senza-runtime" a name without XDG_RUNTIME_DIR. The exit status and the reason,
// with the folder and number of the case as <cartella> and <n>.
QStringList Desktop(const QStringList& a)
{
    QTemporaryDir cartella;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char* nome : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        ambiente.remove(nome);
    ambiente.insert("XDG_RUNTIME_DIR", cartella.path());
    if (a[0] != "-")
        ambiente.insert("QT_QPA_PLATFORM", a[0]);
    const int spento = DisplaySpento();
    if (a[1] == "spento")
        ambiente.insert("DISPLAY", QStringLiteral(":%1").arg(spento));
    else if (a[1] != "-" && a[1] != "xvfb")
        ambiente.insert("DISPLAY", a[1]);
    QLocalServer wayland;
    if (a[2] == "vivo") {
        EXPECT_TRUE(wayland.listen(cartella.filePath("wayland-7"))) << wayland.errorString().toStdString();
    }
    if (a[2] != "-")
        ambiente.insert("WAYLAND_DISPLAY", "wayland-7");
    if (a[2] == "senza-runtime")
        ambiente.remove("XDG_RUNTIME_DIR");

    const QString script = kSorgenti + "/scripts/check-desktop.sh";
    const Uscita u = a[1] == "xvfb" ? Esegui("xvfb-run", {"-a", "-s", "-nolisten tcp", "bash", script}, ambiente)
                                    : Esegui("bash", {script}, ambiente);
    QString motivo = u.testo.section('\n', 0, 0).section(": ", 1);
    motivo.replace(cartella.path(), "<cartella>").replace(QString::number(spento), "<n>");
    return {QString::number(u.stato), motivo};
}

// services_start and services_stop in one shell, as a user sources them: where ODBCSYSINI
// and ODBCINI point meanwhile, then every variable that still names the removed folder.
QStringList Servizi(const QStringList&)
{
    const Uscita u = Esegui("bash", {"-c",
        "set -e; source scripts/test-services.sh; services_start; cartella=$QUERCINO_SERVICES_DIR;"
        "echo \"durante: ${ODBCSYSINI#$cartella} ${ODBCINI#$cartella}\"; services_stop;"
        "rimaste=$(env | grep -F \"$cartella\" | cut -d= -f1 | tr '\\n' ' ');"
        "echo \"dopo: ${rimaste:-nessuna variabile} nella cartella, che c'è: $(test -e \"$cartella\" && echo si || echo no)\""},
        QProcessEnvironment::systemEnvironment(), 120);
    EXPECT_EQ(u.stato, 0) << u.testo.toStdString();
    return u.testo.trimmed().split('\n');
}

// The program's build configured with the remote-assistance settings of the row: whether
// the configure step warns about the address without the program's name.
QStringList Configura(const QStringList& a)
{
    QTemporaryDir cartella;
    const Uscita u = Esegui(QUERCINO_CMAKE, {"-S", kSorgenti, "-B", cartella.path(), "-G", "Ninja",
                                             "-DQUERCINO_BUILD_TESTS=OFF", "-DQUERCINO_BUILD_BENCH=OFF",
                                             "-DQUERCINO_NPM_DATA_DIR=" QUERCINO_NPM_DATA_DIR,
                                             "-DQUERCINO_PROGRAMMA_ASSISTENZA=" + a[0],
                                             "-DQUERCINO_SCARICAMENTO_ASSISTENZA=" + a[1]},
                            QProcessEnvironment::systemEnvironment(), 300);
    EXPECT_EQ(u.stato, 0) << u.testo.toStdString();
    // CMake wraps a warning's words over indented lines, and ends it with a blank line.
    const qsizetype inizio = u.testo.indexOf("CMake Warning");
    if (inizio < 0)
        return {"nessun avviso"};
    const QString avviso = u.testo.mid(inizio, u.testo.indexOf("\n\n", inizio) - inizio);
    return {avviso.section(":\n", 1).simplified()};
}

} // namespace

TEST(Script, CasiDellaTabella)
{
    quercino::test::ControllaFunzioni(__FILE__, "casi/script.tsv", {
        {"Desktop", Desktop},
        {"Servizi", Servizi},
        {"Configura", Configura},
    });
}
