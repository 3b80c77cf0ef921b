// The workbook XML parser on sources made to exhaust it: what it reads of them before it
// refuses is counted, so that a hostile part is known to be refused early, not after
// gigabytes held in memory.

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XmlPullParser.h"
#include "support/casi.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <tuple>
#include <cstring>
#include <functional>
#include <string>

using namespace quercino::sheets;

namespace {

// A source of `inizio`, then `corpo` repeated up to `ripetuto` bytes, then `fine`, made as it
// is read; `letti` counts the bytes handed out.
struct SorgenteRipetuta {
    std::string inizio;
    std::string corpo;
    std::uint64_t ripetuto = 0;
    std::string fine;
    std::uint64_t letti = 0;

    std::size_t operator()(char* d, std::size_t n)
    {
        std::size_t dati = 0;
        while (dati < n) {
            const std::uint64_t p = letti;
            char c;
            if (p < inizio.size())
                c = inizio[p];
            else if (p < inizio.size() + ripetuto)
                c = corpo[(p - inizio.size()) % corpo.size()];
            else if (p < inizio.size() + ripetuto + fine.size())
                c = fine[p - inizio.size() - ripetuto];
            else
                break;
            d[dati++] = c;
            ++letti;
        }
        return dati;
    }
};

// Reads every event; the message of the error, empty when there was none.
QString Leggi(SorgenteRipetuta& s)
{
    XmlPullParser xml(std::ref(s));
    try {
        while (xml.Prossimo() != XmlPullParser::Evento::FineDocumento) {}
    } catch (const SheetError& e) {
        return e.Messaggio;
    }
    return {};
}

// A text in one line, as eventi_xml.py writes it.
std::string Riga(std::string_view testo)
{
    std::string r;
    for (const char c : testo) {
        if (c == '\\') r += "\\\\";
        else if (c == '\n') r += "\\n";
        else if (c == '\r') r += "\\r";
        else if (c == '\t') r += "\\t";
        else r += c;
    }
    return r;
}

// The events of `documento` as eventi_xml.py prints them, the source handing out at most
// `blocco` bytes at a time (so that a CR LF or an entity may fall across two reads).
std::string Eventi(const std::string& documento, std::size_t blocco)
{
    std::size_t letti = 0;
    XmlPullParser xml(
        [&](char* d, std::size_t n) {
            const std::size_t k = std::min({n, blocco, documento.size() - letti});
            std::copy_n(documento.data() + letti, k, d);
            letti += k;
            return k;
        },
        {{"urn:a", 1}, {"urn:b", 2}, {"http://www.w3.org/XML/1998/namespace", 3}});
    std::string righe;
    std::string testo;
    bool conTesto = false;
    const auto scriviTesto = [&] {
        if (conTesto)
            righe += "T:" + Riga(testo) + "\n";
        testo.clear();
        conTesto = false;
    };
    try {
        for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo()) {
            if (e == XmlPullParser::Evento::Testo) {
                testo += xml.Testo();
                conTesto = true;
                continue;
            }
            scriviTesto();
            if (e == XmlPullParser::Evento::Inizio) {
                std::vector<std::tuple<int, std::string, std::string>> attributi;
                for (const AttributoXml& a : xml.Attributi()) {
                    std::string valore;
                    xml.ValoreAttributo(valore, a.Valore);
                    attributi.emplace_back(a.Spazio, std::string(a.Nome), valore);
                }
                std::sort(attributi.begin(), attributi.end());
                righe += "<" + std::to_string(xml.Spazio()) + ":" + std::string(xml.Nome());
                for (const auto& [spazio, nome, valore] : attributi)
                    righe += " " + std::to_string(spazio) + ":" + nome + "=" + Riga(valore);
                righe += "\n";
            } else {
                righe += ">" + std::to_string(xml.Spazio()) + ":" + std::string(xml.Nome()) + "\n";
            }
        }
    } catch (const SheetError&) {
        return "ERRORE\n";
    }
    return righe;
}

} // namespace

