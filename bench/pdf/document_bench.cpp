// A whole document written by Tavlo against the same document written by libharu, at 1,000
// and 10,000 pages: each page 50 lines of Helvetica 10 pt text, a rectangle and a line,
// Flate on (Tavlo level 2, libharu's only level). Each writing is a child process of its
// own; the two run in turn (Tavlo, libharu, Tavlo, ...) and the ratio is taken pair by pair,
// so a machine that slows down or speeds up meanwhile weighs on both alike. Both write to the
// same folder (a tmpfs when there is one). Both outputs must pass `qpdf --check` and give the
// same text to `pdftotext`.
//
//   tavlo_document_bench [runs]          (5 pairs by default)
//   tavlo_document_bench tavlo|haru PAGES FILE

#include "PairedRuns.h"
#include "SampleDocument.h"

#include <hpdf.h>

#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

using namespace tavlo::bench;

namespace {

void WriteTavlo(int pages, const std::string& path)
{
    WriteSampleDocument(pages, path, tavlo::Filter::Flate);
}

void WriteHaru(int pages, const std::string& path)
{
    HPDF_Doc pdf = HPDF_New(nullptr, nullptr);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
    HPDF_Font font = HPDF_GetFont(pdf, "Helvetica", "WinAnsiEncoding");
    for (int p = 0; p < pages; ++p) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
        const float height = HPDF_Page_GetHeight(page);
        HPDF_Page_BeginText(page);
        HPDF_Page_SetFontAndSize(page, font, 10);
        for (int i = 0; i < kLines; ++i)
            HPDF_Page_TextOut(page, kLeft, height - (kTop + kLeading * float(i)), LineText(p, i).c_str());
        HPDF_Page_EndText(page);
        HPDF_Page_Rectangle(page, kLeft - 6, height - (kTop - 16) - (kLeading * kLines + 10), 480,
                            kLeading * kLines + 10);
        HPDF_Page_Stroke(page);
        HPDF_Page_MoveTo(page, kLeft - 6, height - (kTop - 20));
        HPDF_Page_LineTo(page, kLeft + 474, height - (kTop - 20));
        HPDF_Page_Stroke(page);
    }
    HPDF_SaveToFile(pdf, path.c_str());
    HPDF_Free(pdf);
}

ChildUsage Child(const std::string& self, const char* kind, int pages, const std::string& path)
{
    const std::string count = std::to_string(pages);
    std::vector<char*> argv = {const_cast<char*>(self.c_str()), const_cast<char*>(kind),
                               const_cast<char*>(count.c_str()), const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return {};
    return WaitChild(pid);
}

bool Succeeds(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

struct SizeResult {
    Spread tavlo, haru, ratio;
    double tavloPeak = 0, haruPeak = 0;
    bool checked = false;
};

SizeResult Measure(const std::string& self, const std::filesystem::path& folder, int pages, int pairs)
{
    const std::string ours = (folder / ("tavlo_" + std::to_string(pages) + ".pdf")).string();
    const std::string theirs = (folder / ("haru_" + std::to_string(pages) + ".pdf")).string();
    std::vector<double> a, b, ratio;
    SizeResult r;
    bool ok = true;
    Child(self, "tavlo", pages, ours);  // warm-up of caches and the file system
    Child(self, "haru", pages, theirs);
    for (int i = 0; i < pairs; ++i) {
        const ChildUsage x = Child(self, "tavlo", pages, ours);
        const ChildUsage y = Child(self, "haru", pages, theirs);
        ok = ok && x.ok && y.ok;
        a.push_back(x.cpu);
        b.push_back(y.cpu);
        ratio.push_back(x.cpu / y.cpu);
        r.tavloPeak = std::max(r.tavloPeak, x.peakMb);
        r.haruPeak = std::max(r.haruPeak, y.peakMb);
    }
    r.tavlo = SpreadOf(a);
    r.haru = SpreadOf(b);
    r.ratio = SpreadOf(ratio);
    const std::string quiet = " >/dev/null 2>&1";
    const std::string ourText = ours + ".txt", theirText = theirs + ".txt";
    r.checked = ok && Succeeds("qpdf --check '" + ours + "'" + quiet) && Succeeds("qpdf --check '" + theirs + "'" + quiet) &&
                Succeeds("pdftotext -q '" + ours + "' '" + ourText + "'") &&
                Succeeds("pdftotext -q '" + theirs + "' '" + theirText + "'") &&
                Succeeds("cmp -s '" + ourText + "' '" + theirText + "'");
    for (const std::string& f : {ours, theirs, ourText, theirText})
        std::filesystem::remove(f);
    return r;
}

void Goal(const char* what, bool met)
{
    std::printf("  %-74s %s\n", what, met ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4) {
        const int pages = std::atoi(argv[2]);
        if (std::string(argv[1]) == "tavlo")
            WriteTavlo(pages, argv[3]);
        else
            WriteHaru(pages, argv[3]);
        return 0;
    }
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::filesystem::path folder = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    folder /= "tavlo_document_bench_" + std::to_string(getpid());
    std::filesystem::create_directories(folder);

    std::printf("Whole document (50 lines of Helvetica 10 pt, a rectangle and a line per page, Flate on):\n");
    std::printf("Tavlo (level 2) against libharu, %d paired runs, processor time of each child process.\n", pairs);
    std::printf("%8s %28s %28s %24s %10s %10s %s\n", "pages", "Tavlo s (min/median/max)", "libharu s (min/median/max)",
                "ratio (min/median/max)", "Tavlo MB", "haru MB", "qpdf+text");
    SizeResult results[2];
    const int sizes[2] = {1000, 10000};
    for (int k = 0; k < 2; ++k) {
        const SizeResult& r = results[k] = Measure(self, folder, sizes[k], pairs);
        std::printf("%8d %8.3f/%8.3f/%8.3f %8.3f/%8.3f/%8.3f %6.3f/%6.3f/%6.3f %10.1f %10.1f %s\n", sizes[k], r.tavlo.min,
                    r.tavlo.median, r.tavlo.max, r.haru.min, r.haru.median, r.haru.max, r.ratio.min, r.ratio.median,
                    r.ratio.max, r.tavloPeak, r.haruPeak, r.checked ? "same" : "FAILED");
    }
    std::filesystem::remove_all(folder);
    const double perPage1000 = results[0].tavlo.median / 1000, perPage10000 = results[1].tavlo.median / 10000;
    std::printf("Tavlo per page: %.1f us at 1,000 pages, %.1f us at 10,000 (%.3f x)\n", perPage1000 * 1e6,
                perPage10000 * 1e6, perPage10000 / perPage1000);
    std::printf("Goals\n");
    Goal("Tavlo processor time at most 1.0 x libharu at 1,000 pages (median ratio)", results[0].ratio.median <= 1.0);
    Goal("Tavlo processor time at most 1.0 x libharu at 10,000 pages (median ratio)", results[1].ratio.median <= 1.0);
    Goal("Tavlo time per page at 10,000 pages within 10 % of that at 1,000", perPage10000 <= 1.10 * perPage1000);
    Goal("Tavlo peak memory flat: at 10,000 pages within 10 % (or 2 MB) of 1,000",
         results[1].tavloPeak <= std::max(1.10 * results[0].tavloPeak, results[0].tavloPeak + 2));
    Goal("every output clean in qpdf --check, both giving the same text",
         results[0].checked && results[1].checked);
    return results[0].checked && results[1].checked ? 0 : 1;
}
