// What the document's scripts (scripts/document.txt) cannot say: the name made for a
// document without one, and the file handed to the desktop.

#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Document, GeneratedNameInCurrentFolder)
{
    Tavlo pdf;
    const std::string name = pdf.BeginDoc("");
    pdf.EndDoc();
    ExpectReadersAccept(name);
    EXPECT_EQ(name.front(), '~');
    EXPECT_EQ(name.substr(name.size() - 4), ".pdf");
    EXPECT_EQ(name.find('/'), std::string::npos);
    std::remove(name.c_str());
}

TEST(Document, OpenDocHandsTheFileToTheDesktop)
{
    // A stand-in for the desktop's handler records the argument it receives.
    ScratchDir dir;
    const std::string bin = dir.File("bin");
    std::filesystem::create_directory(bin);
    const std::string record = dir.File("opened.txt");
    WriteFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > " + Quote(record) + "\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin + ":" + oldPath).c_str(), 1);

    Tavlo pdf;
    const WrittenPdf doc = WriteDocument(pdf, "nome con spazi 'e' \"virgolette\".pdf", [](Tavlo&) {});
    pdf.OpenDoc();
    for (int i = 0; i < 200 && ReadFile(record).empty(); ++i)
        ::usleep(10000);
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(ReadFile(record), doc.path);
}