// Namespaces and line ends as another XML parser reads them (Python's, over expat): the same
// elements in the same namespaces, the same attributes, the same texts, the same refusals;
// read whole and a few bytes at a time.
TEST(XmlPullParser, ReadsAsAnotherParserDoes)
{
    const auto casi = quercino::test::Casi(__FILE__, "casi/xml.tsv");
    QTemporaryDir dir;
    QStringList argomenti = {QStringLiteral(QUERCINO_SOURCE_DIR "/tests/platform/eventi_xml.py")};
    for (std::size_t i = 0; i < casi.size(); ++i) {
        QFile file(dir.filePath(QString::number(i) + ".xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(casi[i][1].toUtf8());
        argomenti << file.fileName();
    }
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), argomenti);
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList letti = QString::fromUtf8(python.readAllStandardOutput()).split(QStringLiteral("----\n"));
    ASSERT_EQ(letti.size(), static_cast<qsizetype>(casi.size()) + 1);
    for (std::size_t i = 0; i < casi.size(); ++i) {
        SCOPED_TRACE(casi[i]);
        const std::string atteso = letti[static_cast<qsizetype>(i)].toStdString();
        for (const std::size_t blocco : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 20})
            EXPECT_EQ(Eventi(casi[i][1].toStdString(), blocco), atteso) << "blocchi di " << blocco;
    }
}

// An '&' with no ';' after it in a long text is no entity: the text is refused as soon as
// that is plain, not held whole in the buffer until its end.
TEST(XmlPullParser, AnUnfinishedEntityInALongTextIsRefusedEarly)
{
    SorgenteRipetuta s{"<a>x&", "a", std::uint64_t{64} << 20, "</a>"};
    EXPECT_TRUE(Leggi(s).contains(QStringLiteral("entità non chiusa")));
    EXPECT_LT(s.letti, std::uint64_t{1} << 20);

    // An entity cut by the end of the buffer is still read whole.
    SorgenteRipetuta lunga{"<a>", "b", (1 << 16) - 5, "&amp;&#x41;</a>"};
    XmlPullParser xml(std::ref(lunga));
    std::string testo;
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo())
        if (e == XmlPullParser::Evento::Testo)
            testo += xml.Testo();
    EXPECT_EQ(testo, std::string((1 << 16) - 5, 'b') + "&A");
}

// Elements nested without end cannot overflow the depth count: past a million levels (no
// workbook nests more than a few dozen) the part is refused.
TEST(XmlPullParser, NestingHasALimit)
{
    SorgenteRipetuta profonda{"", "<a>", 6 * ((std::uint64_t{1} << 20) + 1), ""};
    EXPECT_TRUE(Leggi(profonda).contains(QStringLiteral("annidati")));
    EXPECT_LT(profonda.letti, 3 * ((std::uint64_t{1} << 20) + 1) + (1 << 17));

    SorgenteRipetuta lecita{"<r xmlns:text=\"t\">", "<text:span>", 11 * 100'000, std::string()};
    for (int i = 0; i < 100'000; ++i)
        lecita.fine += "</text:span>";
    lecita.fine += "</r>";
    XmlPullParser xml(std::ref(lecita));
    int massima = 0;
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo())
        massima = std::max(massima, xml.Profondita());
    EXPECT_EQ(massima, 100'001);
}

// The position of each tag in the source, for reading a part again from one element on.
TEST(XmlPullParser, TagsKnowWhereTheyStand)
{
    const std::string testo = "<?xml version=\"1.0\"?><r xmlns:w=\"w\"><!-- c --><x a=\"1\"/>te&amp;sto<y>" + std::string(100'000, 'z')
                              + "</y><w:t b='2'>v</w:t></r>";
    SorgenteRipetuta s{testo, "", 0, ""};
    XmlPullParser xml(std::ref(s));
    std::vector<std::pair<std::string, std::uint64_t>> inizi;
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo())
        if (e == XmlPullParser::Evento::Inizio)
            inizi.emplace_back(std::string(xml.Nome()), xml.InizioTag());
    ASSERT_EQ(inizi.size(), 4u);
    for (const auto& [nome, dove] : inizi) {
        SCOPED_TRACE(nome);
        EXPECT_EQ(testo.substr(dove, 1 + nome.size() + (nome == "t" ? 2 : 0)), "<" + std::string(nome == "t" ? "w:" : "") + nome);
    }
}
