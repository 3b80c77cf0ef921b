// The on-screen message boxes, task dialog and file dialogs, as the steps of
// scenari/dialoghi_qt.txt (see support/scenario.h): what the user sees (texts, icon,
// Italian buttons, the dialog's folder and filters, file dates), what pressing each button
// or key answers, that Qt's own overwrite question is off (the program asks itself), and
// the paths handed back.

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/Traduzione.h"
#include "app/widgets/DialoghiQt.h"
#include "app/widgets/MessaggiQt.h"
#include "support/casi.h"
#include "support/scenario.h"
#include "support/servizi_in_scenario.h"

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMessageBox>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class FinestreQt : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CaricaTraduzioneItaliana(*QCoreApplication::instance()));
        UsaMessaggiQt();
        UsaDialoghiQt();
        // The file dialog keeps its columns in the user's settings: a private place, so that
        // no earlier run or user decides what the dialog shows.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, impostazioni.path());
        s.Sostituisci(dir.path(), "<cartella>");
        // "premi TESTO", "premi Esc", "premi Invio" or "premi insisti" (Esc and a close
        // request, then the last button): what the next box gets.
        s.verbi["premi"] = [this](const QString& a) { premi = a; };
        // "msgbox PULSANTI ICONA PREDEFINITO TITOLO|TESTO" ("-" the defaults).
        s.verbi["msgbox"] = [this](const QString& a) {
            const QStringList p = test::Parole(a, 3);
            const QStringList pulsanti{"Ok", "OkAnnulla", "InterrompiRiprovaIgnora", "SiNoAnnulla", "SiNo"};
            const QStringList icone{"Nessuna", "Critica", "Domanda", "Attenzione", "Informazione"};
            AlBox();
            const QString titolo = p[3].section('|', 0, 0);
            const int risposta =
                MsgBox(test::Decodifica(p[3].section('|', 1)), static_cast<Pulsanti>(pulsanti.indexOf(p[0])),
                       static_cast<Icona>(icone.indexOf(p[1])), titolo == "-" ? QString() : titolo,
                       p[2] == "-" ? 0 : test::RispostaDaNome(p[2]));
            s.Stampa("=> " + test::NomeRisposta(risposta));
        };
        // "task PREDEFINITO TITOLO|TESTO|ICONA|PULSANTE..." ("-": the first button).
        s.verbi["task"] = [this](const QString& a) {
            const QStringList p = test::Parole(a, 1)[1].split('|');
            AlBox();
            if (a.startsWith("- "))
                MostraMessaggio(p[0], p[1], p[2].toInt(), p[3], p.value(4), p.value(5));
            else
                MostraMessaggio(p[0], p[1], p[2].toInt(), p.mid(3), a.section(' ', 0, 0).toInt());
            s.Stampa("=> " + QString::number(RispostaTask));
        };
        // "scegli NOME..." (none: Cancel) for the next file dialog, which is printed.
        s.verbi["scegli"] = [this](const QString& a) { scelta = a; };
        s.verbi["file"] = [this](const QString& a) {
            QFile file(dir.filePath(test::Parole(a)[0]));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            if (test::Parole(a).size() > 1)
                file.setFileTime(QDateTime::fromString(test::Parole(a, 1)[1], Qt::ISODate), QFileDevice::FileModificationTime);
        };
        // The program's own question, if any, answered Yes by the double and printed.
        s.verbi["salva"] = [this](const QString& a) {
            test::MessaggiSimulati messaggi;
            UltimaCartella = "/cartella/precedente";
            AlDialogo();
            SalvaConNome(test::Parole(a)[0], "XML", dir.path());
            for (const Messaggio& m : messaggi.mostrati)
                s.Stampa("[" + m.titolo + "]");
            s.Stampa("FileSalva " + FileSalva + ", UltimaCartella " + UltimaCartella);
        };
        s.verbi["apri"] = [this](const QString& a) {
            // One file is asked for without filters.
            RichiestaFile richiesta{"Scegli", dir.path(), {}, {}, {}};
            if (a == "multipla")
                richiesta.filtri << "File CSV (*.csv *.CSV)";
            AlDialogo();
            QStringList scelti = ServizioDialoghiAttivo().ChiediApertura(richiesta, a == "multipla");
            scelti.sort();
            s.Stampa(scelti.isEmpty() ? "(nessuno)" : scelti.join(", "));
        };
    }
    void TearDown() override
    {
        ImpostaServizioMessaggi(nullptr);
        ImpostaServizioDialoghi(nullptr);
    }

    // When the box shows: its title, icon, buttons, text and whether it can be closed; then
    // what `premi` says.
    void AlBox()
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            QStringList pulsanti;
            for (QAbstractButton* pulsante : box->buttons())
                pulsanti << pulsante->text().remove('&');
            s.Stampa(QStringLiteral("[%1] icona %2%3: %4")
                         .arg(box->windowTitle())
                         .arg(box->icon())
                         .arg(box->windowFlags().testFlag(Qt::WindowCloseButtonHint) ? "" : ", senza chiusura")
                         .arg(pulsanti.join(" | ")));
            s.Stampa(box->text());
            const QString tasto = std::exchange(premi, QString());
            if (tasto == "Esc" || tasto == "Invio") {
                QTest::keyClick(box, tasto == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
            } else if (tasto == "insisti") {
                QTest::keyClick(box, Qt::Key_Escape);
                box->close();
                QTimer::singleShot(0, [this, box] {
                    s.Stampa(box->isVisible() ? "(resta aperta)" : "(chiusa)");
                    box->buttons().last()->click();
                });
            }
            for (QAbstractButton* pulsante : box->buttons())
                if (pulsante->text().remove('&') == tasto)
                    pulsante->click();
        });
    }

    // When the file dialog shows: its title, folder, filters, mode, the overwrite question and
    // the date of each file listed; then `scelta` accepted, or Cancel.
    void AlDialogo()
    {
        QTimer::singleShot(0, [this] {
            auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialogo);
            s.Stampa(QStringLiteral("(dialogo \"%1\" in %2, %3, modo %4%5)")
                         .arg(dialogo->windowTitle(), dialogo->directory().absolutePath(),
                              dialogo->nameFilters().join(';'))
                         .arg(dialogo->fileMode())
                         .arg(dialogo->testOption(QFileDialog::DontConfirmOverwrite) ? ", senza domanda di Qt" : ""));
            const auto* modello = dialogo->findChild<QFileSystemModel*>();
            ASSERT_TRUE(modello && dialogo->proxyModel());
            // Each name whole in its column beside its icon (16), and every caption.
            const auto* lista = dialogo->findChild<QTreeView*>("treeView");
            const int margine = 2 * (lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
            for (const QString& nome : QDir(dir.path()).entryList({"*.csv"}, QDir::Files, QDir::Name))
                s.Stampa(nome + " " + dialogo->proxyModel()->mapFromSource(modello->index(dir.filePath(nome), 3)).data().toString()
                         + (lista->fontMetrics().horizontalAdvance(nome) + 16 + margine <= lista->columnWidth(0) ? "" : " TAGLIATO"));
            for (int c = 0; c < lista->header()->count(); ++c) {
                const QString titolo = lista->model()->headerData(c, Qt::Horizontal).toString();
                if (lista->header()->fontMetrics().horizontalAdvance(titolo) + margine > lista->header()->sectionSize(c))
                    s.Stampa(titolo + " TAGLIATO");
            }
            const QString scelto = std::exchange(scelta, QString());
            if (scelto.isEmpty())
                return dialogo->reject();
            dialogo->selectFile(scelto.contains(' ') ? scelto : dir.filePath(scelto));
            QMetaObject::invokeMethod(dialogo, "accept", Qt::DirectConnection);
        });
    }

    QTemporaryDir dir, impostazioni;
    test::Scenario s;
    QString premi, scelta;
};

} // namespace

TEST_F(FinestreQt, Passi)
{
    EXPECT_SCENARIO(s, "scenari/dialoghi_qt.txt");
}
