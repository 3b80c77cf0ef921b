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

// `n` counterparts of one invoice each; 999 fill a file.
void Controparti(ScrittoreDatiFattura& s, int n)
{
    for (int c = 1; c <= n; ++c)
        ASSERT_EQ(s.Scrivi(Riga(QString::number(20000000000LL + c), QStringLiteral("CLIENTE %1").arg(c), "1")).esito,
                  EsitoRiga::Scritta);
}

const RigaFattura Altro = Riga("30000000000", "ALTRO", "1");   // the 1000th counterpart

QString In(const QTemporaryDir& cartella, int progressivo)
{
    return QDir(cartella.path()).filePath(QStringLiteral("IT01234567890_DF_%1.xml").arg(progressivo, 5, 10, QLatin1Char('0')));
}

} // namespace

TEST(FileDivisi, IFileSeguentiVannoNellaCartellaDelPrimoSenzaChiedere)
{
    QTemporaryDir radice, scelta;
    RichiesteProva richieste(radice.path(), 7);
    richieste.percorsiDialogo = {In(scelta, 7)};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    Controparti(s, 1000);
    s.Chiudi();
    EXPECT_EQ(richieste.nomiProposti.size(), 1);
    EXPECT_TRUE(richieste.controllati.isEmpty());
    EXPECT_EQ(FileXml(scelta.path()), (QStringList{In(scelta, 7), In(scelta, 8)}));
    EXPECT_EQ(s.Progressivo(), 9);
    EXPECT_TRUE(ValidoPerSchema(FileXml(scelta.path())));
}

// A file of the next name already there: kept (another name is asked, and the first file
// may not be chosen again) or replaced, as answered.
TEST(FileDivisi, UnFileEsistenteConservatoOSostituito)
{
    for (const bool conserva : {true, false}) {
        SCOPED_TRACE(conserva);
        QTemporaryDir cartella;
        const QString altro = QDir(cartella.path()).filePath("altro.xml");
        ASSERT_TRUE(ScriviFile(In(cartella, 8), "gia trasmesso"));
        RichiesteProva richieste(cartella.path(), 7);
        if (conserva)
            richieste.percorsiDialogo = {In(cartella, 7), In(cartella, 7), altro};
        richieste.risposteControllo = {conserva};
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
        Controparti(s, 1000);
        s.Chiudi();
        EXPECT_EQ(richieste.controllati, QStringList{In(cartella, 8)});
        ASSERT_EQ(s.FileScritti().size(), 2u);
        EXPECT_EQ(LeggiDatiFattura(In(cartella, 7)).blocchi.size(), 999u) << "the first file is kept";
        if (conserva) {
            EXPECT_EQ(richieste.nomiProposti.size(), 3);
            EXPECT_EQ(LeggiFile(In(cartella, 8)), QByteArray("gia trasmesso"));
            EXPECT_EQ(s.FileScritti()[1].percorso, altro);
            EXPECT_EQ(LeggiDatiFattura(altro).progressivo, "00008");
        } else {
            EXPECT_EQ(richieste.nomiProposti.size(), 1);
            EXPECT_EQ(LeggiDatiFattura(In(cartella, 8)).blocchi.size(), 1u);
        }
        EXPECT_TRUE(ValidoPerSchema(QStringList{In(cartella, 7), s.FileScritti()[1].percorso}));
    }
}

// No name given for the next file: the sheet stops, the full file is complete and counted.
TEST(FileDivisi, RinunciaAlNomeDelFileSeguenteFermaIlFoglio)
{
    QTemporaryDir cartella;
    ASSERT_TRUE(ScriviFile(In(cartella, 8), "gia trasmesso"));
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {In(cartella, 7), QString()};
    richieste.risposteControllo = {true};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    Controparti(s, 999);
    EXPECT_EQ(s.Scrivi(Altro).esito, EsitoRiga::Annullata);
    EXPECT_TRUE(s.Annullato());
    EXPECT_EQ(s.Scrivi(Continuazione("2")).esito, EsitoRiga::Annullata);
    s.Chiudi();
    ASSERT_EQ(s.FileScritti().size(), 1u);
    EXPECT_EQ(richieste.aumenti, 1);
    EXPECT_EQ(LeggiFile(In(cartella, 8)), QByteArray("gia trasmesso"));
    EXPECT_EQ(FileXml(cartella.path()).size(), 2);
    EXPECT_TRUE(ValidoPerSchema(In(cartella, 7)));
}

