// Remote assistance fetching its program, against HTTPS servers of Python's own http.server
// and ssl (server_https.py) with certificates that openssl makes for the run: one signed by
// the run's own authority, one signed by it for another name, one signed by nobody. The
// fetch trusts only that authority (Scaricamento::ImpostaAutorita); one case keeps the
// system's authorities and must refuse the run's server. Each case checks the messages, the
// page opened, what the program's folder holds afterwards and whether the program ran; the
// addresses that must not be used point at a listener that would see any connection.

#include "app/core/Messaggi.h"
#include "app/shell/Assistenza.h"
#include "app/shell/Indirizzi.h"
#include "app/shell/Scaricamento.h"
#include "support/apertura_registrata.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace quercino;

namespace {

const QString Pagina = QStringLiteral("https://example.org/remota");
const QString NomeProgramma = QStringLiteral("assistenza.sh");
const QString NonDisponibile = QStringLiteral("Il programma  %1 non è disponibile.");
constexpr const char* CertificatoRifiutato =
    "La connessione sicura con 127.0.0.1 non è riuscita: il certificato del server non è stato accettato (";

QByteArray LeggiTutto(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<illeggibile>");
}

bool ScriviTutto(const QString& percorso, const QByteArray& byte)
{
    QFile file(percorso);
    return file.open(QIODevice::WriteOnly) && file.write(byte) == byte.size() && file.flush();
}

// openssl in `cartella`; its failure fails the test.
void Openssl(const QString& cartella, const QStringList& argomenti, QByteArray* uscita = nullptr)
{
    QProcess processo;
    processo.setWorkingDirectory(cartella);
    processo.start(QStringLiteral("openssl"), argomenti);
    ASSERT_TRUE(processo.waitForFinished(60000)) << "openssl " << argomenti.join(' ').toStdString();
    const QByteArray errori = processo.readAllStandardError();
    ASSERT_EQ(processo.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(processo.exitCode(), 0) << "openssl " << argomenti.join(' ').toStdString() << "\n"
                                      << errori.toStdString();
    if (uscita)
        *uscita = processo.readAllStandardOutput();
}

// The SHA-256 of a file as openssl computes it, in hex.
QString Sha256(const QString& percorso)
{
    QByteArray uscita;
    Openssl(QFileInfo(percorso).absolutePath(), {"dgst", "-sha256", "-r", percorso}, &uscita);
    return QString::fromLatin1(uscita.split(' ').value(0)).trimmed();
}

class ServerHttps {
public:
    ~ServerHttps()
    {
        if (processo_.state() != QProcess::NotRunning) {
            processo_.kill();
            processo_.waitForFinished(5000);
        }
    }
    void Avvia(const QString& certificato, const QString& chiave, const QString& cartella)
    {
        processo_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        processo_.start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral(QUERCINO_SOURCE_DIR "/tests/app/shell/server_https.py"), certificato, chiave,
                         cartella});
        ASSERT_TRUE(processo_.waitForStarted(10000)) << "/usr/bin/python3 non parte";
        QElapsedTimer attesa;
        attesa.start();
        while (!registro_.contains('\n') && attesa.elapsed() < 20000) {
            processo_.waitForReadyRead(500);
            registro_ += processo_.readAllStandardOutput();
        }
        const QByteArray prima = registro_.left(registro_.indexOf('\n'));
        ASSERT_TRUE(prima.startsWith("porta ")) << "il server non si è avviato: " << registro_.toStdString();
        porta_ = prima.mid(6).toInt();
    }
    int Porta() const { return porta_; }
    // Waits (with the event loop turning) for a line of the server's log.
    bool AttendiRiga(const QByteArray& riga, int millisecondi = 10000)
    {
        QElapsedTimer attesa;
        attesa.start();
        while (!Registro().contains("\n" + riga + "\n") && attesa.elapsed() < millisecondi) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            processo_.waitForReadyRead(50);
        }
        return Registro().contains("\n" + riga + "\n");
    }
    int Richieste()
    {
        return Registro().count("\nrichiesta ");
    }
    QByteArray Registro()
    {
        registro_ += processo_.readAllStandardOutput();
        return registro_;
    }

private:
    QProcess processo_;
    QByteArray registro_;
    int porta_ = 0;
};

