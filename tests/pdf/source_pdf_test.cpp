// GetInfo and ImportPage on files of the common producers, made on this machine once for the
// suite: this writer, Ghostscript, cairo, LibreOffice, qpdf's linearized and QDF forms, and
// the hand-made files of source_files.py (an incremental update, loops, boxes and rotations,
// generations, hostile files). pdfinfo says what each file holds; poppler and mupdf draw each
// imported page as they draw the source page alone; qpdf checks every output, encrypted too.

#include "pdf/core/Windows1252.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavlo::test {
namespace {

struct Refused {
    std::string file, reason;
};

std::vector<std::string> readable;
std::vector<Refused> refused;

void Run(const std::string& command)
{
    EXPECT_EQ(RunTool(command + " >/dev/null 2>&1").exitCode, 0) << command;
}

void MakeCorpus()
{
    const std::string dir = TempPath("corpus");
    std::filesystem::create_directories(dir);
    auto at = [&](const std::string& name) { return dir + "/" + name; };
    const std::string corpus = QUERCINO_SOURCE_DIR "/tests/pdf/corpus/";  // the other producers' sources
    auto tavlo = [](Tavlo& pdf) {
        pdf.SetDocProperty("Fattura \x80 1 (copia) \xE8", "Prova", "Rossi & C.", "", "", "");
        pdf.SetFont("Arial", 14, 0, 0);
        pdf.BeginPage();
        pdf.BeginLayer("Livello (\xE8)", 1, 1);
        pdf.SetColorFill("Red");
        pdf.DrawRect(50, 50, 200, 100, 5);
        pdf.EndLayer();
        pdf.DrawText(50, 200, "Citt\xE0 di prova");
        pdf.BeginPage();
        pdf.DrawCircle(200, 300, 80, 5);
    };
    WriteDocument("corpus/tavlo.pdf", tavlo);
    WriteDocument("corpus/tavlo_encrypted.pdf", tavlo, {[](Tavlo& pdf) { pdf.SetProtection(0, "capo", ""); }});
    Run("gs -q -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sOutputFile=" + Quote(at("gs.pdf")) + " " + Quote(corpus + "in.ps"));
    Run("/usr/bin/python3 " + Quote(corpus + "make_cairo.py") + " " + Quote(at("cairo.pdf")));
    Run("soffice -env:UserInstallation=file://" + dir + "/profile --headless --convert-to pdf --outdir " +
        Quote(dir) + " " + Quote(corpus + "calc.fods"));
    Run("qpdf --linearize " + Quote(at("gs.pdf")) + " " + Quote(at("gs_linearized.pdf")));
    Run("qpdf --qdf " + Quote(at("cairo.pdf")) + " " + Quote(at("cairo_qdf.pdf")));
    Run("qpdf --object-streams=generate " + Quote(at("calc.pdf")) + " " + Quote(at("object_streams.pdf")));
    Run("qpdf --encrypt u o 256 -- " + Quote(at("calc.pdf")) + " " + Quote(at("qpdf_encrypted.pdf")));
    Run("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tests/pdf/source_files.py " + Quote(dir));

    refused = {
        {at("tavlo_encrypted.pdf"), "cifrato"},
        {at("qpdf_encrypted.pdf"), "cifrato"},
        {at("refuse_encrypt_in_older_trailer.pdf"), "cifrato"},
        {at("object_streams.pdf"), "riferimenti incrociati in un flusso"},
        {at("refuse_huge_subsection.pdf"), "più lunga del file"},
        {at("refuse_deep_nesting.pdf"), "annidati troppo"},
        {at("refuse_no_startxref.pdf"), "startxref"},
        {at("refuse_page_tree_circle.pdf"), "albero delle pagine chiuso in un cerchio"},
    };
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string path = entry.path().string();
        const bool isRefused = std::any_of(refused.begin(), refused.end(), [&](const Refused& r) { return r.file == path; });
        if (entry.path().extension() == ".pdf" && !isRefused)
            readable.push_back(path);
    }
    std::sort(readable.begin(), readable.end());
}

class SourcePdfTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { MakeCorpus(); }
};

TEST_F(SourcePdfTest, GetInfoReportsWhatPdfinfoReads)
{
    ASSERT_EQ(readable.size(), 15u);
    for (const std::string& file : readable) {
        SCOPED_TRACE(file);
        Tavlo pdf;
        std::string title = "x", subject = "x", author = "x";
        std::int16_t encrypted = 1;
        const std::int32_t pages = pdf.GetInfo(file, title, subject, author, encrypted);
        const auto info = PdfInfo(file);
        auto field = [&](const char* key) { return info.count(key) ? info.at(key) : std::string(); };
        EXPECT_EQ(pages, std::stoi(field("Pages")));
        EXPECT_EQ(Utf8FromWindows1252(title), field("Title"));
        EXPECT_EQ(Utf8FromWindows1252(subject), field("Subject"));
        EXPECT_EQ(Utf8FromWindows1252(author), field("Author"));
        EXPECT_EQ(encrypted, 0);
        EXPECT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();
    }
    for (const Refused& file : refused) {
        SCOPED_TRACE(file.file);
        Tavlo pdf;
        std::string title = "x", subject = "x", author = "x";
        std::int16_t encrypted = 1;
        EXPECT_EQ(pdf.GetInfo(file.file, title, subject, author, encrypted), 0);
        EXPECT_EQ(title + subject + author + std::to_string(encrypted), "xxx1");
        EXPECT_EQ(pdf.ErrNumber(), 321);
        EXPECT_EQ(pdf.ErrSource(), "Tavlo.GetInfo");
        EXPECT_NE(Utf8FromWindows1252(pdf.ErrDescription()).find(file.reason), std::string::npos)
            << pdf.ErrDescription();
        // ImportPage reads the file through GetInfo: the same error, nothing placed.
        Tavlo importer;
        importer.ImportPage(file.file, 1, 0, 0, 0, 0);
        EXPECT_EQ(importer.ErrDescription(), pdf.ErrDescription());
    }
    Tavlo pdf;
    std::string title, subject, author;
    std::int16_t encrypted = 0;
    EXPECT_EQ(pdf.GetInfo(TempPath("corpus/assente.pdf"), title, subject, author, encrypted), 0);
    EXPECT_EQ(pdf.ErrNumber(), 53);
}

