// The save dialog service: its questions, its replace loop and the globals it leaves.

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;

TEST(SalvaConNome, NuovoSostituitoRifiutatoAnnullato)
{
    QTemporaryDir dir;
    const QString esistente = dir.filePath("a.xml"), altro = dir.filePath("b.xml");
    ASSERT_TRUE(test::ScriviFile(esistente, "x"));
    struct Caso {
        QStringList scelte;         // the dialog's answers in turn ("" = cancel)
        std::deque<int> risposte;   // to "replace it?"
        QString cartella;           // given to SalvaConNome
        QString fileSalva, ultimaCartella;
        int dialoghi;
    };
    const Caso casi[] = {
        {{altro}, {}, dir.path(), altro, dir.path(), 1},
        {{esistente}, {RispostaSi}, dir.path(), esistente, dir.path(), 1},
        {{esistente, altro}, {RispostaNo}, dir.path(), altro, dir.path(), 2},
        {{esistente, ""}, {RispostaNo}, dir.path(), "", "/una/cartella", 2},
        // Given no folder, the dialog opens where the previous one ended.
        {{""}, {}, "", "", "/una/cartella", 1},
    };
    for (const Caso& caso : casi) {
        test::MessaggiSimulati messaggi;
        test::DialoghiSimulati dialoghi;
        dialoghi.salvataggi.assign(caso.scelte.begin(), caso.scelte.end());
        messaggi.risposte = caso.risposte;
        FileSalva = "vecchio";
        UltimaCartella = "/una/cartella";
        SalvaConNome("a.xml", "XML", caso.cartella);
        EXPECT_EQ(FileSalva, caso.fileSalva);
        EXPECT_EQ(UltimaCartella, caso.ultimaCartella);
        ASSERT_EQ(dialoghi.richieste.size(), std::size_t(caso.dialoghi));
        // Asked again with the same proposed name, in the folder given or the last one.
        for (const RichiestaFile& r : dialoghi.richieste) {
            EXPECT_EQ(r.titolo, "Indica dove salvare il file XML");
            EXPECT_EQ(r.nomeFile, "a.xml");
            EXPECT_EQ(r.cartella, caso.cartella.isEmpty() ? "/una/cartella" : caso.cartella);
            EXPECT_EQ(r.filtri, QStringList{"Tipo File XML (*.xml *.XML)"});
        }
        ASSERT_EQ(messaggi.mostrati.size(), caso.risposte.size());
        for (const Messaggio& domanda : messaggi.mostrati) {
            EXPECT_EQ(domanda.titolo, "Controllo Documento");
            EXPECT_EQ(domanda.testo, "Il documento \r\n \r\na.xml\r\n \r\nesiste già. Vuoi sostituirlo?  ");
            EXPECT_EQ(domanda.pulsanti, Pulsanti::SiNo);
            EXPECT_EQ(domanda.predefinito, RispostaNo);
        }
    }
    // No folder at all: the desktop.
    test::DialoghiSimulati dialoghi;
    UltimaCartella.clear();
    SalvaConNome("a.xml", "XML");
    EXPECT_EQ(dialoghi.richieste.at(0).cartella, CartellaDesktop());
    EXPECT_EQ(FiltroTipoFile("VEKO"), "Tipo File VEKO (*.veko *.VEKO)");
}