// What the run shares: the certificates, the servers and the folder they serve.
struct Ambiente {
    QTemporaryDir cartella;
    QString servita;     // the servers' folder
    QSslCertificate autorita;
    ServerHttps fidato;  // the run's authority, 127.0.0.1
    ServerHttps altroNome;
    ServerHttps estraneo;
};
std::unique_ptr<Ambiente> ambiente;

class AssistenzaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ambiente = std::make_unique<Ambiente>();
        ASSERT_TRUE(ambiente->cartella.isValid());
        const QString c = ambiente->cartella.path();
        ambiente->servita = c + "/servita";
        ASSERT_TRUE(QDir().mkpath(ambiente->servita));
        ASSERT_TRUE(ScriviTutto(c + "/openssl.cnf",
                                "[req]\ndistinguished_name = dn\n[dn]\n"
                                "[autorita]\nbasicConstraints = critical, CA:TRUE\n"
                                "keyUsage = critical, keyCertSign, cRLSign\nsubjectKeyIdentifier = hash\n"
                                "[estraneo]\nbasicConstraints = critical, CA:FALSE\n"
                                "subjectAltName = IP:127.0.0.1, DNS:localhost\n"));
        const QStringList chiave{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
        ASSERT_NO_FATAL_FAILURE(Openssl(c, QStringList{"req", "-x509", "-new"} + chiave
                                               + QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "3",
                                                             "-subj", "/CN=Autorita di prova", "-config",
                                                             "openssl.cnf", "-extensions", "autorita"}));
        // Signed by the authority, for the name given.
        const auto firmato = [&](const QString& nome, const QString& alternativo) {
            ASSERT_TRUE(ScriviTutto(c + "/" + nome + ".ext",
                                    ("basicConstraints = critical, CA:FALSE\nkeyUsage = critical, digitalSignature\n"
                                     "extendedKeyUsage = serverAuth\nsubjectAltName = "
                                     + alternativo + "\n")
                                        .toUtf8()));
            ASSERT_NO_FATAL_FAILURE(Openssl(c, QStringList{"req", "-new"} + chiave
                                                   + QStringList{"-keyout", nome + ".key", "-out", nome + ".csr",
                                                                 "-subj", "/CN=" + nome, "-config", "openssl.cnf"}));
            ASSERT_NO_FATAL_FAILURE(Openssl(c, {"x509", "-req", "-in", nome + ".csr", "-CA", "ca.pem", "-CAkey",
                                                "ca.key", "-CAcreateserial", "-out", nome + ".pem", "-days", "3",
                                                "-extfile", nome + ".ext"}));
        };
        ASSERT_NO_FATAL_FAILURE(firmato("fidato", "IP:127.0.0.1, DNS:localhost"));
        ASSERT_NO_FATAL_FAILURE(firmato("altro", "DNS:altro.example"));
        ASSERT_NO_FATAL_FAILURE(Openssl(c, QStringList{"req", "-x509", "-new"} + chiave
                                               + QStringList{"-keyout", "estraneo.key", "-out", "estraneo.pem",
                                                             "-days", "3", "-subj", "/CN=127.0.0.1", "-config",
                                                             "openssl.cnf", "-extensions", "estraneo"}));
        const QList<QSslCertificate> autorita = QSslCertificate::fromPath(c + "/ca.pem");
        ASSERT_EQ(autorita.size(), 1);
        ambiente->autorita = autorita.first();
        ASSERT_NO_FATAL_FAILURE(ambiente->fidato.Avvia(c + "/fidato.pem", c + "/fidato.key", ambiente->servita));
        ASSERT_NO_FATAL_FAILURE(ambiente->altroNome.Avvia(c + "/altro.pem", c + "/altro.key", ambiente->servita));
        ASSERT_NO_FATAL_FAILURE(
            ambiente->estraneo.Avvia(c + "/estraneo.pem", c + "/estraneo.key", ambiente->servita));
    }
    static void TearDownTestSuite() { ambiente.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(ambiente && ambiente->fidato.Porta() > 0) << "i server di prova non sono partiti";
        ASSERT_TRUE(pubblica.isValid());
        qputenv("PUBLIC", QFile::encodeName(pubblica.path()));
        Scaricamento::ImpostaAutorita({ambiente->autorita});
        ASSERT_TRUE(ascolto.listen(QHostAddress::LocalHost, 0));
        // The program served: a script that leaves a mark when it runs, long enough to come
        // in many pieces.
        segno = pubblica.path() + "/avviato";
        QByteArray script = "#!/bin/sh\ntouch '" + QFile::encodeName(segno) + "'\n";
        for (int riga = 0; script.size() < 300 * 1024; ++riga)
            script += "# riga " + QByteArray::number(riga) + " " + QByteArray(60, char('a' + riga % 26)) + "\n";
        servito = script;
        ASSERT_TRUE(ScriviTutto(ambiente->servita + "/" + NomeProgramma, servito));
        ASSERT_TRUE(ScriviTutto(ambiente->servita + "/vuoto", {}));
        richiestePrima = ambiente->fidato.Richieste();
    }
    void TearDown() override
    {
        Scaricamento::ImpostaAutorita({});
        ImpostaIndirizzi({});
        qunsetenv("PUBLIC");
    }

    QString CartellaProgramma() const { return pubblica.path() + "/VORNSOFTLAB/ASSISTENZA_REMOTA"; }
    QString PercorsoProgramma() const { return CartellaProgramma() + "/" + NomeProgramma; }

    // {P}, {A}, {E}: the ports of the trusted, other-name and unsigned servers; {H}: the
    // listener nothing may reach; {F}: the program's path; {N}: the length served.
    QString Sostituisci(QString testo) const
    {
        return testo.replace("{P}", QString::number(ambiente->fidato.Porta()))
            .replace("{A}", QString::number(ambiente->altroNome.Porta()))
            .replace("{E}", QString::number(ambiente->estraneo.Porta()))
            .replace("{H}", QString::number(ascolto.serverPort()))
            .replace("{F}", PercorsoProgramma())
            .replace("{N}", QString::number(servito.size()))
            .replace("{M}", QString::number(servito.size() / 2));
    }

    void Configura(const QString& indirizzo, const QString& sha256)
    {
        IndirizziProduttore indirizzi;
        indirizzi.paginaAssistenza = Pagina;
        indirizzi.programmaAssistenza = NomeProgramma;
        indirizzi.scaricamentoAssistenza = Sostituisci(indirizzo);
        indirizzi.sha256Assistenza = sha256;
        ImpostaIndirizzi(indirizzi);
    }

    QStringList Contenuto(const QString& cartella) const
    {
        return QDir(cartella).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    bool Avviato() const
    {
        for (int i = 0; i < 400 && !QFileInfo::exists(segno); ++i)
            QThread::msleep(25);
        return QFileInfo::exists(segno);
    }

    bool NessunaConnessione() { return !ascolto.waitForNewConnection(300); }

    QTemporaryDir pubblica;
    QTcpServer ascolto;   // what an address that must not be used points at
    QString segno;
    QByteArray servito;
    int richiestePrima = 0;
    test::MessaggiSimulati messaggi;
    test::AperturaRegistrata aperture;
};

