// Path splitting and the file and folder services, checked against the file system.

#include "app/core/Percorsi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;

TEST(DividiPercorso, CartellaEFileDelPercorso)
{
    EXPECT_EQ(DividiPercorso("/dati/file.xml", true), "/dati");
    EXPECT_EQ(DividiPercorso("/dati/file.xml", false), "file.xml");
    EXPECT_EQ(DividiPercorso("/home/u/a b/c.d.xml", true), "/home/u/a b");
    EXPECT_EQ(CartellaDi("/home/u/a b/c.d.xml"), "/home/u/a b");
    EXPECT_EQ(ParteDiPercorso("/home/u/a b/c.d.xml", false), "c.d.xml");
}

TEST(DividiPercorso, SenzaSeparatoreOSoloIniziale)
{
    EXPECT_EQ(DividiPercorso("file.xml", true), "");
    EXPECT_EQ(DividiPercorso("file.xml", false), "file.xml");
    EXPECT_EQ(DividiPercorso("/file.xml", true), "");
    EXPECT_EQ(DividiPercorso("/file.xml", false), "/file.xml");
    EXPECT_EQ(DividiPercorso("", true), "");
    EXPECT_EQ(DividiPercorso("", false), "");
}

TEST(DividiPercorso, SeparatoreFinale)
{
    EXPECT_EQ(DividiPercorso("/dati/uscita/", true), "/dati/uscita");
    EXPECT_EQ(DividiPercorso("/dati/uscita/", false), "");
}

TEST(EsisteFile, SoloFileVeri)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("presente.txt");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(EsisteFile(file));
    EXPECT_FALSE(EsisteFile(dir.filePath("assente.txt")));
    EXPECT_FALSE(EsisteFile(dir.path()));   // a folder is not a file
    EXPECT_FALSE(EsisteFile(""));
}

TEST(CreaCartella, CreaIGenitoriEIgnoraGliErrori)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString profonda = dir.filePath("a/b/c/");
    CreaCartella(profonda);
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());
    CreaCartella(profonda);   // already there: nothing happens
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());

    // Under a file a folder cannot be made: no exception, no folder.
    QFile f(dir.filePath("blocco"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    CreaCartella(dir.filePath("blocco/sotto"));
    EXPECT_FALSE(QFileInfo(dir.filePath("blocco/sotto")).exists());
}

TEST(CartellaDesktop, UnaCartellaEsistente)
{
    EXPECT_TRUE(QFileInfo(CartellaDesktop()).isDir());
}
