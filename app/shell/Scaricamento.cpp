#include "app/shell/Scaricamento.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>
#include <QUrl>

namespace quercino {

namespace {

constexpr qint64 Blocco = 64 * 1024;

QList<QSslCertificate>& Autorita()
{
    static QList<QSslCertificate> autorita;
    return autorita;
}

bool ImprontaValida(const QString& sha256)
{
    static const QRegularExpression esadecimale(QStringLiteral("^[0-9a-fA-F]{64}$"));
    return esadecimale.match(sha256).hasMatch();
}

QString TestoNonScaricato()
{
    return QStringLiteral(": il programma non è stato scaricato.");
}

} // namespace

template <typename Azione>
void Scaricamento::Protetto(Azione&& azione) noexcept
{
    try {
        azione();
    } catch (...) {
        try {
            Fallisci(Esito::NonRiuscito, QStringLiteral("Errore imprevisto durante lo scaricamento."));
        } catch (...) {
        }
    }
}

Scaricamento::Scaricamento(QObject* genitore)
    : QObject(genitore), rete_(new QNetworkAccessManager(this)), silenzio_(new QTimer(this))
{
    // Qt's own transfer timeout is not armed again after a redirect: a server reached that
    // way and silent would hold the fetch for ever.
    silenzio_->setSingleShot(true);
    connect(silenzio_, &QTimer::timeout, this, [this] {
        Protetto([this] {
            Fallisci(Esito::NonRiuscito,
                     QStringLiteral("Il server %1 ha smesso di rispondere").arg(host_) + TestoNonScaricato());
        });
    });
    // Fetched bytes are read once, as they come; nothing of them is kept elsewhere.
    rete_->setCache(nullptr);
    rete_->setStrictTransportSecurityEnabled(false);
}

Scaricamento::~Scaricamento()
{
    if (risposta_) {
        risposta_->disconnect(this);
        risposta_->abort();
        delete risposta_;
        risposta_ = nullptr;
    }
    if (file_)
        file_->cancelWriting();
}

void Scaricamento::ImpostaAutorita(const QList<QSslCertificate>& autorita)
{
    Autorita() = autorita;
}

void Scaricamento::Avvia(const QString& indirizzo, const QString& percorso, const RegoleScaricamento& regole)
{
    if (risposta_ || Concluso())
        return;   // one fetch per object
    regole_ = regole;
    regole_.sha256 = regole_.sha256.trimmed().toLower();

    const QUrl url(indirizzo.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) {
        Fallisci(Esito::NonRiuscito, QStringLiteral("L'indirizzo \"%1\" non è valido").arg(indirizzo) + TestoNonScaricato());
        return;
    }
    // A program fetched in clear could be replaced on the way and then run.
    if (url.scheme() != QLatin1String("https")) {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("L'indirizzo %1 non è sicuro: il programma si scarica solo da indirizzi "
                                "https. Nulla è stato scaricato.")
                     .arg(url.toDisplayString()));
        return;
    }
    if (!regole_.sha256.isEmpty() && !ImprontaValida(regole_.sha256)) {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("L'impronta SHA-256 attesa non è valida (servono 64 cifre esadecimali). "
                                "Nulla è stato scaricato."));
        return;
    }
    // A link would take the bytes wherever it points.
    if (percorso.isEmpty() || QFileInfo(percorso).isSymLink()) {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Il percorso \"%1\" non è un file che si possa scrivere").arg(percorso)
                     + TestoNonScaricato());
        return;
    }
    file_ = std::make_unique<QSaveFile>(percorso);
    if (!file_->open(QIODevice::WriteOnly)) {
        const QString errore = file_->errorString();
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Impossibile scrivere in \"%1\" (%2)").arg(QFileInfo(percorso).absolutePath(), errore)
                     + TestoNonScaricato());
        return;
    }
    impronta_ = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
    host_ = url.host();

    QNetworkRequest richiesta(url);
    richiesta.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    richiesta.setMaximumRedirectsAllowed(5);
    richiesta.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    richiesta.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // The bytes counted, bounded and checked are the bytes sent: no decompression on the way.
    richiesta.setRawHeader("Accept-Encoding", "identity");
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setPeerVerifyMode(QSslSocket::VerifyPeer);
    ssl.setProtocol(QSsl::SecureProtocols);
    if (!Autorita().isEmpty())
        ssl.setCaCertificates(Autorita());
    richiesta.setSslConfiguration(ssl);

    risposta_ = rete_->get(richiesta);
    // At most this much waits unread: the file is written as the bytes come.
    risposta_->setReadBufferSize(4 * Blocco);
    silenzio_->start(regole_.silenzioMassimo);
    for (auto segnale : {&QNetworkReply::metaDataChanged, &QNetworkReply::encrypted})
        connect(risposta_, segnale, this, [this] { Protetto([this] { Sveglia(); }); });
    connect(risposta_, &QNetworkReply::readyRead, this, [this] { Protetto([this] { Ricevi(); }); });
    connect(risposta_, &QNetworkReply::redirected, this,
            [this](const QUrl& destinazione) { Protetto([&] { Rimandato(destinazione); }); });
    connect(risposta_, &QNetworkReply::sslErrors, this, [this](const QList<QSslError>& errori) {
        // Never ignored: they only name the reason of the failure that follows.
        Protetto([&] {
            for (const QSslError& errore : errori)
                erroriSsl_ << errore.errorString();
        });
    });
    connect(risposta_, &QNetworkReply::finished, this, [this] { Protetto([this] { Termina(); }); });
}