struct Caso {
    const char* nome;
    const char* indirizzo;
    const char* sha256;       // "giusta": the served file's, from openssl
    const char* motivo;       // the reason told before "non è disponibile"; "" for success
    bool soloInizio = false;  // the reason goes on with the TLS library's words
    bool autoritaDiSistema = false;
    bool nessunaConnessione = false;
};

void PrintTo(const Caso& caso, std::ostream* os)
{
    *os << caso.nome;
}

class AssistenzaCasi : public AssistenzaTest, public ::testing::WithParamInterface<Caso> {};

const Caso casi[] = {
    {"riuscito", "https://127.0.0.1:{P}/file/assistenza.sh", "", ""},
    {"impronta_giusta", "https://127.0.0.1:{P}/file/assistenza.sh", "giusta", ""},
    {"rimando_https", "https://127.0.0.1:{P}/rimanda?a=https://127.0.0.1:{P}/file/assistenza.sh", "", ""},
    {"non_trovato", "https://127.0.0.1:{P}/file/manca", "",
     "Il server 127.0.0.1 ha risposto con il codice 404 (Not Found): il programma non è stato scaricato."},
    {"interrotto", "https://127.0.0.1:{P}/tronco/assistenza.sh", "",
     "Il file è arrivato incompleto ({M} byte su {N}) ed è stato scartato."},
    {"impronta_errata", "https://127.0.0.1:{P}/file/assistenza.sh",
     "0000000000000000000000000000000000000000000000000000000000000000",
     "Il file scaricato non corrisponde all'impronta SHA-256 attesa ed è stato scartato."},
    {"impronta_non_valida", "https://127.0.0.1:{H}/file/assistenza.sh", "abc",
     "L'impronta SHA-256 attesa non è valida (servono 64 cifre esadecimali). Nulla è stato scaricato.", false,
     false, true},
    {"http", "http://127.0.0.1:{H}/file/assistenza.sh", "",
     "L'indirizzo http://127.0.0.1:{H}/file/assistenza.sh non è sicuro: il programma si scarica solo da "
     "indirizzi https. Nulla è stato scaricato.",
     false, false, true},
    {"ftp", "ftp://127.0.0.1:{H}/assistenza.sh", "",
     "L'indirizzo ftp://127.0.0.1:{H}/assistenza.sh non è sicuro: il programma si scarica solo da "
     "indirizzi https. Nulla è stato scaricato.",
     false, false, true},
    {"rimando_http", "https://127.0.0.1:{P}/rimanda?a=http://127.0.0.1:{H}/file/assistenza.sh", "",
     "Il server rimanda a un indirizzo non sicuro (http://127.0.0.1:{H}/file/assistenza.sh): il programma non "
     "è stato scaricato.",
     false, false, true},
    {"certificato_estraneo", "https://127.0.0.1:{E}/file/assistenza.sh", "", CertificatoRifiutato,
     true},
    {"certificato_di_altro_nome", "https://127.0.0.1:{A}/file/assistenza.sh", "",
     CertificatoRifiutato, true},
    {"autorita_di_sistema", "https://127.0.0.1:{P}/file/assistenza.sh", "", CertificatoRifiutato,
     true, true},
};

