// The save dialog service: its questions, its replace loop and the globals it leaves.

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "support/servizi_simulati.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::DialoghiSimulati;
using quercino::test::MessaggiSimulati;

namespace {

void Scrivi(const QString& percorso)
{
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

class SalvaConNomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        FileSalva = "vecchio";
        UltimaCartella.clear();
    }
    QTemporaryDir dir;
    MessaggiSimulati messaggi;
    DialoghiSimulati dialoghi;
};

} // namespace

TEST_F(SalvaConNomeTest, FileNuovoNessunaDomanda)
{
    const QString scelto = dir.filePath("IT01234567890_DF_00001.xml");
    dialoghi.salvataggi = {scelto};
    SalvaConNome("IT01234567890_DF_00001.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, scelto);
    EXPECT_EQ(UltimaCartella, dir.path());
    EXPECT_TRUE(messaggi.mostrati.empty());
    ASSERT_EQ(dialoghi.richieste.size(), 1u);
    const RichiestaFile& r = dialoghi.richieste[0];
    EXPECT_EQ(r.titolo, "Indica dove salvare il file XML");
    EXPECT_EQ(r.cartella, dir.path());
    EXPECT_EQ(r.nomeFile, "IT01234567890_DF_00001.xml");
    EXPECT_EQ(r.filtri, QStringList{"Tipo File XML (*.xml *.XML)"});
}

TEST_F(SalvaConNomeTest, FileEsistenteRifiutatoRichiedeDiNuovo)
{
    const QString esistente = dir.filePath("a.xml");
    Scrivi(esistente);
    const QString altro = dir.filePath("b.xml");
    dialoghi.salvataggi = {esistente, altro};
    messaggi.risposte = {RispostaNo};
    SalvaConNome("a.xml", "XML", dir.path());

    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    const Messaggio& domanda = messaggi.mostrati[0];
    EXPECT_EQ(domanda.titolo, "Controllo Documento");
    EXPECT_EQ(domanda.testo, "Il documento \r\n \r\na.xml\r\n \r\nesiste già. Vuoi sostituirlo?  ");
    EXPECT_EQ(domanda.pulsanti, Pulsanti::SiNo);
    EXPECT_EQ(domanda.icona, Icona::Informazione);
    // Asked again with the same proposed name.
    ASSERT_EQ(dialoghi.richieste.size(), 2u);
    EXPECT_EQ(dialoghi.richieste[1].nomeFile, "a.xml");
    EXPECT_EQ(FileSalva, altro);
}

TEST_F(SalvaConNomeTest, FileEsistenteSostituito)
{
    const QString esistente = dir.filePath("a.xml");
    Scrivi(esistente);
    dialoghi.salvataggi = {esistente};
    messaggi.risposte = {RispostaSi};
    SalvaConNome("a.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, esistente);
    EXPECT_EQ(dialoghi.richieste.size(), 1u);
}

TEST_F(SalvaConNomeTest, AnnullaLasciaUltimaCartella)
{
    UltimaCartella = "/una/cartella";
    dialoghi.salvataggi = {""};
    SalvaConNome("a.xml", "XML");
    EXPECT_EQ(FileSalva, "");
    EXPECT_EQ(UltimaCartella, "/una/cartella");
    // Given no folder, the dialog opened where the previous one ended.
    EXPECT_EQ(dialoghi.richieste[0].cartella, "/una/cartella");
}

TEST_F(SalvaConNomeTest, AnnullaDopoUnRifiuto)
{
    const QString esistente = dir.filePath("a.xml");
    Scrivi(esistente);
    dialoghi.salvataggi = {esistente, ""};
    messaggi.risposte = {RispostaNo};
    SalvaConNome("a.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, "");
    EXPECT_EQ(UltimaCartella, "");
}

TEST_F(SalvaConNomeTest, SenzaCartelleIlDesktop)
{
    dialoghi.salvataggi = {""};
    SalvaConNome("a.xml", "XML");
    EXPECT_EQ(dialoghi.richieste[0].cartella, CartellaDesktop());
}

TEST(ControlloDocumento, FileAssenteNessunaDomanda)
{
    MessaggiSimulati messaggi;
    QTemporaryDir dir;
    EXPECT_FALSE(ControlloDocumento(dir.filePath("manca.xml")));
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST(FiltroTipoFile, EntrambiICaratteri)
{
    EXPECT_EQ(FiltroTipoFile("VEKO"), "Tipo File VEKO (*.veko *.VEKO)");
}
