#include "support/pdf/written_document.h"
#include "support/pdf/tools.h"

#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

namespace tavlo::test {

WrittenPdf WriteDocument(const std::string& name, const std::function<void(Tavlo&)>& draw, const WriteOptions& options)
{
    Tavlo pdf;
    return WriteDocument(pdf, name, draw, options);
}

WrittenPdf WriteDocument(Tavlo& pdf, const std::string& name, const std::function<void(Tavlo&)>& draw,
                      const WriteOptions& options)
{
    const std::string path = TempPath(name);
    if (options.before)
        options.before(pdf);
    pdf.BeginDoc(path);
    draw(pdf);
    pdf.EndDoc();
    if (options.check)
        ExpectReadersAccept(path, options.password, options.owner);
    return {path, ReadFile(path)};
}

std::string MupdfComplaints(const std::string& errors)
{
    std::string rest;
    std::istringstream lines(errors);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line.find("ICC") == std::string::npos &&
            line.find("colour profile") == std::string::npos && line.find("color profile") == std::string::npos)
            rest += line + "\n";
    return rest;
}

void ExpectCrossReferenceExact(const std::string& pdf)
{
    const std::size_t tail = pdf.rfind("startxref\n");
    ASSERT_NE(tail, std::string::npos);
    const std::size_t xref = std::stoul(pdf.substr(tail + 10));
    ASSERT_LT(xref, pdf.size());
    ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    std::size_t at = xref + 5;
    ASSERT_EQ(pdf.compare(at, 2, "0 "), 0);
    const std::size_t lineEnd = pdf.find('\n', at);
    const int count = std::stoi(pdf.substr(at + 2, lineEnd - at - 2));
    at = lineEnd + 1;
    ASSERT_EQ(pdf.substr(at, 20), std::string("0000000000 65535 f\r\n"));
    for (int n = 1; n < count; ++n) {
        const std::string entry = pdf.substr(at + static_cast<std::size_t>(n) * 20, 20);
        ASSERT_EQ(entry.substr(10), " 00000 n\r\n") << "entry " << n;
        const std::size_t offset = std::stoul(entry.substr(0, 10));
        const std::string head = std::to_string(n) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << n << " at " << offset;
    }
    EXPECT_EQ(pdf.compare(at + static_cast<std::size_t>(count) * 20, 8, "trailer\n"), 0);
}

void ExpectReadersAccept(const std::string& path, const std::string& password, bool owner)
{
    const std::string pdf = ReadFile(path);
    ASSERT_FALSE(pdf.empty()) << path;
    ExpectCrossReferenceExact(pdf);
    const ToolResult check = RunTool("qpdf --check" + QpdfPassword(password) + " " + Quote(path) + " 2>&1");
    EXPECT_EQ(check.exitCode, 0) << check.output;
    EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
    const std::string popplerPw = password.empty() ? "" : (owner ? " -opw " : " -upw ") + Quote(password);
    ScratchDir dir;
    EXPECT_EQ(ErrorsOf("pdftoppm -r 20 -png" + popplerPw + " " + Quote(path) + " " + Quote(dir.File("page"))), "");
    const std::string mupdfPw = password.empty() ? "" : " -p " + Quote(password);
    EXPECT_EQ(MupdfComplaints(ErrorsOf("mutool draw -q -r 20 -o /dev/null -F png" + mupdfPw + " " + Quote(path))),
              "");
}

std::map<std::string, std::string> PdfInfo(const std::string& path, const std::string& password)
{
    const std::string pw = password.empty() ? "" : " -upw " + Quote(password);
    std::istringstream lines(RunTool("pdfinfo -f 1 -l 99" + pw + " " + Quote(path)).output);
    std::map<std::string, std::string> fields;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::size_t from = line.find_first_not_of(' ', colon + 1);
        fields[line.substr(0, colon)] = from == std::string::npos ? "" : line.substr(from);
    }
    return fields;
}

std::string InfoField(const std::string& path, const std::string& key, const std::string& password)
{
    const auto fields = PdfInfo(path, password);
    const auto found = fields.find(key);
    return found == fields.end() ? "<none>" : found->second;
}

std::string FontsListed(const std::string& path, const std::string& password)
{
    const std::string pw = password.empty() ? "" : " -upw " + Quote(password);
    return RunTool("pdffonts" + pw + " " + Quote(path)).output;
}

} // namespace tavlo::test