TEST_P(AssistenzaCasi, ScaricaEAvvia)
{
    const Caso& caso = GetParam();
    QString sha256 = QString::fromUtf8(caso.sha256);
    if (sha256 == "giusta")
        sha256 = Sha256(ambiente->servita + "/" + NomeProgramma).toUpper();   // case does not matter
    Configura(QString::fromUtf8(caso.indirizzo), sha256);
    if (caso.autoritaDiSistema)
        Scaricamento::ImpostaAutorita({});
    messaggi.risposte = {RispostaSi};

    AssistenzaRemota();

    ASSERT_FALSE(messaggi.mostrati.empty());
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Richiesta Conferma");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QString motivo = Sostituisci(QString::fromUtf8(caso.motivo));
    if (motivo.isEmpty()) {
        EXPECT_EQ(messaggi.mostrati.size(), 1u);
        EXPECT_EQ(Contenuto(CartellaProgramma()), QStringList{NomeProgramma});
        EXPECT_EQ(LeggiTutto(PercorsoProgramma()), servito);
        EXPECT_TRUE(QFileInfo(PercorsoProgramma()).permissions() & QFileDevice::ExeOwner);
        EXPECT_TRUE(Avviato());
        EXPECT_TRUE(aperture.aperti.isEmpty());
        return;
    }
    ASSERT_EQ(messaggi.mostrati.size(), 3u);
    if (caso.soloInizio) {
        EXPECT_TRUE(messaggi.mostrati[1].testo.startsWith(motivo)) << messaggi.mostrati[1].testo.toStdString();
    } else {
        EXPECT_EQ(messaggi.mostrati[1].testo, motivo);
    }
    EXPECT_EQ(messaggi.mostrati[1].titolo, "Attenzione");
    EXPECT_EQ(messaggi.mostrati[2].testo, NonDisponibile.arg(PercorsoProgramma()));
    EXPECT_EQ(aperture.aperti, QList<QUrl>{QUrl(Pagina)});
    // The folder was made, and holds nothing: neither the program nor a temporary file.
    EXPECT_TRUE(QFileInfo(CartellaProgramma()).isDir());
    EXPECT_EQ(Contenuto(CartellaProgramma()), QStringList{});
    EXPECT_FALSE(QFileInfo::exists(segno));
    if (caso.nessunaConnessione) {
        EXPECT_TRUE(NessunaConnessione());
    }
}

INSTANTIATE_TEST_SUITE_P(Casi, AssistenzaCasi, ::testing::ValuesIn(casi),
                         [](const ::testing::TestParamInfo<Caso>& info) { return std::string(info.param.nome); });

