// The page tree of hand-written files, one row each: pages and nodes listed twice, pages and
// nodes written out in /Kids, a kid that is its own ancestor, nodes hidden behind a /Prev
// loop, kids naming objects the file lacks or that are no pages, a tree that doubles at each
// level. A file read gives the page count pdfinfo gives (each file's /Count, which pdfinfo
// reports, is what its tree holds) and its pages imported look as mupdf or poppler draw the
// source page alone; a file refused records 321 with the reason, in Windows-1252 as iconv
// reads it.

#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace tavlo::test {
namespace {

using Objects = std::map<int, std::string>;

struct TreeRow {
    std::string name;
    // The objects of the file as first written, then those of each update appended to it. The
    // catalog (1, its page tree at 2) and the contents 9 to 11 go with the first.
    std::vector<Objects> sections;
    // The newest update and the one before it name each other as /Prev: the first section is
    // out of the readers' reach.
    bool prevLoop = false;
    // Who draws the source's pages: poppler refuses pages written out in /Kids, mupdf a tree
    // with a loop.
    Reader source = Reader::Poppler;
    std::string refused{};  // a part of the reason (UTF-8); empty for a file read
};

// A page of the given box drawing content 9 (red), 10 (blue) or 11 (green).
std::string Page(int parent, int content, const std::string& box = "[0 0 200 150]")
{
    return "<< /Type /Page /Parent " + std::to_string(parent) + " 0 R /MediaBox " + box + " /Contents " +
           std::to_string(content) + " 0 R /Resources << >> >>";
}

std::string Stream(const std::string& data)
{
    return "<< /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

std::string WriteTreeFile(const TreeRow& row)
{
    std::string file = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<Objects> sections = row.sections;
    sections.front()[1] = "<< /Type /Catalog /Pages 2 0 R >>";
    sections.front()[9] = Stream("1 0 0 rg 20 20 60 40 re f");
    sections.front()[10] = Stream("0 0 1 rg 100 30 50 80 re f");
    sections.front()[11] = Stream("0 0.6 0 rg 10 90 120 30 re f 0 g 150 10 20 20 re f");
    int size = 0;
    for (const Objects& section : sections)
        size = std::max(size, section.rbegin()->first + 1);
    std::vector<std::size_t> xrefs;
    const std::string placeholder = "/Prev 0000000000";
    for (std::size_t i = 0; i < sections.size(); ++i) {
        std::map<int, std::size_t> offsets;
        for (const auto& [number, body] : sections[i]) {
            offsets[number] = file.size();
            file += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
        }
        xrefs.push_back(file.size());
        file += "xref\n";
        if (i == 0)
            file += "0 1\n0000000000 65535 f \n";
        for (const auto& [number, offset] : offsets) {
            char entry[40];
            std::snprintf(entry, sizeof entry, "%d 1\n%010zu 00000 n \n", number, offset);
            file += entry;
        }
        file += "trailer\n<< /Size " + std::to_string(size) + " /Root 1 0 R";
        if (i > 0)
            file += row.prevLoop && i + 2 == sections.size() ? placeholder
                                                              : " /Prev " + std::to_string(xrefs[i - 1]);
        file += " >>\nstartxref\n" + std::to_string(xrefs.back()) + "\n%%EOF\n";
    }
    if (row.prevLoop) {
        char prev[32];
        std::snprintf(prev, sizeof prev, "/Prev %010zu", xrefs.back());
        file.replace(file.find(placeholder), placeholder.size(), prev);
    }
    return file;
}

// A node whose kids are the next node twice, 32 levels down to a page: 2^32 pages in 35 objects.
Objects Doubling()
{
    Objects objects{{2, "<< /Type /Pages /Count 1 /Kids [20 0 R 20 0 R] >>"}};
    for (int level = 20; level < 52; ++level)
        objects[level] = "<< /Type /Pages /Kids [" + std::to_string(level + 1) + " 0 R " + std::to_string(level + 1) +
                         " 0 R] >>";
    objects[52] = Page(51, 9);
    return objects;
}

const std::vector<TreeRow>& Rows()
{
    static const std::vector<TreeRow> rows = {
        {"page_twice",
         {{{2, "<< /Type /Pages /Count 3 /Kids [3 0 R 4 0 R 3 0 R] >>"}, {3, Page(2, 9)}, {4, Page(2, 10)}}}},
        // Node 4 twice; below it a kid that is the root, its grandparent, passed over.
        {"node_twice",
         {{{2, "<< /Type /Pages /Count 4 /Kids [4 0 R 4 0 R] >>"},
           {4, "<< /Type /Pages /Parent 2 0 R /Count 2 /Kids [3 0 R 2 0 R 5 0 R] >>"},
           {3, Page(4, 9)},
           {5, Page(4, 11)}}}},
        {"pages_written_out",
         {{{2, "<< /Type /Pages /Count 3 /Kids [" + Page(2, 10, "[0 0 300 100]") + " 3 0 R " + Page(2, 11) + "] >>"},
           {3, Page(2, 9)}}},
         false,
         Reader::Mupdf},
        // A node written out in /Kids; pages written out or not inherit the root's box.
        {"node_written_out",
         {{{2, "<< /Type /Pages /Count 4 /MediaBox [0 0 250 250] /Kids [3 0 R << /Type /Pages /Count 2 /Kids [" +
                   Page(2, 11, "[0 0 180 120]") + " 4 0 R] >> << /Type /Page /Parent 2 0 R /Contents 9 0 R >>] >>"},
           {3, Page(2, 10)},
           {4, "<< /Type /Page /Parent 2 0 R /Contents 9 0 R /Resources << >> >>"}}},
         false,
         Reader::Mupdf},
        // The newest trailer's chain turns back on itself before the section that lists nodes
        // 4 and 5: 6 pages of 6, found by readers that rebuild the table, none by the chain.
        {"nodes_behind_prev_loop",
         {{{2, "<< /Type /Pages /Count 6 /Kids [4 0 R 5 0 R] >>"},
           {4, "<< /Type /Pages /Parent 2 0 R /Count 3 /Kids [3 0 R 3 0 R 3 0 R] >>"},
           {5, "<< /Type /Pages /Parent 2 0 R /Count 3 /Kids [3 0 R 3 0 R 3 0 R] >>"},
           {3, Page(4, 9)}},
          {{2, "<< /Type /Pages /Count 6 /Kids [4 0 R 5 0 R] >>"}, {3, Page(4, 10)}},
          {{1, "<< /Type /Catalog /Pages 2 0 R >>"}}},
         true,
         Reader::Poppler,
         "oggetto 4 0 R dell'albero delle pagine mancante o illeggibile"},
        {"kid_missing",
         {{{2, "<< /Type /Pages /Count 2 /Kids [3 0 R 4 0 R] >>"}, {3, Page(2, 9)}}},
         false,
         Reader::Poppler,
         "oggetto 4 0 R dell'albero delle pagine mancante o illeggibile"},
        {"kid_past_the_table",
         {{{2, "<< /Type /Pages /Count 2 /Kids [3 0 R 400 0 R] >>"}, {3, Page(2, 9)}}},
         false,
         Reader::Poppler,
         "oggetto 400 0 R dell'albero delle pagine mancante o illeggibile"},
        {"kid_of_other_generation",
         {{{2, "<< /Type /Pages /Count 2 /Kids [3 0 R 4 2 R] >>"}, {3, Page(2, 9)}, {4, Page(2, 10)}}},
         false,
         Reader::Poppler,
         "oggetto 4 2 R dell'albero delle pagine mancante o illeggibile"},
        {"tree_root_missing", {{{3, Page(2, 9)}}}, false, Reader::Poppler,
         "oggetto 2 0 R dell'albero delle pagine mancante o illeggibile"},
        {"kid_no_page",
         {{{2, "<< /Type /Pages /Count 2 /Kids [3 0 R 4 0 R] >>"}, {3, Page(2, 9)}, {4, "42"}}},
         false,
         Reader::Poppler,
         "oggetto 4 0 R dell'albero delle pagine che non è una pagina né un nodo"},
        {"kid_of_other_type",
         {{{2, "<< /Type /Pages /Count 2 /Kids [3 0 R 4 0 R] >>"}, {3, Page(2, 9)},
           {4, "<< /Type /Annot /Parent 2 0 R /MediaBox [0 0 10 10] >>"}}},
         false,
         Reader::Poppler,
         "oggetto 4 0 R dell'albero delle pagine che non è una pagina né un nodo"},
        {"kid_written_out_no_page",
         {{{2, "<< /Type /Pages /Count 2 /Kids [3 0 R null] >>"}, {3, Page(2, 9)}}},
         false,
         Reader::Poppler,
         "elemento di /Kids di 2 0 R che non è una pagina né un nodo"},
        {"kids_no_array",
         {{{2, "<< /Type /Pages /Count 1 /Kids 3 0 R >>"}, {3, Page(2, 9)}}},
         false,
         Reader::Poppler,
         "nodo 2 0 R dell'albero delle pagine con /Kids non valido"},
        {"doubling_tree", {Doubling()}, false, Reader::Poppler, "albero delle pagine troppo grande"},
    };
    return rows;
}

// Every page of the file, each on a page of its own size, imported at its natural size.
void ImportAll(Tavlo& pdf, const std::string& file, int pages)
{
    for (int page = 1; page <= pages; ++page) {
        pdf.BeginPage();
        pdf.ImportPage(file, page, 0, 0, 0, 0);
        pdf.EndPage();
    }
}

class PageTreeTest : public ::testing::TestWithParam<TreeRow> {};

TEST_P(PageTreeTest, CountedAsPdfinfoCountsOrRefusedWithTheReason)
{
    const TreeRow& row = GetParam();
    ScratchDir dir;
    const std::string file = dir.File(row.name + ".pdf");
    WriteFile(file, WriteTreeFile(row));
    Tavlo pdf;
    std::string title = "t", subject = "s", author = "a";
    std::int16_t encrypted = 9;
    const std::int32_t pages = pdf.GetInfo(file, title, subject, author, encrypted);
    if (!row.refused.empty()) {
        EXPECT_EQ(pages, 0);
        EXPECT_EQ(title + subject + author + std::to_string(encrypted), "tsa9");
        EXPECT_EQ(pdf.ErrNumber(), 321);
        EXPECT_EQ(pdf.ErrSource(), "Tavlo.GetInfo");
        WriteFile(dir.File("reason.txt"), pdf.ErrDescription());
        const ToolResult utf8 = RunTool("iconv -f WINDOWS-1252 -t UTF-8 " + Quote(dir.File("reason.txt")));
        EXPECT_EQ(utf8.output, "Formato di file non valido: " + row.refused + " - " + file);
        // ImportPage reads the file through GetInfo: the same error, nothing placed.
        Tavlo importer;
        const WrittenPdf written = WriteDocument(importer, "refused.pdf", [&](Tavlo& p) { ImportAll(p, file, 1); });
        EXPECT_EQ(importer.ErrDescription(), pdf.ErrDescription());
        EXPECT_EQ(written.bytes.find("/_PDF_"), std::string::npos);
        return;
    }
    EXPECT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();
    const auto info = PdfInfo(file);
    ASSERT_TRUE(info.count("Pages"));
    EXPECT_EQ(pages, std::stoi(info.at("Pages")));

    Tavlo importer;
    const WrittenPdf written = WriteDocument(importer, "imported.pdf", [&](Tavlo& p) {
        for (int page = 1; page <= pages; ++page) {
            // The page takes the size the source page shows, as the reader draws it.
            const Image source = RenderPage(file, page, row.source, {.colour = true});
            ASSERT_GT(source.width, 0) << "page " << page;
            p.SetPaperSize(255, static_cast<float>(source.width), static_cast<float>(source.height));
            p.BeginPage();
            p.ImportPage(file, page, 0, 0, 0, 0);
            p.EndPage();
        }
    });
    EXPECT_EQ(importer.ErrNumber(), 0) << importer.ErrDescription();
    for (int page = 1; page <= pages; ++page) {
        const Image source = RenderPage(file, page, row.source, {.colour = true});
        for (const Reader reader : {Reader::Poppler, Reader::Mupdf}) {
            SCOPED_TRACE(reader == Reader::Mupdf ? "mupdf" : "poppler");
            const Image imported = RenderPage(written.path, page, reader, {.colour = true});
            ASSERT_EQ(imported.width, source.width) << "page " << page;
            ASSERT_EQ(imported.height, source.height) << "page " << page;
            EXPECT_LE(ValuesApart(source, imported), source.pixels.size() / 200) << "page " << page;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PageTreeTest, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<TreeRow>& info) { return info.param.name; });

} // namespace
} // namespace tavlo::test
