// Values and comments in the files: real UTF-8, markup escaped, forbidden characters
// replaced, comments that no value can break; and the number, date and code forms. The XML
// parser of Qt and xmllint are the judges of what is well-formed and valid.

#include "supporto.h"

#include "declarants/datifattura/Formati.h"
#include "declarants/datifattura/ScrittoreDatiFattura.h"
#include "declarants/datifattura/TestoXml.h"

#include <QTemporaryDir>

#include <limits>

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

// The text an XML parser reads back from `<v>value</v>` and from `<!--comment-->`.
struct Riletto {
    bool benFormato = false;
    QString valore;
    QString commento;
};

Riletto Rileggi(const QString& testo)
{
    std::string documento("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><!--");
    AggiungiCommento(documento, testo);
    documento.append("--><v>");
    AggiungiValore(documento, testo);
    documento.append("</v></r>");
    QXmlStreamReader xml(QByteArray::fromStdString(documento));
    Riletto r;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isComment())
            r.commento = xml.text().toString();
        else if (xml.isCharacters() && xml.name().isEmpty())
            r.valore += xml.text().toString();
    }
    r.benFormato = !xml.hasError();
    return r;
}

TEST(TestoXml, ValoriConMarcatureEAccentiTornanoUguali)
{
    const QString casi[] = {
        QStringLiteral("A&B <SRL> \"x\" 'y'"),
        QStringLiteral("CAFF\u00c8 \u00e0\u00f2\u00f9 \u00d1 \u00df"),
        QStringLiteral("]]> &amp; &#65;"),
        QStringLiteral("\u20ac 100"),
        QString::fromUcs4(U"\U0001F600 emoji"),
    };
    for (const QString& caso : casi) {
        const Riletto r = Rileggi(caso);
        EXPECT_TRUE(r.benFormato) << caso.toStdString();
        EXPECT_EQ(r.valore, caso);
    }
    EXPECT_EQ(ValoreXml(QStringLiteral("A&B<1>")), QByteArray("A&amp;B&lt;1&gt;"));
    EXPECT_EQ(ValoreXml(QStringLiteral("\u00c8")), QByteArray("\xc3\x88"));
}

TEST(TestoXml, CaratteriVietatiDiventanoSpazi)
{
    QString testo = QStringLiteral("A\tB\rC\nD");
    testo.append(QChar(0x01)).append(QChar(0xFFFE)).append(QChar(0xD800)).append(QStringLiteral("E"));
    const Riletto r = Rileggi(testo);
    EXPECT_TRUE(r.benFormato);
    EXPECT_EQ(r.valore, QStringLiteral("A B C D   E"));
    EXPECT_EQ(r.commento, QStringLiteral("A B C D   E"));
}

TEST(TestoXml, NessunValoreRompeUnCommento)
{
    const QString casi[] = {QStringLiteral("12--3"), QStringLiteral("---"), QStringLiteral("A-"),
                            QStringLiteral("-->"), QStringLiteral("<!-- x -->"), QStringLiteral("-")};
    for (const QString& caso : casi) {
        const Riletto r = Rileggi(caso);
        EXPECT_TRUE(r.benFormato) << caso.toStdString();
        EXPECT_FALSE(r.commento.contains(QStringLiteral("--"))) << caso.toStdString();
        QString senzaSpazi = r.commento;
        senzaSpazi.remove(QLatin1Char(' '));
        QString atteso = caso;
        atteso.remove(QLatin1Char(' '));
        EXPECT_EQ(senzaSpazi, atteso) << "only blanks are added";
    }
}

