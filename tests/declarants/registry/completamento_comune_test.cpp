// Town completion over the real town table of the seeded database: the type-ahead of
// "ROM" letter by letter with its province, the keys that do not act, the caret at the
// start, and the province of a town typed whole. The expected towns are read from the
// table with SQL, independently of the in-memory search.

#include "declarants/registry/CompletamentoComune.h"

#include "support/database_seminato.h"
#include "app/core/Comuni.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

class CompletamentoComuneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(seminato.Aperto()) << seminato.Errore().toStdString();
        comuni.carica(seminato.db());
    }

    // The first town, in name order, beginning with the prefix, by SQL.
    std::pair<QString, QString> PrimoDa(const QString& prefisso)
    {
        const auto righe = seminato.db().query(
            "SELECT COMUNE, PRO FROM T_COMUNI WHERE COMUNE LIKE ? ORDER BY COMUNE", {prefisso + "%"},
            {ColumnType::Text, ColumnType::Text});
        if (righe.empty())
            return {};
        return {righe.front().text(0), righe.front().text(1)};
    }

    // What the box shows after typing `lettera` over its selection.
    static QString Digita(const StatoComune& stato, QChar lettera)
    {
        return stato.testo.left(stato.inizioSelezione) + lettera
               + stato.testo.mid(stato.inizioSelezione + stato.lunghezzaSelezione);
    }

    test::DatabaseSeminato seminato;
    ElencoComuni comuni;
};

TEST_F(CompletamentoComuneTest, RomDigitatoLetteraPerLettera)
{
    auto stato = CompletaComune("R", 1, Qt::Key_R, comuni);
    ASSERT_TRUE(stato.has_value());
    const auto r = PrimoDa("R");
    EXPECT_EQ(stato->testo, r.first);
    EXPECT_EQ(stato->provincia, r.second);
    EXPECT_EQ(stato->inizioSelezione, 1);
    EXPECT_EQ(stato->lunghezzaSelezione, r.first.size() - 1);

    stato = CompletaComune(Digita(*stato, 'O'), 2, Qt::Key_O, comuni);
    ASSERT_TRUE(stato.has_value());
    const auto ro = PrimoDa("RO");
    EXPECT_EQ(stato->testo, ro.first);
    EXPECT_EQ(stato->provincia, ro.second);
    EXPECT_EQ(stato->inizioSelezione, 2);

    stato = CompletaComune(Digita(*stato, 'M'), 3, Qt::Key_M, comuni);
    ASSERT_TRUE(stato.has_value());
    EXPECT_EQ(stato->testo, "ROMA");
    EXPECT_EQ(stato->provincia, "RM");
    EXPECT_EQ(stato->inizioSelezione, 3);
    EXPECT_EQ(stato->lunghezzaSelezione, 1);
}

// Lower case and leading blanks are typed over; keys that are not letters, or a caret at
// the start, complete nothing; an unknown town leaves the text; the province of a town
// typed whole, apostrophe or not.
TEST_F(CompletamentoComuneTest, CasiParticolari)
{
    auto stato = CompletaComune("rom", 3, Qt::Key_M, comuni);
    ASSERT_TRUE(stato.has_value());
    EXPECT_EQ(stato->testo + "/" + stato->provincia.value_or(""), "ROMA/RM");
    stato = CompletaComune("  ROMAGNANO S", 13, Qt::Key_S, comuni);
    ASSERT_TRUE(stato.has_value());
    EXPECT_EQ(stato->testo + "/" + stato->provincia.value_or(""), "ROMAGNANO SESIA/NO");
    EXPECT_EQ(stato->inizioSelezione, 11);
    for (int tasto : {int(Qt::Key_0), int(Qt::Key_Space), int(Qt::Key_Backspace), int(Qt::Key_Left),
                      int(Qt::Key_Delete), int(Qt::Key_Apostrophe)})
        EXPECT_FALSE(CompletaComune("ROM", 3, tasto, comuni).has_value()) << tasto;
    EXPECT_FALSE(CompletaComune("ROM", 0, Qt::Key_R, comuni).has_value());
    EXPECT_FALSE(CompletaComune("", 0, Qt::Key_R, comuni).has_value());
    stato = CompletaComune("QXZ", 3, Qt::Key_Z, comuni);
    ASSERT_TRUE(stato.has_value());
    EXPECT_EQ(stato->testo, "QXZ");
    EXPECT_FALSE(stato->provincia.has_value());
    EXPECT_EQ(stato->lunghezzaSelezione, 0);
    const std::pair<const char*, const char*> province[] = {
        {" roma ", "RM"}, {"ROM", ""}, {"", ""}, {"ACI SANT'ANTONIO", "CT"}, {"ACI SANT ANTONIO", "CT"}};
    for (const auto& [comune, provincia] : province)
        EXPECT_EQ(ProvinciaDelComune(comune, comuni).value_or(""), provincia) << comune;
}

} // namespace
} // namespace quercino
