// Where the files go and when they exist: asked for once, the further files of a split
// beside the first without asking unless a file of that name is there, created only with
// their first block, complete under their final name or not there at all.

#include "supporto.h"

#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include <QTemporaryDir>

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

// Rows that fill exactly one file of 999 blocks and begin a second one.
void ScriviDueFile(ScrittoreDatiFattura& s)
{
    for (int c = 1; c <= 1000; ++c) {
        const RisultatoRiga r = s.Scrivi(Riga(QString::number(20000000000LL + c), QStringLiteral("CLIENTE %1").arg(c),
                                              QStringLiteral("1")));
        ASSERT_EQ(r.esito, EsitoRiga::Scritta);
    }
}

void CreaFile(const QString& percorso, const QByteArray& contenuto)
{
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenuto);
}

TEST(FileDivisi, IFileSeguentiVannoNellaCartellaDelPrimoSenzaChiedere)
{
    QTemporaryDir radice;
    QDir(radice.path()).mkdir(QStringLiteral("scelta"));
    const QString cartella = radice.filePath(QStringLiteral("scelta"));
    RichiesteProva richieste(radice.path(), 7);
    richieste.percorsiDialogo = {QDir(cartella).filePath(QStringLiteral("IT01234567890_DF_00007.xml"))};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    ScriviDueFile(s);
    s.Chiudi();

    EXPECT_EQ(richieste.nomiProposti.size(), 1);
    EXPECT_TRUE(richieste.controllati.isEmpty());
    EXPECT_EQ(FileXml(cartella), (QStringList{QDir(cartella).filePath(QStringLiteral("IT01234567890_DF_00007.xml")),
                                              QDir(cartella).filePath(QStringLiteral("IT01234567890_DF_00008.xml"))}));
    EXPECT_EQ(richieste.progressivo, 9);
    EXPECT_EQ(s.Progressivo(), 9);
    EXPECT_TRUE(ValidoPerSchema(FileXml(cartella)));
}

TEST(FileDivisi, UnFileEsistenteDaConservareFaChiedereUnAltroNome)
{
    QTemporaryDir cartella;
    const QString esistente = QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00008.xml"));
    const QString altro = QDir(cartella.path()).filePath(QStringLiteral("altro.xml"));
    CreaFile(esistente, "gia trasmesso");
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00007.xml")), altro};
    richieste.risposteControllo = {true};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    ScriviDueFile(s);
    s.Chiudi();

    EXPECT_EQ(richieste.controllati, QStringList{esistente});
    EXPECT_EQ(richieste.nomiProposti,
              (QStringList{QStringLiteral("IT01234567890_DF_00007.xml"), QStringLiteral("IT01234567890_DF_00008.xml")}));
    EXPECT_EQ(LeggiFile(esistente), QByteArray("gia trasmesso"));
    ASSERT_EQ(s.FileScritti().size(), 2u);
    EXPECT_EQ(s.FileScritti()[1].percorso, altro);
    EXPECT_EQ(LeggiDatiFattura(altro).progressivo, QStringLiteral("00008"));
    EXPECT_TRUE(ValidoPerSchema(QStringList{s.FileScritti()[0].percorso, altro}));
}

TEST(FileDivisi, IlFileAppenaScrittoNonPuoEssereRiscelto)
{
    QTemporaryDir cartella;
    const QString primo = QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00007.xml"));
    const QString esistente = QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00008.xml"));
    const QString altro = QDir(cartella.path()).filePath(QStringLiteral("altro.xml"));
    CreaFile(esistente, "gia trasmesso");
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {primo, primo, altro};
    richieste.risposteControllo = {true};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    ScriviDueFile(s);
    s.Chiudi();

    EXPECT_EQ(richieste.nomiProposti.size(), 3);
    ASSERT_EQ(s.FileScritti().size(), 2u);
    EXPECT_EQ(LeggiDatiFattura(primo).blocchi.size(), 999u) << "the first file is kept";
    EXPECT_EQ(s.FileScritti()[1].percorso, altro);
    EXPECT_TRUE(ValidoPerSchema(QStringList{primo, altro}));
}

TEST(FileDivisi, UnFileEsistenteDaSostituireVieneSostituito)
{
    QTemporaryDir cartella;
    const QString esistente = QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00008.xml"));
    CreaFile(esistente, "vecchio");
    RichiesteProva richieste(cartella.path(), 7);
    richieste.risposteControllo = {false};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    ScriviDueFile(s);
    s.Chiudi();

    EXPECT_EQ(richieste.controllati, QStringList{esistente});
    EXPECT_EQ(richieste.nomiProposti.size(), 1);
    EXPECT_EQ(LeggiDatiFattura(esistente).blocchi.size(), 1u);
    EXPECT_TRUE(ValidoPerSchema(esistente));
}

