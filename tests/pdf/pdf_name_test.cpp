// Name tokens as qpdf reads them back (the names written: scripts/pdf_format.txt).

#include "support/pdf/tools.h"
#include "pdf/core/PdfName.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(PdfName, QpdfReadsTheNamesBack)
{
    ScratchDir dir;
    const std::string names[] = {"con spazio", "a(b)c<d>e[f]", "citt\xE0", "#23 100%"};
    std::string dict = "<<";
    for (const std::string& name : names)
        dict += " " + PdfName(name) + " 1";
    dict += " >>";
    const std::string file = "%PDF-1.3\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R /X " + dict +
                             " >>\nendobj\n2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>\nendobj\ntrailer\n<< /Root 1 0 R >>\n%%EOF\n";
    const std::string path = dir.File("names.pdf");
    WriteFile(path, file);
    // qpdf decodes each name and writes it again in its own (lower-case) form.
    const std::string shown = RunTool("qpdf --show-object=1 " + path + " 2>/dev/null").output;
    EXPECT_NE(shown.find("/con#20spazio 1"), std::string::npos) << shown;
    EXPECT_NE(shown.find("/a#28b#29c#3cd#3ee#5bf#5d 1"), std::string::npos) << shown;
    EXPECT_NE(shown.find("/citt#e0 1"), std::string::npos) << shown;
    // A "#" of the name itself comes back as one: qpdf's JSON shows names decoded.
    const std::string json = RunTool("qpdf --json --json-key=qpdf " + path + " 2>/dev/null").output;
    EXPECT_NE(json.find("\"/#23 100%\": 1"), std::string::npos) << json;
    EXPECT_NE(json.find("\"/a(b)c<d>e[f]\": 1"), std::string::npos) << json;
}
