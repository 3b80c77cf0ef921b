// The user's program folder as scripts/run.sh lays it out (the build's disponi_programma.cmake
// run in a temporary XDG_DATA_HOME): the declarants, the configuration and the user's
// documents survive a rebuild, a removed build folder and an interrupted layout, while the
// program and the project's Help files follow the build; a registry found in the build
// folder (build/release/program) is carried over, not replaced by an empty one.
#include "support/db_backends.h"
#include "support/golden.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

const QString kCartellaHelp = QStringLiteral(QUERCINO_PROGRAM_DIR "/Help/");
const QStringList kAiuti = {"DATI_FATTURE_BASE.xlsx", "DATI_FATTURE_EMESSE.csv", "DATI_FATTURE_RICEVUTE.csv",
                            "Quercino - Manuale Completo.pdf"};
const QString kConfigurazione = QStringLiteral(QUERCINO_SOURCE_DIR "/tools/program/configurazione.ini");

// The files a build gives the layout, copied where the test may change or remove them as a
// rebuild or `rm -rf build` would.
struct Build {
    QString cartella;
    QString eseguibile() const { return cartella + "/quercino"; }
    QString seme() const { return cartella + "/VEKO.sqlite"; }
    QString aiuto(const QString& nome) const { return cartella + "/Help/" + nome; }
    QStringList argomenti() const
    {
        QStringList aiuti;
        for (const QString& nome : kAiuti)
            aiuti << aiuto(nome);
        return {"-DESEGUIBILE=" + eseguibile(), "-DAIUTI=" + aiuti.join(';'), "-DSEME=" + seme(),
                "-DCONFIGURAZIONE=" + kConfigurazione};
    }
};

Build CopiaDellaBuild(const QString& cartella)
{
    Build build{cartella};
    QDir().mkpath(cartella + "/Help");
    EXPECT_TRUE(QFile::copy(QUERCINO_ESEGUIBILE, build.eseguibile()));
    EXPECT_TRUE(QFile::copy(QUERCINO_SEED_DATABASE, build.seme()));
    for (const QString& nome : kAiuti)
        EXPECT_TRUE(QFile::copy(kCartellaHelp + nome, build.aiuto(nome)));
    return build;
}

struct Esito {
    int uscita = -1;
    QString uscite;
};

// Runs the build's layout step with XDG_DATA_HOME and HOME as given ("-" leaves one unset).
Esito Disponi(const QStringList& argomenti, const QString& xdg, const QString& home)
{
    QProcess processo;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const auto& [nome, valore] : {std::pair{QStringLiteral("XDG_DATA_HOME"), xdg}, {QStringLiteral("HOME"), home}}) {
        if (valore == "-")
            ambiente.remove(nome);
        else
            ambiente.insert(nome, valore);
    }
    processo.setProcessEnvironment(ambiente);
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.start(QUERCINO_CMAKE, QStringList(argomenti) << "-P" << QUERCINO_DISPONI);
    processo.waitForFinished(120000);
    return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
            QString::fromUtf8(processo.readAll())};
}

QStringList Soggetti(const QString& database)
{
    QStringList nomi;
    auto db = Database::openSqliteFile(database);
    for (const Row& riga : db->select(schema::COPE(), " ORDER BY OCOD"))
        nomi << riga.text(0) + ' ' + riga.text(1);
    return nomi;
}

void SalvaSoggetto(const QString& database, const QString& codice, const QString& nome)
{
    auto db = Database::openSqliteFile(database);
    db->insert(schema::COPE(), test::rigaCope(codice, nome));
}

bool Eseguibile(const QString& file)
{
    return QFileInfo(file).permissions() & QFileDevice::ExeOwner;
}

} // namespace