// No block, no file and no number: rows all refused, the first name not given, a writer
// dropped midway (an error in the caller); the final name appears only when it is complete.
TEST(FileDivisi, NessunFileIncompletoNessunProgressivoSprecato)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    {
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
        EXPECT_EQ(s.Scrivi(Continuazione("1")).esito, EsitoRiga::Rifiutata);
        RigaFattura errata = Riga("11111111111", "BETA", "1");
        errata.TipoDocumento = "TD99";
        EXPECT_EQ(s.Scrivi(errata).esito, EsitoRiga::Rifiutata);
        s.Chiudi();
        EXPECT_TRUE(s.FileScritti().empty());
    }
    EXPECT_TRUE(richieste.nomiProposti.isEmpty()) << "nothing to save, nothing asked";
    {
        richieste.percorsiDialogo = {QString()};
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
        EXPECT_EQ(s.Scrivi(Riga("11111111111", "BETA", "1")).esito, EsitoRiga::Annullata);
        s.Chiudi();
    }
    {
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
        for (int i = 0; i < 5000; ++i)
            s.Scrivi(Riga("11111111111", "BETA", QString::number(i / 5 + 1)));
        EXPECT_FALSE(QFileInfo::exists(In(cartella, 7)));
    }
    EXPECT_EQ(richieste.aumenti, 0);
    EXPECT_TRUE(FileXml(cartella.path()).isEmpty());
    {
        ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
        for (int i = 0; i < 5000; ++i)
            s.Scrivi(Riga("11111111111", "BETA", QString::number(i / 5 + 1)));
        s.Chiudi();
    }
    EXPECT_EQ(FileXml(cartella.path()), QStringList{In(cartella, 7)});
    EXPECT_TRUE(ValidoPerSchema(In(cartella, 7)));
}

TEST(FileDivisi, UnaCartellaInesistenteEUnErroreSenzaProgressivo)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {QDir(cartella.path()).filePath("manca/IT01234567890_DF_00007.xml")};
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    try {
        s.Scrivi(Riga("11111111111", "BETA", "1"));
        FAIL() << "expected an error";
    } catch (const ErroreDatiFattura& e) {
        EXPECT_TRUE(e.Messaggio().startsWith("Impossibile creare il file ")) << e.what();
    }
    EXPECT_EQ(richieste.aumenti, 0);
    // After the failure nothing more is written and closing reports nothing again.
    EXPECT_EQ(s.Scrivi(Riga("11111111111", "BETA", "2")).esito, EsitoRiga::Annullata);
    EXPECT_NO_THROW(s.Chiudi());
    EXPECT_TRUE(s.FileScritti().empty());
}

// Answers like a registry whose progressive cannot be raised (an error), does not move, or
// would pass 99999 (the writer refuses it): the writing stops, the full file stays whole.
class ProgressivoDifettoso : public RichiesteProva {
public:
    ProgressivoDifettoso(QString cartella, int progressivo, int modo) : RichiesteProva(std::move(cartella), progressivo), modo_(modo) {}
    int AggiornaProgressivo() override
    {
        if (modo_ == 0)
            throw ErroreDatiFattura("progressivo non aggiornato");
        return modo_ == 1 ? progressivo : RichiesteProva::AggiornaProgressivo();
    }

private:
    int modo_;
};

TEST(FileDivisi, UnProgressivoDifettosoFermaLaScritturaMaTieneIlFileCompleto)
{
    for (int modo = 0; modo < 3; ++modo) {
        SCOPED_TRACE(modo);
        QTemporaryDir cartella;
        const int primo = modo == 2 ? 99999 : 7;
        ProgressivoDifettoso richieste(cartella.path(), primo, modo);
        richieste.risposteControllo = {false};
        DatiDichiarante d = DichiaranteSocieta();
        d.OPROG = primo;
        ScrittoreDatiFattura s(d, TipoComunicazione::DTE, richieste);
        Controparti(s, 999);
        EXPECT_THROW(s.Scrivi(Altro), ErroreDatiFattura);
        EXPECT_NO_THROW(s.Chiudi());
        EXPECT_EQ(FileXml(cartella.path()), QStringList{In(cartella, primo)});
        EXPECT_EQ(LeggiDatiFattura(In(cartella, primo)).blocchi.size(), 999u);
        EXPECT_TRUE(richieste.controllati.isEmpty());
        EXPECT_TRUE(ValidoPerSchema(In(cartella, primo)));
    }
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