void Scaricamento::Annulla()
{
    if (!Concluso())
        Fallisci(Esito::Annullato, QString());
}

Scaricamento::Esito Scaricamento::Attendi()
{
    if (Concluso() || !risposta_)
        return esito_;
    QEventLoop ciclo;
    connect(this, &Scaricamento::Finito, &ciclo, &QEventLoop::quit);
    ciclo.exec();
    if (!Concluso())
        Annulla();
    return esito_;
}

void Scaricamento::Sveglia()
{
    if (!Concluso())
        silenzio_->start(regole_.silenzioMassimo);
}

void Scaricamento::Rimandato(const QUrl& destinazione)
{
    if (Concluso() || !risposta_)
        return;
    Sveglia();
    if (destinazione.scheme() != QLatin1String("https")) {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Il server rimanda a un indirizzo non sicuro (%1)").arg(destinazione.toDisplayString())
                     + TestoNonScaricato());
        return;
    }
    host_ = destinazione.host();
    emit risposta_->redirectAllowed();
}

void Scaricamento::Ricevi()
{
    if (Concluso() || !risposta_)
        return;
    Sveglia();
    const QVariant stato = risposta_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (stato.isValid()) {
        const int codice = stato.toInt();
        if (codice >= 300 && codice < 400) {
            risposta_->readAll();   // the body of a redirect being followed
            return;
        }
        if (codice != 200)
            return RispostaNonValida(codice);
    }
    if (annunciati_ < 0) {
        const QVariant lunghezza = risposta_->header(QNetworkRequest::ContentLengthHeader);
        if (lunghezza.isValid())
            annunciati_ = lunghezza.toLongLong();
    }
    const auto troppoGrande = [this] {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Il file supera la dimensione massima ammessa (%1 byte) ed è stato scartato.")
                     .arg(regole_.massimo));
    };
    if (annunciati_ > regole_.massimo)
        return troppoGrande();
    while (risposta_->bytesAvailable() > 0) {
        const QByteArray blocco = risposta_->read(Blocco);
        if (blocco.isEmpty())
            break;
        if (ricevuti_ + blocco.size() > regole_.massimo)
            return troppoGrande();
        if (file_->write(blocco) != blocco.size()) {
            Fallisci(Esito::NonRiuscito,
                     QStringLiteral("Errore di scrittura in \"%1\" (%2)").arg(file_->fileName(), file_->errorString())
                         + TestoNonScaricato());
            return;
        }
        impronta_->addData(blocco);
        ricevuti_ += blocco.size();
    }
    emit Avanzamento(ricevuti_, annunciati_);
}

