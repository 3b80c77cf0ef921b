// A statement of the program waits for the lock another connection holds on the archive:
// past the first second the wait window shows why and for how long, its wheel keeps turning
// (the program's events run), and the window goes once the lock is released and the
// statement has run.

#include "app/shell/AttesaArchivio.h"
#include "app/shell/FWaitF.h"
#include "support/db_backends.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quercino {
namespace {

class AttesaArchivio : public test::DbBackendTest {};

FWaitF* FinestraAttesa()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<FWaitF*>(w); f && f->isVisible())
            return f;
    return nullptr;
}

TEST_P(AttesaArchivio, LaFinestraDiceIlPercheEGira)
{
    CollegaAttesaArchivio();
    db().insert(schema::CTAB(), {"PAESE", "IT", "ITALIA"});
    auto altra = backend().apriAltraConnessione();
    altra->begin();
    altra->exec("UPDATE CTAB SET DES = 'ALTRA' WHERE COD = 'IT'");

    QStringList testi;
    std::vector<int> fotogrammi;
    QTimer guarda;
    guarda.setInterval(100);
    QObject::connect(&guarda, &QTimer::timeout, [&] {
        FWaitF* attesa = FinestraAttesa();
        if (!attesa)
            return;
        testi << attesa->fwSto()->text();
        fotogrammi.push_back(attesa->Fotogramma());
        if (testi.size() == 8)
            altra->commit();
    });
    guarda.start();
    db().exec("UPDATE CTAB SET DES = ? WHERE COD = 'IT'", {"NOSTRA"});
    guarda.stop();
    Database::setLockWaitObserver({});

    ASSERT_EQ(testi.size(), 8);
    EXPECT_TRUE(testi.front().startsWith("Un'altra postazione sta usando l'archivio\n(ad esempio per un ripristino dei "
                                         "dati in corso).\nIn attesa da "))
        << testi.front().toStdString();
    EXPECT_EQ(TestoAttesaArchivio(std::chrono::milliseconds(1999)), "Un'altra postazione sta usando l'archivio\n(ad esempio "
                                                                   "per un ripristino dei dati in corso).\nIn attesa da 1 secondo...");
    EXPECT_NE(fotogrammi.front(), fotogrammi.back()) << "the wheel turned";
    EXPECT_EQ(FinestraAttesa(), nullptr);
    EXPECT_EQ(db().scalar("SELECT DES FROM CTAB WHERE COD = 'IT'", {}, ColumnType::Text)->toString(), "NOSTRA");
}

QUERCINO_DB_SOLO_FILE(AttesaArchivio);

} // namespace
} // namespace quercino
