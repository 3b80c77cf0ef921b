// One copy of the program for due_copie_test.cpp: the real registry window, offscreen, on
// the database of its first argument ("sqlite:PATH" or an ODBC connection string), driven
// by the lines of its standard input. The files go to the folder last named by "cartella";
// the import reads the CSV file of the second argument.
//   cartella PATH                         where the next files go
//   ricarica                              the list reloaded (the declarant read again)
//   importa|annulla N [ricarica] [ritardo MS]
//       N rounds of "Elabora foglio Excel / CSV" (the import window's own button) or of
//       "CREA" in the mode "ANNULLAMENTO"; each round reloaded first, or begun after 0 to MS
//       milliseconds, when asked.
// Each command answers "fatto"; a message that is not a round's own is printed first as
// "messaggio: TITLE: TEXT".

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/widgets/Applicazione.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
#include "platform/db/Database.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <iostream>

using namespace quercino;

namespace {

class Servizi final : public ServizioMessaggi, public ServizioDialoghi {
public:
    QString cartella, csv;

    int Mostra(const Messaggio& m) override
    {
        Riporta(m.titolo + ": " + m.testo);
        return RispostaOk;
    }
    // The rounds' own dialogs: the annulment confirmed, the closing messages closed.
    int MostraTask(const DialogoTask& d) override
    {
        for (const char* pulsante : {"Si, Confermo", "OK Chiudi"})
            if (const auto i = d.pulsanti.indexOf(QLatin1String(pulsante)); i >= 0)
                return PrimoPulsanteTask + static_cast<int>(i);
        Riporta(d.titolo + ": " + d.testo);
        return PrimoPulsanteTask;
    }
    QString ChiediSalvataggio(const RichiestaFile& r) override { return QDir(cartella).filePath(r.nomeFile); }
    QStringList ChiediApertura(const RichiestaFile&, bool) override { return {csv}; }

    static void Riporta(QString testo) { std::cout << "messaggio: " << testo.replace("\r\n", " ").toStdString() << std::endl; }
};

void Giro(F1OP& finestra, const QString& azione)
{
    if (azione == "annulla") {
        finestra.OpzioneAnnullamento().click();
        finestra.findChild<QLineEdit*>("IDFILE")->setText("123456");
        return QTest::mouseClick(finestra.findChild<QPushButton*>("PusCREA"), Qt::LeftButton);
    }
    finestra.OpzioneNuoviDati().click();
    QTimer::singleShot(0, [] {
        auto* importa = qobject_cast<FImpEX*>(QApplication::activeModalWidget());
        if (!importa)
            return Servizi::Riporta("nessuna finestra di importazione");
        importa->OpzioneCsv().click();
        QTest::mouseClick(&importa->PulsanteImporta(), Qt::LeftButton);
    });
    QTest::mouseClick(&finestra.PulsanteElabora(), Qt::LeftButton);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Applicazione applicazione(argc, argv);
    const QStringList argomenti = QCoreApplication::arguments();
    const QString connessione = argomenti.value(1);
    auto db = connessione.startsWith("sqlite:") ? Database::openSqliteFile(connessione.mid(7))
                                                : Database::openConnectionString(connessione);
    Cnn = db.get();
    Servizi servizi;
    servizi.csv = argomenti.value(2);
    ImpostaServizioMessaggi(&servizi);
    ImpostaServizioDialoghi(&servizi);
    RegistraFinestraImportazione();
    F1OP finestra;
    finestra.show();
    std::cout << "pronto" << std::endl;
    for (std::string linea; std::getline(std::cin, linea);) {
        const QStringList p = QString::fromStdString(linea).split(' ');
        const auto ritardo = p.indexOf("ritardo") >= 0 ? p.value(p.indexOf("ritardo") + 1).toUInt() : 0u;
        if (p[0] == "cartella")
            servizi.cartella = p.value(1);
        for (int giro = 0; giro < (p[0] == "ricarica" ? 1 : p.value(1).toInt()); ++giro) {
            QThread::msleep(ritardo ? QRandomGenerator::global()->bounded(ritardo + 1) : 0);
            if (p.contains("ricarica"))
                finestra.Lista();
            if (p[0] != "ricarica")
                Giro(finestra, p[0]);
        }
        std::cout << "fatto" << std::endl;
    }
    ImpostaServizioMessaggi(nullptr);
    ImpostaServizioDialoghi(nullptr);
    return 0;
}
