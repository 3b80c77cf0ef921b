// One copy of the program for due_copie_test.cpp: the real registry window, offscreen, on
// the database of argument 1 ("sqlite:PATH" or an ODBC connection string), driven by lines
// on standard input: "cartella PATH" (where the files go), "ricarica" (the list reloaded),
// "importa|annulla N [ricarica] [ritardo MS]": N rounds of "Elabora foglio Excel / CSV" on
// the CSV file of argument 2, or of "CREA" in the mode "ANNULLAMENTO", each reloaded first
// and begun after 0 to MS ms when asked; "aggiungi" (the registry's command 701), "scegli
// CODICE" (its grid row clicked), "digita CAMPO TESTO" (typed over the field's text),
// "registra" (REGISTRA clicked); "importa 1 pausa": the import window opened, "importazione
// pronta" printed, and its button clicked only when the line "via" comes; "ripristina FILE
// [rallenta MS]": "Ripristina Dati" on FILE confirmed, "ripristino in corso" printed at its
// first row, each row MS ms longer (a slow disk or network); "attesa-massima MS": the longest
// wait for another copy's lock. The wait window, when it shows, is printed once as "attesa:
// ..." with its reason. Each command answers "fatto", after a line "messaggio: ..." for each
// message that is not a round's own.

#include "app/backup/FSalva.h"
#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/AttesaArchivio.h"
#include "app/shell/FWaitF.h"
#include "attesa_vista.h"
#include "app/widgets/Applicazione.h"
#include "declarants/import/FImpEX.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"
#include "platform/grid/Grid.h"
#include "platform/db/Database.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <iostream>

using namespace quercino;

namespace {

class Servizi final : public ServizioMessaggi, public ServizioDialoghi {
public:
    QString cartella, csv, backup;