// The progress with "Annulla" appears while a slow fetch runs, under the busy pointer;
// "Annulla" stops it, leaves nothing and drops the connection.
TEST_F(AssistenzaTest, AnnullaDalProgresso)
{
    Configura("https://127.0.0.1:{P}/lento", QString());
    messaggi.risposte = {RispostaSi};
    QString titolo, etichetta;
    Qt::CursorShape puntatore = Qt::ArrowCursor;
    bool premuto = false;
    QTimer guarda;
    QObject::connect(&guarda, &QTimer::timeout, [&] {
        for (QWidget* finestra : QApplication::topLevelWidgets()) {
            auto* progresso = qobject_cast<QProgressDialog*>(finestra);
            if (!progresso || !progresso->isVisible() || premuto)
                continue;
            titolo = progresso->windowTitle();
            etichetta = progresso->labelText();
            if (QApplication::overrideCursor())
                puntatore = QApplication::overrideCursor()->shape();
            for (QPushButton* pulsante : progresso->findChildren<QPushButton*>()) {
                if (pulsante->text() == "Annulla") {
                    premuto = true;
                    pulsante->click();
                }
            }
        }
    });
    guarda.start(20);

    AssistenzaRemota();
    guarda.stop();

    ASSERT_TRUE(premuto) << "nessun progresso con \"Annulla\" in vista";
    EXPECT_EQ(titolo, "Assistenza Remota");
    EXPECT_EQ(etichetta, "Scaricamento del programma di assistenza remota in corso...");
    EXPECT_EQ(puntatore, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // A cancel needs no reason: the program is missing and the page opens, as for a failure.
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo, NonDisponibile.arg(PercorsoProgramma()));
    EXPECT_EQ(aperture.aperti, QList<QUrl>{QUrl(Pagina)});
    EXPECT_EQ(Contenuto(CartellaProgramma()), QStringList{});
    EXPECT_TRUE(ambiente->fidato.AttendiRiga("lento: lasciato")) << ambiente->fidato.Registro().toStdString();
}

// Without an address to fetch from, nothing is fetched and no folder is made: the program
// missing is said and the page opens, as before.
TEST_F(AssistenzaTest, SenzaIndirizzoNulla)
{
    Configura(QString(), QString());
    messaggi.risposte = {RispostaSi};
    AssistenzaRemota();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo, NonDisponibile.arg(PercorsoProgramma()));
    EXPECT_EQ(aperture.aperti, QList<QUrl>{QUrl(Pagina)});
    EXPECT_FALSE(QFileInfo::exists(CartellaProgramma()));
    EXPECT_EQ(ambiente->fidato.Richieste(), richiestePrima);
}