TEST(CartellaProgramma, ISoggettiRestanoARicostruzioniEAUnaBuildRimossa)
{
    QTemporaryDir tmp;
    const QString dati = tmp.filePath("dati");
    const QString cartella = dati + "/quercino";
    const QString database = cartella + "/DataBase/VEKO.sqlite";
    Build build = CopiaDellaBuild(tmp.filePath("build"));
    const QStringList senzaVecchia = QStringList(build.argomenti()) << "-DVECCHIA=";

    // The first layout makes the folder and says where it is.
    Esito esito = Disponi(senzaVecchia, dati, tmp.filePath("casa"));
    ASSERT_EQ(esito.uscita, 0) << esito.uscite.toStdString();
    EXPECT_TRUE(esito.uscite.contains("program folder is " + cartella)) << esito.uscite.toStdString();
    EXPECT_EQ(test::LeggiFile(database), test::LeggiFile(QUERCINO_SEED_DATABASE));
    EXPECT_EQ(test::LeggiFile(cartella + "/configurazione.ini"), test::LeggiFile(kConfigurazione));
    EXPECT_EQ(test::LeggiFile(cartella + "/quercino"), test::LeggiFile(QUERCINO_ESEGUIBILE));
    EXPECT_TRUE(Eseguibile(cartella + "/quercino"));
    for (const QString& nome : kAiuti)
        EXPECT_EQ(test::LeggiFile(cartella + "/Help/" + nome), test::LeggiFile(kCartellaHelp + nome)) << nome.toStdString();
    EXPECT_TRUE(QFileInfo(cartella + "/Help/documentazione").isDir());

    // The user saves a declarant, changes the configuration and keeps documents in Help/.
    SalvaSoggetto(database, "01", "ROSSI SPA");
    const QByteArray configurazione = test::LeggiFile(kConfigurazione) + "App_DimAuto=off\n";
    ASSERT_TRUE(test::ScriviFile(cartella + "/configurazione.ini", configurazione));
    ASSERT_TRUE(test::ScriviFile(cartella + "/Help/documentazione/circolare.pdf", "%PDF-1.4 circolare"));
    ASSERT_TRUE(test::ScriviFile(cartella + "/Help/Istruzioni.pdf", "%PDF-1.4 istruzioni"));
    const QByteArray registro = test::LeggiFile(database);

    // A rebuild: another program, another manual, another seed.
    for (const QString& file : {build.eseguibile(), build.aiuto(kAiuti.last()), build.seme()}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::Append));
        ASSERT_EQ(f.write("ricostruito"), 11);
    }
    esito = Disponi(senzaVecchia, dati, tmp.filePath("casa"));
    ASSERT_EQ(esito.uscita, 0) << esito.uscite.toStdString();
    EXPECT_FALSE(esito.uscite.contains("program folder")) << "said once only: " << esito.uscite.toStdString();
    EXPECT_EQ(test::LeggiFile(database), registro);
    EXPECT_EQ(Soggetti(database), QStringList{"01 ROSSI SPA"});
    EXPECT_EQ(test::LeggiFile(cartella + "/configurazione.ini"), configurazione);
    EXPECT_EQ(test::LeggiFile(cartella + "/Help/documentazione/circolare.pdf"), "%PDF-1.4 circolare");
    EXPECT_EQ(test::LeggiFile(cartella + "/Help/Istruzioni.pdf"), "%PDF-1.4 istruzioni");
    EXPECT_EQ(test::LeggiFile(cartella + "/quercino"), test::LeggiFile(build.eseguibile()));
    EXPECT_TRUE(Eseguibile(cartella + "/quercino"));
    EXPECT_EQ(test::LeggiFile(cartella + "/Help/" + kAiuti.last()), test::LeggiFile(build.aiuto(kAiuti.last())));

    // The build folder removed, and the program built again: the build's own files.
    ASSERT_TRUE(QDir(build.cartella).removeRecursively());
    esito = Disponi({"-DVECCHIA="}, dati, tmp.filePath("casa"));
    ASSERT_EQ(esito.uscita, 0) << esito.uscite.toStdString();
    EXPECT_EQ(Soggetti(database), QStringList{"01 ROSSI SPA"});
    EXPECT_EQ(test::LeggiFile(cartella + "/configurazione.ini"), configurazione);
    EXPECT_EQ(test::LeggiFile(cartella + "/Help/documentazione/circolare.pdf"), "%PDF-1.4 circolare");
    EXPECT_EQ(test::LeggiFile(cartella + "/quercino"), test::LeggiFile(QUERCINO_ESEGUIBILE));
    EXPECT_EQ(test::LeggiFile(cartella + "/Help/" + kAiuti.last()), test::LeggiFile(kCartellaHelp + kAiuti.last()));
}

// Where the folder goes: XDG_DATA_HOME when it names a folder, ~/.local/share otherwise
// (a relative XDG_DATA_HOME is ignored, as the XDG rules say); with neither, a message.
TEST(CartellaProgramma, DoveVa)
{
    struct Caso {
        QString xdg, home, dove;
    };
    QTemporaryDir tmp;
    const QString x = tmp.filePath("x"), h = tmp.filePath("h");
    const Caso casi[] = {
        {x, h, x + "/quercino"},
        {"-", h, h + "/.local/share/quercino"},
        {"", h, h + "/.local/share/quercino"},
        {"relativa", h, h + "/.local/share/quercino"},
        {"-", "-", ""},
    };
    Build build = CopiaDellaBuild(tmp.filePath("build"));
    for (const Caso& caso : casi) {
        SCOPED_TRACE(("XDG_DATA_HOME=" + caso.xdg + " HOME=" + caso.home).toStdString());
        const Esito esito = Disponi(QStringList(build.argomenti()) << "-DVECCHIA=", caso.xdg, caso.home);
        if (caso.dove.isEmpty()) {
            EXPECT_NE(esito.uscita, 0);
            EXPECT_TRUE(esito.uscite.contains("Neither XDG_DATA_HOME nor HOME names a folder")) << esito.uscite.toStdString();
            continue;
        }
        EXPECT_EQ(esito.uscita, 0) << esito.uscite.toStdString();
        EXPECT_TRUE(esito.uscite.contains("program folder is " + caso.dove)) << esito.uscite.toStdString();
        EXPECT_EQ(Soggetti(caso.dove + "/DataBase/VEKO.sqlite"), QStringList{});
        EXPECT_TRUE(QDir(caso.dove).removeRecursively());
    }
}