TEST(TestoXml, UnFileConAccentiEMarcatureEValido)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    DatiDichiarante d = DichiaranteSocieta();
    d.ORAG = QStringLiteral("FRAT\u00c9LLI & <FIGLI> S.N.C.");
    d.OSINDI = QStringLiteral("VIA D'ANNUNZIO \"VECCHIA\"");
    ScrittoreDatiFattura s(d, TipoComunicazione::DTE, richieste);
    RigaFattura r = Riga(QStringLiteral("11111111111"), QStringLiteral("M\u00dcLLER & S\u00d6HNE <GMBH> --"),
                         QStringLiteral("A&B<1>--"));
    r.Sede = {QStringLiteral("STRA\u00dfE 1 -"), QStringLiteral("1&2"), QStringLiteral("20100"), QStringLiteral("MILANO"),
              QStringLiteral("MI"), QStringLiteral("IT")};
    ASSERT_EQ(s.Scrivi(r).esito, EsitoRiga::Scritta);
    RigaFattura trattino = Riga(QStringLiteral("22222222222"), QStringLiteral("FINE-"), QStringLiteral("-"));
    ASSERT_EQ(s.Scrivi(trattino).esito, EsitoRiga::Scritta);
    s.Chiudi();
    ASSERT_EQ(s.FileScritti().size(), 1u);
    const QString percorso = s.FileScritti()[0].percorso;

    const FileLetto l = LeggiDatiFattura(percorso);
    ASSERT_TRUE(l.benFormato);
    ASSERT_EQ(l.blocchi.size(), 2u);
    EXPECT_EQ(l.blocchi[0].nome, r.Denominazione);
    EXPECT_EQ(l.blocchi[0].fatture[0].numero, r.Numero);
    EXPECT_EQ(l.blocchi[1].nome, QStringLiteral("FINE-"));
    const QByteArray testo = LeggiFile(percorso);
    EXPECT_TRUE(testo.contains("<Denominazione>FRAT\xc3\x89LLI &amp; &lt;FIGLI&gt; S.N.C.</Denominazione>"));
    EXPECT_TRUE(testo.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"));
    EXPECT_EQ(testo.count("\r\n"), testo.count('\n')) << "every line ends in CR LF";
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST(Formati, Importi)
{
    EXPECT_EQ(FormattaCentesimi(0), std::string("0.00"));
    EXPECT_EQ(FormattaCentesimi(5), std::string("0.05"));
    EXPECT_EQ(FormattaCentesimi(-5), std::string("-0.05"));
    EXPECT_EQ(FormattaCentesimi(10), std::string("0.10"));
    EXPECT_EQ(FormattaCentesimi(123456), std::string("1234.56"));
    EXPECT_EQ(FormattaCentesimi(-100), std::string("-1.00"));
    EXPECT_EQ(FormattaCentesimi(9'999'999'999'999), std::string("99999999999.99"));
    EXPECT_EQ(FormattaCentesimi(std::numeric_limits<std::int64_t>::min()), std::string("-92233720368547758.08"));
}

TEST(Formati, DateCodiciEProgressivi)
{
    EXPECT_EQ(FormattaDataXml(QDate(2017, 12, 31)), std::string("2017-12-31"));
    EXPECT_EQ(FormattaDataXml(QDate(2012, 1, 5)), std::string("2012-01-05"));
    EXPECT_EQ(FormattaDataXml(QDate()), std::string());
    EXPECT_EQ(FormattaProgressivo(7), QStringLiteral("00007"));
    EXPECT_EQ(FormattaProgressivo(99999), QStringLiteral("99999"));
    EXPECT_EQ(CapPerNazione(QStringLiteral("123"), QStringLiteral("IT")), QStringLiteral("00123"));
    EXPECT_EQ(CapPerNazione(QStringLiteral("1010"), QStringLiteral("AT")), QStringLiteral("1010"));
    EXPECT_EQ(CapPerNazione(QStringLiteral("AB1"), QStringLiteral("IT")), QStringLiteral("AB1"));
    EXPECT_EQ(NormalizzaCodiceFiscale(QStringLiteral("123")), QStringLiteral("00000000123"));
    EXPECT_EQ(NormalizzaCodiceFiscale(QStringLiteral("1")), QStringLiteral("1"));
    EXPECT_EQ(NormalizzaCodiceFiscale(QStringLiteral("ABC123")), QStringLiteral("ABC123"));
    EXPECT_EQ(NormalizzaCodiceFiscale(QStringLiteral("RSSMRA80A01H501U")), QStringLiteral("RSSMRA80A01H501U"));
}

} // namespace