// A program already there is run, not fetched again.
TEST_F(AssistenzaTest, ProgrammaPresenteNonRiscaricato)
{
    ASSERT_TRUE(QDir().mkpath(CartellaProgramma()));
    ASSERT_TRUE(ScriviTutto(PercorsoProgramma(), "#!/bin/sh\ntouch '" + QFile::encodeName(segno) + "'\n"));
    ASSERT_TRUE(QFile::setPermissions(PercorsoProgramma(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                               | QFileDevice::ExeOwner));
    Configura("https://127.0.0.1:{P}/file/assistenza.sh", QString());
    messaggi.risposte = {RispostaSi};
    AssistenzaRemota();
    EXPECT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(Avviato());
    EXPECT_EQ(ambiente->fidato.Richieste(), richiestePrima);
}

// The fetch itself, with its bounds: the size (announced or counted), an empty answer, a
// server gone silent, a destination that is a link, an earlier file kept unless the new one
// is whole.
struct CasoScaricamento {
    const char* nome;
    const char* indirizzo;
    qint64 massimo;           // 0: the default; -1: exactly the served length
    const char* prima;        // what the destination held ("" nothing; "link": a dangling link)
    const char* motivo;       // "" success
};

void PrintTo(const CasoScaricamento& caso, std::ostream* os)
{
    *os << caso.nome;
}

class ScaricamentoCasi : public AssistenzaTest, public ::testing::WithParamInterface<CasoScaricamento> {};

const CasoScaricamento casiScaricamento[] = {
    {"senza_lunghezza", "https://127.0.0.1:{P}/flusso/assistenza.sh", 0, "", ""},
    {"al_limite", "https://127.0.0.1:{P}/file/assistenza.sh", -1, "", ""},
    {"annunciato_troppo_grande", "https://127.0.0.1:{P}/file/assistenza.sh", 1000, "",
     "Il file supera la dimensione massima ammessa (1000 byte) ed è stato scartato."},
    {"flusso_troppo_grande", "https://127.0.0.1:{P}/flusso/assistenza.sh", 100000, "",
     "Il file supera la dimensione massima ammessa (100000 byte) ed è stato scartato."},
    {"vuoto", "https://127.0.0.1:{P}/file/vuoto", 0, "",
     "Il server 127.0.0.1 ha mandato un file vuoto: il programma non è stato scaricato."},
    {"server_muto", "https://127.0.0.1:{P}/fermo", 0, "", "Il server 127.0.0.1 ha smesso di rispondere: il programma non è stato scaricato."},
    {"rimandato_a_server_muto", "https://127.0.0.1:{P}/rimanda?a=https://127.0.0.1:{P}/fermo", 0, "",
     "Il server 127.0.0.1 ha smesso di rispondere: il programma non è stato scaricato."},
    {"rimandato_a_muto_dall_inizio", "https://127.0.0.1:{P}/rimanda?a=https://127.0.0.1:{H}/file/assistenza.sh", 0,
     "", "Il server 127.0.0.1 ha smesso di rispondere: il programma non è stato scaricato."},
    {"muto_dall_inizio", "https://127.0.0.1:{H}/file/assistenza.sh", 0, "",
     "Il server 127.0.0.1 ha smesso di rispondere: il programma non è stato scaricato."},
    {"sostituisce_se_intero", "https://127.0.0.1:{P}/file/assistenza.sh", 0, "vecchio", ""},
    {"tiene_il_vecchio", "https://127.0.0.1:{P}/tronco/assistenza.sh", 0, "vecchio",
     "Il file è arrivato incompleto ({M} byte su {N}) ed è stato scartato."},
    {"collegamento", "https://127.0.0.1:{P}/file/assistenza.sh", 0, "link",
     "Il percorso \"{F}\" non è un file che si possa scrivere: il programma non è stato scaricato."},
};

TEST_P(ScaricamentoCasi, Scarica)
{
    const CasoScaricamento& caso = GetParam();
    ASSERT_TRUE(QDir().mkpath(CartellaProgramma()));
    const QString altrove = pubblica.path() + "/altrove";
    const QByteArray prima = caso.prima;
    if (prima == "link") {
        ASSERT_TRUE(QFile::link(altrove, PercorsoProgramma()));
    } else if (!prima.isEmpty()) {
        ASSERT_TRUE(ScriviTutto(PercorsoProgramma(), prima));
    }
    RegoleScaricamento regole;
    if (caso.massimo > 0)
        regole.massimo = caso.massimo;
    else if (caso.massimo < 0)
        regole.massimo = servito.size();
    regole.silenzioMassimo = 1000;

    Scaricamento scaricamento;
    scaricamento.Avvia(Sostituisci(QString::fromUtf8(caso.indirizzo)), PercorsoProgramma(), regole);
    const Scaricamento::Esito esito = scaricamento.Attendi();

    const QString motivo = Sostituisci(QString::fromUtf8(caso.motivo));
    EXPECT_EQ(scaricamento.Motivo(), motivo);
    if (motivo.isEmpty()) {
        EXPECT_EQ(esito, Scaricamento::Esito::Riuscito);
        EXPECT_EQ(LeggiTutto(PercorsoProgramma()), servito);
        EXPECT_EQ(Contenuto(CartellaProgramma()), QStringList{NomeProgramma});
        return;
    }
    EXPECT_EQ(esito, Scaricamento::Esito::NonRiuscito);
    if (prima == "link") {
        EXPECT_TRUE(QFileInfo(PercorsoProgramma()).isSymLink());
        EXPECT_FALSE(QFileInfo::exists(altrove));
        EXPECT_EQ(Contenuto(CartellaProgramma()), QStringList{NomeProgramma});
    } else if (!prima.isEmpty()) {
        EXPECT_EQ(LeggiTutto(PercorsoProgramma()), prima);
        EXPECT_EQ(Contenuto(CartellaProgramma()), QStringList{NomeProgramma});
    } else {
        EXPECT_EQ(Contenuto(CartellaProgramma()), QStringList{});
    }
}

INSTANTIATE_TEST_SUITE_P(Casi, ScaricamentoCasi, ::testing::ValuesIn(casiScaricamento),
                         [](const ::testing::TestParamInfo<CasoScaricamento>& info) {
                             return std::string(info.param.nome);
                         });

} // namespace