// A layout stopped while it copied the database leaves only the file beside it: the next
// one writes the database whole instead of taking half a copy for the user's registry.
TEST(CartellaProgramma, UnaCopiaInterrottaNonEIlRegistro)
{
    QTemporaryDir tmp;
    const QString cartella = tmp.filePath("dati/quercino");
    Build build = CopiaDellaBuild(tmp.filePath("build"));
    ASSERT_TRUE(QDir().mkpath(cartella + "/DataBase"));
    ASSERT_TRUE(test::ScriviFile(cartella + "/DataBase/VEKO.sqlite.nuovo", test::LeggiFile(build.seme()).left(4096)));
    const Esito esito = Disponi(QStringList(build.argomenti()) << "-DVECCHIA=", tmp.filePath("dati"), tmp.path());
    ASSERT_EQ(esito.uscita, 0) << esito.uscite.toStdString();
    EXPECT_EQ(test::LeggiFile(cartella + "/DataBase/VEKO.sqlite"), test::LeggiFile(build.seme()));
    EXPECT_FALSE(QFileInfo::exists(cartella + "/DataBase/VEKO.sqlite.nuovo"));
}

// The folder a build laid out beside the program before (build/release/program): its
// registry, configuration, attachments and documents move to the user's folder once, the
// old folder is left as it was, and the program is the new build's.
TEST(CartellaProgramma, IlRegistroDellaBuildDiPrimaVieneRipreso)
{
    QTemporaryDir tmp;
    const QString vecchia = tmp.filePath("build/release/program");
    const QString cartella = tmp.filePath("dati/quercino");
    Build build = CopiaDellaBuild(tmp.filePath("nuova"));
    ASSERT_TRUE(QDir().mkpath(vecchia + "/DataBase"));
    ASSERT_TRUE(QFile::copy(QUERCINO_SEED_DATABASE, vecchia + "/DataBase/VEKO.sqlite"));
    SalvaSoggetto(vecchia + "/DataBase/VEKO.sqlite", "07", "BIANCHI SRL");
    const QMap<QString, QByteArray> vecchi = {
        {"configurazione.ini", "[opzioni]\r\nTipoDb=M\r\ndebug=0\r\nApp_DimAuto=off\r\n"},
        {"quercino", "programma di prima"},
        {"ALLEGATI/fattura.pdf", "%PDF-1.4 allegato"},
        {"Help/documentazione/circolare.pdf", "%PDF-1.4 circolare"},
        {"Help/" + kAiuti.first(), "esempio di prima"},
    };
    for (auto it = vecchi.begin(); it != vecchi.end(); ++it) {
        QDir().mkpath(QFileInfo(vecchia + '/' + it.key()).absolutePath());
        ASSERT_TRUE(test::ScriviFile(vecchia + '/' + it.key(), it.value()));
    }
    const QByteArray registro = test::LeggiFile(vecchia + "/DataBase/VEKO.sqlite");

    Esito esito = Disponi(QStringList(build.argomenti()) << "-DVECCHIA=" + vecchia, tmp.filePath("dati"), tmp.path());
    ASSERT_EQ(esito.uscita, 0) << esito.uscite.toStdString();
    EXPECT_TRUE(esito.uscite.contains("were copied there")) << esito.uscite.toStdString();
    EXPECT_EQ(Soggetti(cartella + "/DataBase/VEKO.sqlite"), QStringList{"07 BIANCHI SRL"});
    for (const QString nome : {"configurazione.ini", "ALLEGATI/fattura.pdf", "Help/documentazione/circolare.pdf"})
        EXPECT_EQ(test::LeggiFile(cartella + '/' + nome), vecchi[nome]) << nome.toStdString();
    EXPECT_EQ(test::LeggiFile(cartella + "/quercino"), test::LeggiFile(build.eseguibile()));
    EXPECT_EQ(test::LeggiFile(cartella + "/Help/" + kAiuti.first()), test::LeggiFile(build.aiuto(kAiuti.first())));
    for (auto it = vecchi.begin(); it != vecchi.end(); ++it)
        EXPECT_EQ(test::LeggiFile(vecchia + '/' + it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(test::LeggiFile(vecchia + "/DataBase/VEKO.sqlite"), registro);

    // Once: a declarant saved since is not overwritten by the old registry.
    SalvaSoggetto(cartella + "/DataBase/VEKO.sqlite", "08", "VERDI SNC");
    esito = Disponi(QStringList(build.argomenti()) << "-DVECCHIA=" + vecchia, tmp.filePath("dati"), tmp.path());
    ASSERT_EQ(esito.uscita, 0) << esito.uscite.toStdString();
    EXPECT_FALSE(esito.uscite.contains("copied")) << esito.uscite.toStdString();
    EXPECT_EQ(Soggetti(cartella + "/DataBase/VEKO.sqlite"), (QStringList{"07 BIANCHI SRL", "08 VERDI SNC"}));
}
