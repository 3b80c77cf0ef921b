// The manual the build writes: a file every reader accepts, with the DejaVu fonts embedded,
// an outline entry for each chapter of its source and every word of the source readable.

#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

using namespace tavlo::test;

namespace {

const std::string kManuale = QUERCINO_PROGRAM_DIR "/Help/Quercino - Manuale Completo.pdf";

// Words between blanks; poppler gives no-break spaces back as blanks.
std::vector<std::string> Words(std::string text)
{
    for (std::size_t at; (at = text.find("\xC2\xA0")) != std::string::npos;)
        text.replace(at, 2, " ");
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        if (word != "|")
            words.push_back(word);  // table cells
    return words;
}

} // namespace

TEST(Manuale, LettoriFontSegnalibriETesto)
{
    ExpectReadersAccept(kManuale);
    const std::string fonts = FontsListed(kManuale);
    for (const char* font : {"DejaVuSans ", "DejaVuSansBold,Bold ", "DejaVuSansMono "})
        EXPECT_TRUE(std::regex_search(fonts, std::regex(std::string("\n") + font + " *TrueType +WinAnsi +yes")))
            << font << "\n" << fonts;

    // The source's chapters, its words (directives and comments aside), as UTF-8.
    std::istringstream source(ReadFile(QUERCINO_SOURCE_DIR "/tools/manuale/Manuale.txt"));
    std::vector<std::string> chapters, words;
    for (std::string line; std::getline(source, line);) {
        if (line.rfind("# ", 0) == 0)
            chapters.push_back(line.substr(2));
        if (line.empty() || line[0] == '%' || line[0] == '@')
            continue;
        for (const std::string& word : Words(line))
            if (word != "#" && word != "##" && word != "-")
                words.push_back(word);
    }
    // Under the document's own entry, one entry per chapter with its sections below it.
    std::vector<std::string> outline;
    for (const std::string& title : QpdfDocument(kManuale).OutlineTitles())
        if (title.rfind("  ", 0) == 0 && title[2] != ' ')
            outline.push_back(title.substr(2));
    EXPECT_EQ(outline, chapters);
    const std::vector<std::string> extracted = Words(PopplerText(kManuale));
    const std::set<std::string> read(extracted.begin(), extracted.end());
    for (const std::string& word : words)
        EXPECT_TRUE(read.count(word)) << word;
}
