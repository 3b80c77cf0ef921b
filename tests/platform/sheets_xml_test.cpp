// The workbook XML parser on sources made to exhaust it: what it reads of them before it
// refuses is counted, so that a hostile part is known to be refused early, not after
// gigabytes held in memory.

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XmlPullParser.h"

#include <gtest/gtest.h>

#include <algorithm>
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

} // namespace

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

    SorgenteRipetuta lecita{"", "<text:span>", 11 * 100'000, std::string()};
    for (int i = 0; i < 100'000; ++i)
        lecita.fine += "</text:span>";
    XmlPullParser xml(std::ref(lecita));
    int massima = 0;
    for (auto e = xml.Prossimo(); e != XmlPullParser::Evento::FineDocumento; e = xml.Prossimo())
        massima = std::max(massima, xml.Profondita());
    EXPECT_EQ(massima, 100'000);
}

// The position of each tag in the source, for reading a part again from one element on.
TEST(XmlPullParser, TagsKnowWhereTheyStand)
{
    const std::string testo = "<?xml version=\"1.0\"?><r><!-- c --><x a=\"1\"/>te&amp;sto<y>" + std::string(100'000, 'z')
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