void Scaricamento::RispostaNonValida(int codice)
{
    Fallisci(Esito::NonRiuscito,
             QStringLiteral("Il server %1 ha risposto con il codice %2 (%3)")
                 .arg(host_)
                 .arg(codice)
                 .arg(risposta_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                 + TestoNonScaricato());
}

void Scaricamento::Termina()
{
    if (Concluso() || !risposta_)
        return;
    Ricevi();
    if (Concluso())
        return;
    // A redirect that was not followed ends here too.
    const QVariant stato = risposta_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (stato.isValid() && stato.toInt() != 200)
        return RispostaNonValida(stato.toInt());
    const QNetworkReply::NetworkError errore = risposta_->error();
    switch (errore) {
    case QNetworkReply::NoError:
        break;
    case QNetworkReply::SslHandshakeFailedError:
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("La connessione sicura con %1 non è riuscita: il certificato del server non è "
                                "stato accettato (%2)")
                     .arg(host_, erroriSsl_.isEmpty() ? risposta_->errorString() : erroriSsl_.join(QStringLiteral("; ")))
                     + TestoNonScaricato());
        return;
    case QNetworkReply::InsecureRedirectError:
        Fallisci(Esito::NonRiuscito, QStringLiteral("Il server rimanda a un indirizzo non sicuro") + TestoNonScaricato());
        return;
    case QNetworkReply::TooManyRedirectsError:
        Fallisci(Esito::NonRiuscito, QStringLiteral("Il server rimanda ad altri indirizzi troppe volte") + TestoNonScaricato());
        return;
    case QNetworkReply::TimeoutError:
        Fallisci(Esito::NonRiuscito, QStringLiteral("Il server %1 ha smesso di rispondere").arg(host_) + TestoNonScaricato());
        return;
    default:
        if (annunciati_ > 0 && ricevuti_ < annunciati_)
            break;   // a connection cut in mid-file: said below
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Lo scaricamento da %1 non è riuscito (%2)").arg(host_, risposta_->errorString())
                     + TestoNonScaricato());
        return;
    }
    if (annunciati_ >= 0 && ricevuti_ != annunciati_) {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Il file è arrivato incompleto (%1 byte su %2) ed è stato scartato.")
                     .arg(ricevuti_)
                     .arg(annunciati_));
        return;
    }
    if (ricevuti_ == 0) {
        Fallisci(Esito::NonRiuscito, QStringLiteral("Il server %1 ha mandato un file vuoto").arg(host_) + TestoNonScaricato());
        return;
    }
    if (!regole_.sha256.isEmpty() && impronta_->result().toHex() != regole_.sha256.toLatin1()) {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Il file scaricato non corrisponde all'impronta SHA-256 attesa ed è stato scartato."));
        return;
    }
    Concludi();
}

// The whole, checked file takes the destination's name; until then only the temporary one
// beside it exists.
void Scaricamento::Concludi()
{
    const QString percorso = file_->fileName();
    const auto nonSalvato = [&](const QString& errore) {
        Fallisci(Esito::NonRiuscito,
                 QStringLiteral("Impossibile salvare \"%1\" (%2)").arg(percorso, errore) + TestoNonScaricato());
    };
    if (!file_->flush())
        return nonSalvato(file_->errorString());
    if (regole_.eseguibile
        && !file_->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                  | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser
                                  | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                  | QFileDevice::ExeOther))
        return nonSalvato(file_->errorString());
    if (!file_->commit())
        return nonSalvato(file_->errorString());
    file_.reset();
    Chiudi();
    esito_ = Esito::Riuscito;
    emit Finito();
}

void Scaricamento::Fallisci(Esito esito, const QString& motivo)
{
    if (Concluso())
        return;
    Chiudi();
    esito_ = esito;
    motivo_ = motivo;
    emit Finito();
}

void Scaricamento::Chiudi()
{
    silenzio_->stop();
    if (file_) {
        // Never committed: the temporary file goes with it.
        file_->cancelWriting();
        file_.reset();
    }
    if (risposta_) {
        QNetworkReply* risposta = std::exchange(risposta_, nullptr);
        risposta->disconnect(this);
        if (risposta->isRunning())
            risposta->abort();
        risposta->deleteLater();
    }
}

} // namespace quercino
