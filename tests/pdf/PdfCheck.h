#pragma once
// What every written document must pass: qpdf --check without warnings, poppler and mupdf
// rendering without complaint, and a cross-reference table whose offsets point exactly at
// the objects they name.

#include "pdf/OracleTools.h"
#include "pdf/Tavlo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tavlo::test {

// Standard error of a command (standard output discarded).
inline std::string ErrorsOf(const std::string& command)
{
    return RunTool(command + " 2>&1 >/dev/null").output;
}

// mupdf's note about the missing output colour profile is expected; anything else is not.
inline std::string MupdfComplaints(const std::string& errors)
{
    std::string rest;
    std::size_t from = 0;
    while (from < errors.size()) {
        std::size_t end = errors.find('\n', from);
        if (end == std::string::npos)
            end = errors.size();
        const std::string line = errors.substr(from, end - from);
        if (!line.empty() && line.find("ICC") == std::string::npos && line.find("colour profile") == std::string::npos &&
            line.find("color profile") == std::string::npos)
            rest += line + "\n";
        from = end + 1;
    }
    return rest;
}

// Every in-use entry of the one-subsection table points at "n 0 obj" for its own n, and
// startxref points at "xref".
inline void ExpectCrossReferenceExact(const std::string& pdf)
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

// The checks of real readers on a finished file; password for encrypted ones.
inline void ExpectReadersAccept(const std::string& path, const std::string& password = "", bool owner = false)
{
    const std::string pdf = ReadFile(path);
    ASSERT_FALSE(pdf.empty()) << path;
    ExpectCrossReferenceExact(pdf);
    const std::string pw = password.empty() ? "" : " --password=" + Quote(password);
    const ToolResult check = RunTool("qpdf --check" + pw + " " + Quote(path) + " 2>&1");
    EXPECT_EQ(check.exitCode, 0) << check.output;
    EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;
    const std::string popplerPw = password.empty() ? "" : (owner ? " -opw " : " -upw ") + Quote(password);
    EXPECT_EQ(ErrorsOf("pdftoppm -r 20 -png" + popplerPw + " " + Quote(path) + " /tmp/tavlo-render-" +
                       std::to_string(::getpid())),
              "");
    RunTool("rm -f /tmp/tavlo-render-" + std::to_string(::getpid()) + "*");
    const std::string mupdfPw = password.empty() ? "" : " -p " + Quote(password);
    EXPECT_EQ(MupdfComplaints(ErrorsOf("mutool draw -q -r 20 -o /dev/null -F png" + mupdfPw + " " + Quote(path))),
              "");
}

// The decoded data of one object's stream, through qpdf.
inline std::string StreamOf(const std::string& path, int object, const std::string& password = "")
{
    const std::string pw = password.empty() ? "" : " --password=" + Quote(password);
    return RunTool("qpdf" + pw + " --show-object=" + std::to_string(object) + " --filtered-stream-data " +
                   Quote(path))
        .output;
}

inline std::string ObjectOf(const std::string& path, const std::string& object, const std::string& password = "")
{
    const std::string pw = password.empty() ? "" : " --password=" + Quote(password);
    return RunTool("qpdf" + pw + " --show-object=" + object + " " + Quote(path)).output;
}

inline bool ReadersAvailable()
{
    return ToolAvailable("qpdf") && ToolAvailable("pdftoppm") && ToolAvailable("mutool") && ToolAvailable("pdfinfo");
}

} // namespace tavlo::test