TEST(FileDivisi, RinunciaAlNomeDelFileSeguenteFermaIlFoglio)
{
    QTemporaryDir cartella;
    const QString esistente = QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00008.xml"));
    CreaFile(esistente, "gia trasmesso");
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00007.xml")), QString()};
    richieste.risposteControllo = {true};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    for (int c = 1; c <= 999; ++c)
        ASSERT_EQ(s.Scrivi(Riga(QString::number(20000000000LL + c), QStringLiteral("CLIENTE %1").arg(c), QStringLiteral("1"))).esito,
                  EsitoRiga::Scritta);
    EXPECT_EQ(s.Scrivi(Riga(QStringLiteral("30000000000"), QStringLiteral("ALTRO"), QStringLiteral("1"))).esito,
              EsitoRiga::Annullata);
    EXPECT_TRUE(s.Annullato());
    EXPECT_EQ(s.Scrivi(Continuazione(QStringLiteral("2"))).esito, EsitoRiga::Annullata);
    s.Chiudi();

    // The full file is complete and counted; nothing else was written.
    ASSERT_EQ(s.FileScritti().size(), 1u);
    EXPECT_EQ(richieste.aumenti, 1);
    EXPECT_EQ(LeggiFile(esistente), QByteArray("gia trasmesso"));
    EXPECT_EQ(FileXml(cartella.path()).size(), 2);
    EXPECT_TRUE(ValidoPerSchema(s.FileScritti()[0].percorso));
}

TEST(FileDivisi, SenzaBlocchiNessunFileENessunProgressivo)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    {
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
        // A continuation row with no counterpart above it, and a row the schema refuses.
        const RisultatoRiga orfana = s.Scrivi(Continuazione(QStringLiteral("1")));
        EXPECT_EQ(orfana.esito, EsitoRiga::Rifiutata);
        EXPECT_EQ(orfana.errore, (ErroreRiga{QStringLiteral("Partita Iva / Codice Fiscale"), QStringLiteral("* VUOTO *")}));
        RigaFattura errata = Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("1"));
        errata.TipoDocumento = QStringLiteral("TD99");
        EXPECT_EQ(s.Scrivi(errata).esito, EsitoRiga::Rifiutata);
        s.Chiudi();
        EXPECT_TRUE(s.FileScritti().empty());
    }
    EXPECT_TRUE(richieste.nomiProposti.isEmpty()) << "nothing to save, nothing asked";
    EXPECT_EQ(richieste.aumenti, 0);
    EXPECT_TRUE(FileXml(cartella.path()).isEmpty());
}

TEST(FileDivisi, RinunciaAlPrimoFileNonCreaNulla)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {QString()};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    EXPECT_EQ(s.Scrivi(Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("1"))).esito,
              EsitoRiga::Annullata);
    s.Chiudi();
    EXPECT_EQ(richieste.aumenti, 0);
    EXPECT_TRUE(FileXml(cartella.path()).isEmpty());
}

TEST(FileDivisi, IlNomeDefinitivoCompareSoloAFileCompleto)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    const QString finale = QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_00007.xml"));
    {
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
        for (int i = 0; i < 5000; ++i)
            s.Scrivi(Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QString::number(i / 5 + 1)));
        EXPECT_FALSE(QFileInfo::exists(finale));
        s.Chiudi();
        EXPECT_TRUE(QFileInfo::exists(finale));
    }
    EXPECT_EQ(FileXml(cartella.path()), QStringList{finale});

    // A writer dropped midway (an error in the caller) leaves nothing behind.
    QTemporaryDir altra;
    RichiesteProva altre(altra.path(), 7);
    {
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, altre);
        for (int i = 0; i < 5000; ++i)
            s.Scrivi(Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QString::number(i / 5 + 1)));
    }
    EXPECT_TRUE(FileXml(altra.path()).isEmpty());
    EXPECT_EQ(altre.aumenti, 0);
    EXPECT_TRUE(ValidoPerSchema(finale));
}

TEST(FileDivisi, UnaCartellaInesistenteEUnErroreSenzaProgressivo)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {QDir(cartella.path()).filePath(QStringLiteral("manca/IT01234567890_DF_00007.xml"))};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    try {
        s.Scrivi(Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("1")));
        FAIL() << "expected an error";
    } catch (const ErroreDatiFattura& e) {
        EXPECT_TRUE(e.Messaggio().startsWith(QStringLiteral("Impossibile creare il file "))) << e.what();
    }
    EXPECT_EQ(richieste.aumenti, 0);
    // After the failure nothing more is written and closing reports nothing again.
    EXPECT_EQ(s.Scrivi(Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("2"))).esito,
              EsitoRiga::Annullata);
    EXPECT_NO_THROW(s.Chiudi());
    EXPECT_TRUE(s.FileScritti().empty());
}

