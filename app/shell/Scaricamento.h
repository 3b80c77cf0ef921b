#pragma once
// Fetching a file that the program will run. What arrives over the network is not trusted:
// only https is used (redirects included), the server's certificate is always checked, the
// size is bounded and, when the build gives one, the SHA-256 must match. The bytes go to a
// temporary file beside the destination, which takes the destination's name only once it
// is whole, checked and flushed: the destination is the complete file or is not touched.
// No widgets: the window part (pointer, progress, cancel) is ScaricaFile's.

#include <QFileDevice>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>

#include <memory>

class QCryptographicHash;
class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;
class QTimer;
class QUrl;

namespace quercino {

struct RegoleScaricamento {
    QString sha256;                              // 64 hex digits; empty: not checked
    qint64 massimo = 256LL * 1024 * 1024;        // bytes; a longer answer is discarded
    int silenzioMassimo = 30000;                 // ms without a byte before giving up
    bool eseguibile = false;                     // the file is a program to run
};

class Scaricamento final : public QObject {
    Q_OBJECT
public:
    enum class Esito { InCorso, Riuscito, Annullato, NonRiuscito };

    explicit Scaricamento(QObject* genitore = nullptr);
    ~Scaricamento() override;   // a fetch still running is abandoned, leaving nothing

    // Starts fetching `indirizzo` into `percorso`. A refusal found at once (an address that
    // is not https, a folder that cannot be written) ends it before this returns.
    void Avvia(const QString& indirizzo, const QString& percorso, const RegoleScaricamento& regole = {});
    // Stops a running fetch: nothing is kept, the result is Annullato.
    void Annulla();
    // Runs the event loop until the fetch ends; an event loop left from outside (the
    // program quitting) cancels it.
    Esito Attendi();

    Esito Risultato() const { return esito_; }
    bool Concluso() const { return esito_ != Esito::InCorso; }
    // Why it did not succeed, in Italian; empty when it succeeded or was cancelled.
    QString Motivo() const { return motivo_; }

    // The certificate authorities trusted in place of the system's (tests use their own);
    // an empty list: the system's. The certificate is checked either way.
    static void ImpostaAutorita(const QList<QSslCertificate>& autorita);

signals:
    // Bytes received so far, and the announced length (-1 when unknown).
    void Avanzamento(qint64 ricevuti, qint64 totale);
    void Finito();

private:
    // Runs a handler of the network's signals: nothing thrown leaves it, the fetch fails.
    template <typename Azione>
    void Protetto(Azione&& azione) noexcept;
    void Ricevi();
    void RispostaNonValida(int codice);
    void Sveglia();
    void Rimandato(const QUrl& destinazione);
    void Termina();
    void Concludi();
    void Fallisci(Esito esito, const QString& motivo);
    void Chiudi();

    QNetworkAccessManager* rete_ = nullptr;
    QNetworkReply* risposta_ = nullptr;
    QTimer* silenzio_ = nullptr;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QCryptographicHash> impronta_;
    RegoleScaricamento regole_;
    QString host_;
    QStringList erroriSsl_;
    qint64 ricevuti_ = 0;
    qint64 annunciati_ = -1;
    Esito esito_ = Esito::InCorso;
    QString motivo_;
};

} // namespace quercino