    int Mostra(const Messaggio& m) override
    {
        Riporta(m.titolo + ": " + m.testo);
        return m.pulsanti == Pulsanti::SiNo ? RispostaSi : RispostaOk;   // a file of the same name replaced
    }
    // The rounds' own dialogs: the annulment confirmed, the closing messages closed.
    int MostraTask(const DialogoTask& d) override
    {
        for (const QString pulsante : {"Si, Confermo", "OK Chiudi"})
            if (d.pulsanti.contains(pulsante))
                return PrimoPulsanteTask + static_cast<int>(d.pulsanti.indexOf(pulsante));
        return Riporta(d.titolo + ": " + d.testo), PrimoPulsanteTask;
    }
    QString ChiediSalvataggio(const RichiestaFile& r) override { return cartella + "/" + r.nomeFile; }
    QStringList ChiediApertura(const RichiestaFile& r, bool) override { return {r.titolo == TitoloDialogoApri ? backup : csv}; }
    static void Riporta(QString testo) { std::cout << "messaggio: " << testo.replace("\r\n", " ").toStdString() << std::endl; }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Applicazione applicazione(argc, argv);
    const QString origine = QCoreApplication::arguments().value(1);
    auto db = origine.startsWith("sqlite:") ? Database::openSqliteFile(origine.mid(7)) : Database::openConnectionString(origine);
    Cnn = db.get();
    Servizi servizi;
    servizi.csv = QCoreApplication::arguments().value(2);
    ImpostaServizioMessaggi(&servizi);
    ImpostaServizioDialoghi(&servizi);
    RegistraFinestraImportazione();
    CollegaAttesaArchivio();
    // The wait window and the restore, as they show.
    QPointer<FWaitF> attesaVista;
    bool ripristinoVisto = false;
    int rallenta = 0;
    QTimer guarda;
    guarda.setInterval(20);
    QObject::connect(&guarda, &QTimer::timeout, [&] {
        if (const QString attesa = NuovaAttesa(attesaVista); !attesa.isEmpty())
            std::cout << "attesa: " << attesa.toStdString() << std::endl;
        auto* salva = qobject_cast<FSalva*>(QApplication::activeModalWidget());
        if (!salva || !salva->Occupata() || salva->ContaRighe() == 0)
            return;
        if (!std::exchange(ripristinoVisto, true))
            std::cout << "ripristino in corso" << std::endl;
    });
    guarda.start();
    QTimer lento;   // runs at every row of a restore, which lets events run once per row
    lento.setInterval(0);
    QObject::connect(&lento, &QTimer::timeout, [&] {
        if (auto* salva = qobject_cast<FSalva*>(QApplication::activeModalWidget()); salva && salva->Occupata())
            QThread::msleep(static_cast<unsigned long>(rallenta));
    });
    F1OP finestra;
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    std::cout << "pronto" << std::endl;
    for (std::string linea; std::getline(std::cin, linea); std::cout << "fatto" << std::endl) {
        const QStringList p = QString::fromStdString(linea).split(' ');
        if (p[0] == "cartella")
            servizi.cartella = p[1];
        if (p[0] == "ricarica")
            finestra.Lista();
        if (p[0] == "aggiungi")
            finestra.Aggiungi();
        if (p[0] == "scegli") {
            Grid& griglia = finestra.Griglia();
            for (int r = 1; r <= griglia.RowCount(); ++r)
                if (griglia.CellText(r, "OCOD") == p[1])
                    QTest::mouseClick(griglia.viewport(), Qt::LeftButton, {},
                                      griglia.visualRect(griglia.model()->index(r - 1, 0)).center());
        }
        if (p[0] == "digita") {
            QLineEdit* campo = finestra.Campo(p[1]);
            campo->setFocus();
            QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(campo, Qt::Key_Delete);
            QTest::keyClicks(campo, QStringList(p.mid(2)).join(' '));
        }
        if (p[0] == "registra")
            QTest::mouseClick(&finestra.PulsanteRegistra(), Qt::LeftButton);
        if (p[0] == "attesa-massima")
            Database::setLockWaitLimit(std::chrono::milliseconds(p[1].toInt()));
        if (p[0] == "ripristina") {
            servizi.backup = p[1];
            rallenta = p.contains("rallenta") ? p.last().toInt() : 0;
            ripristinoVisto = false;
            ModoSalva = QStringLiteral("R");
            QTimer::singleShot(0, [] {
                if (auto* salva = qobject_cast<FSalva*>(QApplication::activeModalWidget()))
                    QTest::mouseClick(salva->bconferma(), Qt::LeftButton);
            });
            if (rallenta > 0)
                lento.start();
            FSalva salva(&finestra);
            salva.Apri();
            lento.stop();
        }
        const bool importa = p[0] == "importa";
        for (int giro = 0; (importa || p[0] == "annulla") && giro < p[1].toInt(); ++giro) {
            if (p.contains("ricarica"))
                finestra.Lista();
            if (p.contains("ritardo"))
                QThread::msleep(QRandomGenerator::global()->bounded(p.last().toUInt() + 1));
            (importa ? finestra.OpzioneNuoviDati() : finestra.OpzioneAnnullamento()).click();
            finestra.findChild<QLineEdit*>("IDFILE")->setText("123456");
            QWidget* pulsante = importa ? &finestra.PulsanteElabora() : finestra.findChild<QPushButton*>("PusCREA");
            // The frame the option shows is laid out before the mouse goes to its button.
            if (!QTest::qWaitFor([&] { return finestra.childAt(pulsante->mapTo(&finestra, pulsante->rect().center())) == pulsante; }))
                Servizi::Riporta(pulsante->objectName() + " coperto");
            QTimer::singleShot(0, [importa, pausa = p.contains("pausa")] {   // the import window, modal, opened by the click below
                if (auto* f = qobject_cast<FImpEX*>(QApplication::activeModalWidget()); f && importa) {
                    if (pausa) {
                        std::cout << "importazione pronta" << std::endl;
                        for (std::string via; via != "via" && std::getline(std::cin, via);) {
                        }
                    }
                    f->OpzioneCsv().click();
                    QTest::mouseClick(&f->PulsanteImporta(), Qt::LeftButton);
                }
            });
            QTest::mouseClick(pulsante, Qt::LeftButton);
        }
    }
    ImpostaServizioMessaggi(nullptr);
    ImpostaServizioDialoghi(nullptr);
    return 0;
}