// Answers like the registry when the progressive cannot be raised any more.
class ProgressivoBloccato : public RichiesteProva {
public:
    using RichiesteProva::RichiesteProva;
    int AggiornaProgressivo() override { throw ErroreDatiFattura(QStringLiteral("progressivo non aggiornato")); }
};

TEST(FileDivisi, UnProgressivoNonAggiornatoFermaLaScritturaMaTieneIlFileCompleto)
{
    QTemporaryDir cartella;
    ProgressivoBloccato richieste(cartella.path(), 7);
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    for (int c = 1; c <= 999; ++c)
        s.Scrivi(Riga(QString::number(20000000000LL + c), QStringLiteral("CLIENTE %1").arg(c), QStringLiteral("1")));
    EXPECT_THROW(s.Scrivi(Riga(QStringLiteral("30000000000"), QStringLiteral("ALTRO"), QStringLiteral("1"))),
                 ErroreDatiFattura);
    EXPECT_NO_THROW(s.Chiudi());
    ASSERT_EQ(s.FileScritti().size(), 1u);
    EXPECT_EQ(FileXml(cartella.path()), QStringList{s.FileScritti()[0].percorso});
    EXPECT_TRUE(ValidoPerSchema(FileXml(cartella.path())));
}

class ProgressivoFermo : public RichiesteProva {
public:
    using RichiesteProva::RichiesteProva;
    int AggiornaProgressivo() override { return progressivo; }
};

TEST(FileDivisi, UnProgressivoCheNonAvanzaNonSovrascriveIlFileScritto)
{
    QTemporaryDir cartella;
    ProgressivoFermo richieste(cartella.path(), 7);
    richieste.risposteControllo = {false};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    for (int c = 1; c <= 999; ++c)
        s.Scrivi(Riga(QString::number(20000000000LL + c), QStringLiteral("CLIENTE %1").arg(c), QStringLiteral("1")));
    EXPECT_THROW(s.Scrivi(Riga(QStringLiteral("30000000000"), QStringLiteral("ALTRO"), QStringLiteral("1"))),
                 ErroreDatiFattura);
    ASSERT_EQ(s.FileScritti().size(), 1u);
    EXPECT_EQ(LeggiDatiFattura(s.FileScritti()[0].percorso).blocchi.size(), 999u);
    EXPECT_TRUE(richieste.controllati.isEmpty());
    EXPECT_TRUE(ValidoPerSchema(s.FileScritti()[0].percorso));
}

TEST(FileDivisi, DatiDelDichiaranteCheLAgenziaRifiuterebbe)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    DatiDichiarante senzaCarica = DichiaranteSocieta();
    senzaCarica.ODICCARICA.clear();
    EXPECT_THROW(ScrittoreDatiFattura(senzaCarica, TipoComunicazione::DTE, richieste), ErroreDatiFattura);
    DatiDichiarante oltre = DichiaranteSocieta();
    oltre.OPROG = 100000;
    EXPECT_THROW(ScrittoreDatiFattura(oltre, TipoComunicazione::DTE, richieste), ErroreDatiFattura);
    EXPECT_TRUE(richieste.nomiProposti.isEmpty());
}

TEST(FileDivisi, IlProgressivoNonPuoSuperare99999)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 99999);
    DatiDichiarante d = DichiaranteSocieta();
    d.OPROG = 99999;
    ScrittoreDatiFattura s(d, TipoComunicazione::DTE, richieste);
    for (int c = 1; c <= 999; ++c)
        s.Scrivi(Riga(QString::number(20000000000LL + c), QStringLiteral("CLIENTE %1").arg(c), QStringLiteral("1")));
    // The registry would refuse the raise; this answerer does not, so the writer must.
    EXPECT_THROW(s.Scrivi(Riga(QStringLiteral("30000000000"), QStringLiteral("ALTRO"), QStringLiteral("1"))),
                 ErroreDatiFattura);
    ASSERT_EQ(s.FileScritti().size(), 1u);
    EXPECT_EQ(QFileInfo(s.FileScritti()[0].percorso).fileName(), QStringLiteral("IT01234567890_DF_99999.xml"));
    EXPECT_TRUE(ValidoPerSchema(s.FileScritti()[0].percorso));
}

} // namespace
