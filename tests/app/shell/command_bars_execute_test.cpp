// The dispatcher driven through a recording main window, in the cases the walk through the
// real bars (f0_test) cannot reach: another window active, no registry, a failing registry,
// a missing document, an update check cancelled (casi/comandi.tsv).

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/CommandBarsExecute.h"
#include "app/shell/Indirizzi.h"
#include "support/apertura_registrata.h"
#include "support/casi.h"
#include "support/servizi_simulati.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quercino;

namespace {

class AmbienteFinto final : public AmbienteComandi, public FinestraAnagrafica {
public:
    QString NomeFinestraAttiva() override { return attiva; }
    FinestraAnagrafica* Anagrafica() override { return esisteAnagrafica ? this : nullptr; }
    void MostraAnagrafica() override { chiamate << "MostraAnagrafica"; }
    void ApriSalvataggio() override { chiamate << QStringLiteral("FSalva %1 %2").arg(ModoSalva, SalvaTutti ? "tutti" : "uno"); }
    void MostraVersione() override { chiamate << "FVer"; }
    void Termina() override { chiamate << "Termina"; }
    QString CartellaProgramma() override { return cartella; }
    QWidget* Finestra() override { return nullptr; }
    void Aggiungi() override { chiamate << "Aggiungi"; }
    void Elimina() override { chiamate << "Elimina"; }
    void Lista() override
    {
        chiamate << "Lista";
        if (listaFallisce)
            throw std::runtime_error("tabella COPE non trovata");
    }

    QString attiva = "F1OP";
    bool esisteAnagrafica = true;
    bool listaFallisce = false;
    QStringList chiamate;
    QString cartella;
};

} // namespace

// Each row: the declarant chosen, the active child window, whether the registry exists and
// whether its refresh fails, the answers to the boxes, the commands ("id caption", "|"
// between them) => what was called, the boxes shown, what was opened.
TEST(CommandBarsExecute, CasiDiConfine)
{
    Release = "Release 1.4.4 - 19 Aprile 2021";
    ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news", "", "", "", ""});
    test::ControllaFunzioni(__FILE__, "casi/comandi.tsv", {
        {"Comandi", [](const QStringList& a) {
             QTemporaryDir programma;
             test::MessaggiSimulati messaggi;
             test::AperturaRegistrata aperture;
             AmbienteFinto ambiente;
             ambiente.cartella = programma.path();
             ambiente.attiva = a[1];
             ambiente.esisteAnagrafica = a[2] == "1";
             ambiente.listaFallisce = a[3] == "1";
             for (const QString& risposta : a[4].split(' ', Qt::SkipEmptyParts))
                 messaggi.risposte.push_back(risposta == "Annulla" ? RispostaAnnulla : RispostaOk);
             CodiceOperatore = a[0];
             for (const QString& comando : a[5].split('|'))
                 CommandBars_Execute(ambiente, comando.section(' ', 0, 0).toInt(), comando.section(' ', 1));
             QStringList effetti = ambiente.chiamate;
             for (const Messaggio& m : messaggi.mostrati)
                 effetti << "box " + m.titolo + ": " + QString(m.testo).replace(programma.path(), "<programma>");
             for (const QUrl& url : aperture.aperti)
                 effetti << "apre " + url.toString();
             if (Risposta == "2")
                 effetti << "Risposta 2";
             Risposta.clear();
             return effetti;
         }},
    });
    ImpostaIndirizzi({});
}

// The manual the build writes into the program folder is what "6-Manuale completo" opens.
TEST(CommandBarsExecute, ApreIlManualeScrittoDalBuild)
{
    test::AperturaRegistrata aperture;
    test::MessaggiSimulati messaggi;
    AmbienteFinto ambiente;
    ambiente.cartella = QUERCINO_PROGRAM_DIR;
    CodiceOperatore = "01";
    const QString manuale = ambiente.cartella + "/Help/Quercino - Manuale Completo.pdf";
    ASSERT_TRUE(QFile::exists(manuale)) << manuale.toStdString();
    CommandBars_Execute(ambiente, 706, "6-Manuale completo");
    EXPECT_EQ(aperture.aperti, QList<QUrl>{QUrl::fromLocalFile(manuale)});
    EXPECT_TRUE(messaggi.mostrati.empty());
}