// Each page of a source on a page of its own size, imported twice (the form written once)
// after the page changed every setting a source page may take for granted (the leading by an
// invisible line), then the same document encrypted.
void ImportEveryPage(Tavlo& pdf, const std::string& file, const std::map<std::string, std::string>& info)
{
    for (int page = 1; page <= std::stoi(info.at("Pages")); ++page) {
        const std::string key = "Page " + std::string(page < 10 ? "   " : "  ") + std::to_string(page);
        float width = 0, height = 0;
        std::sscanf(info.at(key + " size").c_str(), "%f x %f", &width, &height);
        if (std::stoi(info.at(key + " rot")) % 180 != 0)
            std::swap(width, height);
        if (width >= 3 && height >= 3)  // not the empty box
            pdf.SetPaperSize(255, width, height);
        pdf.BeginPage();
        pdf.SetColorFill("Red");
        pdf.SetColorLine("Blue");
        pdf.SetLineWidth(6);
        pdf.SetLineStyle(32 | 2, 1);
        pdf.SetDash("DASH", 0);
        pdf.SetCharSpacing(5);
        pdf.SetWordSpacing(9);
        pdf.SetTextHorizontalScaling(50);
        pdf.SetTextMode(3);
        pdf.SetAlpha(40);
        pdf.SetFont("Arial", 30, 0, 0);
        pdf.DrawText(0, 0, "x");
        pdf.ImportPage(file, page, 0, 0, 0, 0);
        pdf.ImportPage(file, page, 0, 0, width, 0);
        pdf.EndPage();
    }
}

TEST_F(SourcePdfTest, ImportedPagesLookAsTheSourcePagesAlone)
{
    for (const std::string& file : readable) {
        SCOPED_TRACE(file);
        const auto info = PdfInfo(file);
        const bool emptyBox = file.find("empty_media_box") != std::string::npos;
        Tavlo plain;
        const WrittenPdf written = WriteDocument(plain, "imported.pdf", [&](Tavlo& pdf) { ImportEveryPage(pdf, file, info); });
        EXPECT_EQ(plain.ErrNumber(), emptyBox ? 321 : 0) << plain.ErrDescription();
        EXPECT_EQ(written.bytes.find("/_PDF_1.1 Do") != std::string::npos, !emptyBox);
        if (!emptyBox) {
            EXPECT_GE(std::stod(InfoField(written.path, "PDF version")), std::stod(info.at("PDF version")));
        }
        std::size_t forms = 0;
        for (std::size_t at = written.bytes.find("/Subtype /Form /FormType 1\n"); at != std::string::npos;
             at = written.bytes.find("/Subtype /Form /FormType 1\n", at + 1))
            ++forms;
        EXPECT_EQ(forms, emptyBox ? 0u : static_cast<std::size_t>(std::stoi(info.at("Pages"))));
        for (int page = 1; page <= std::stoi(info.at("Pages")) && !emptyBox; ++page) {
            for (const Reader reader : {Reader::Poppler, Reader::Mupdf}) {
                // mupdf refuses to draw a page tree with loops; it draws the import.
                if (reader == Reader::Mupdf && file.find("page_tree_loops") != std::string::npos)
                    continue;
                const Image source = RenderPage(file, page, reader, {.colour = true, .cropBox = true});
                const Image imported = RenderPage(written.path, page, reader, {.colour = true});
                ASSERT_EQ(imported.width, source.width) << "page " << page;
                ASSERT_EQ(imported.height, source.height) << "page " << page;
                EXPECT_LE(ValuesApart(source, imported), source.pixels.size() / 200) << "page " << page << (reader == Reader::Mupdf ? " mupdf" : " poppler");
            }
        }
        // Encrypted, the copied strings and streams read back as the plain ones.
        const WrittenPdf encrypted = WriteDocument("imported_encrypted.pdf", [&](Tavlo& pdf) { ImportEveryPage(pdf, file, info); },
                                                   {[](Tavlo& pdf) { pdf.SetProtection(0, "capo", ""); }});
        // Objects after the encryption dictionary are numbered one further on.
        const QpdfDocument a(written.path), b(encrypted.path);
        int dictionary = 0;
        for (const auto& [name, value] : b.Root()["qpdf"][1].members)
            if (Show(value["value"]["/Filter"]) == "/Standard")
                dictionary = std::stoi(name.substr(4));
        ASSERT_GT(dictionary, 0);
        for (const auto& [name, value] : a.Root()["qpdf"][1].members)
            if (name.rfind("obj:", 0) == 0 && std::stoi(name.substr(4)) < dictionary) {
                EXPECT_EQ(Show(b.Root()["qpdf"][1][name]), Show(value)) << name;
            }
    }
}

} // namespace
} // namespace tavlo::test
