#pragma once
// The benchmarks' document: each page 50 lines of Helvetica 10 pt text, a rectangle around
// them and a line above, as an invoice listing would have it.

#include "pdf/Tavlo.h"
#include "pdf/core/StreamEncoding.h"

#include <cstdio>
#include <string>

namespace tavlo::bench {

constexpr int kLines = 50;
constexpr float kTop = 60, kLeading = 14, kLeft = 56;

inline std::string LineText(int page, int line)
{
    char text[120];
    const int n = page * kLines + line;
    std::snprintf(text, sizeof text, "Fattura %d/2026 del %02d/%02d/2026 - Rossi S.r.l., Milano - imponibile %d,%02d EUR",
                  n + 1, 1 + n % 28, 1 + n % 12, 100 + (n * 7919) % 90000, n % 100);
    return text;
}

// pages pages of linesPerPage lines, a rectangle and a line for every 50 of them: with many
// more lines than a page shows, one page has a content stream as large as a long report's.
inline void WriteSampleDocument(int pages, const std::string& path, std::uint32_t compression, int linesPerPage = kLines)
{
    Tavlo pdf;
    pdf.SetCompression(compression, 2);
    pdf.BeginDoc(path);
    for (int p = 0; p < pages; ++p) {
        pdf.BeginPage();
        pdf.SetFont("Helvetica", 10, 0, 0);
        for (int i = 0; i < linesPerPage; ++i) {
            pdf.DrawText(kLeft, kTop + kLeading * float(i), LineText(p, i));
            if (i % kLines == kLines - 1) {
                const float top = kTop + kLeading * float(i + 1 - kLines);
                pdf.DrawRect(kLeft - 6, top - 16, 480, kLeading * kLines + 10, 0);
                pdf.DrawLine(kLeft - 6, top - 20, kLeft + 474, top - 20, 0);
            }
        }
        pdf.EndPage();
    }
    pdf.EndDoc();
}

} // namespace tavlo::bench
