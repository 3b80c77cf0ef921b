// Pictures at the pixel limit (8192 x 8192) placed by DrawImage: a run-length TGA of about
// 2 MB (with Flate at level 2 and without compression), a grainy one of about 100 MB and an
// RLE8 bitmap of about 1 MB (Flate at level 2). Each document is written by a fresh process of its own, which reports its
// processor time and its peak memory (VmHWM). The baseline is the decoded samples' size:
// the writer may hold the samples and the compressed output at once, and 16 MiB more (the
// encoder's tables, the file and the program itself). Every document must pass
// `qpdf --check`.
//
//   tavlo_picture_bench [runs]      (3 by default)

#include "PairedRuns.h"
#include "pdf/Tavlo.h"
#include "pdf/core/StreamEncoding.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

using namespace tavlo::bench;

namespace {

constexpr int kSide = 8192;

void PutLe(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 255));
}

std::string TgaHeader()
{
    std::string file;
    for (std::uint32_t v : {0u, 0u, 10u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u})
        file.push_back(static_cast<char>(v));
    PutLe(file, kSide, 2);
    PutLe(file, kSide, 2);
    file.push_back(24);
    file.push_back(0);  // bottom-left origin, no alpha
    return file;
}

// Bands of colour: each row runs of 128 pixels, one packet each.
std::string RleTga()
{
    std::string file = TgaHeader();
    for (int y = 0; y < kSide; ++y)
        for (int k = 0; k < kSide / 128; ++k) {
            file.push_back(static_cast<char>(0xFF));  // a run of 128
            file.push_back(static_cast<char>((k * 4) & 255));
            file.push_back(static_cast<char>((y / 32) & 255));
            file.push_back(static_cast<char>((k + y) & 255));
        }
    return file;
}

// Grain: runs and raw packets of 1 to 64 pixels of colours at random, whose Flate tokens
// far outgrow the encoder's token room.
std::string GrainTga()
{
    std::string file = TgaHeader();
    std::uint32_t random = 1;
    auto next = [&] { return random = random * 1664525u + 1013904223u; };
    for (std::uint64_t done = 0, pixels = std::uint64_t(kSide) * kSide; done < pixels;) {
        const std::uint32_t n = std::min<std::uint64_t>(1 + (next() >> 26), pixels - done);
        const bool run = (next() >> 31) != 0;
        file.push_back(static_cast<char>(run ? 127 + n : n - 1));
        for (std::uint32_t i = 0; i < (run ? 1 : n); ++i) {
            const std::uint32_t colour = next();
            for (int b = 0; b < 3; ++b)
                file.push_back(static_cast<char>((colour >> (8 * b + 8)) & 255));
        }
        done += n;
    }
    return file;
}

// 256 greys, each row runs of 128 pixels ended by an end of line.
std::string Rle8Bmp()
{
    std::string data;
    for (int y = 0; y < kSide; ++y) {
        for (int k = 0; k < kSide / 128; ++k) {
            data.push_back(static_cast<char>(128));
            data.push_back(static_cast<char>((k + y / 16) & 255));
        }
        data += std::string("\0\0", 2);
    }
    data += std::string("\0\1", 2);
    std::string file = "BM";
    const std::uint32_t offset = 14 + 40 + 1024;
    PutLe(file, offset + static_cast<std::uint32_t>(data.size()), 4);
    PutLe(file, 0, 4);
    PutLe(file, offset, 4);
    PutLe(file, 40, 4);
    PutLe(file, kSide, 4);
    PutLe(file, kSide, 4);
    PutLe(file, 1, 2);
    PutLe(file, 8, 2);
    PutLe(file, 1, 4);  // RLE8
    PutLe(file, static_cast<std::uint32_t>(data.size()), 4);
    for (int i = 0; i < 4; ++i)
        PutLe(file, 0, 4);
    for (int i = 0; i < 256; ++i)
        PutLe(file, static_cast<std::uint32_t>(i * 0x010101), 4);
    return file + data;
}

// The child: one page with the picture, then its time and peak memory.
int WriteInChild(const std::string& picture, const std::string& pdfPath, std::uint32_t compression)
{
    const double start = ProcessSeconds();
    tavlo::Tavlo pdf;
    pdf.SetCompression(compression, 2);
    pdf.BeginDoc(pdfPath);
    pdf.BeginPage();
    pdf.DrawImage(picture, 10, 10, 500, 500, 1, "");
    pdf.EndPage();
    pdf.EndDoc();
    const double seconds = ProcessSeconds() - start;
    std::printf("%.6f %.3f %d\n", seconds, PeakMib(), pdf.ErrNumber() == 0 ? 1 : 0);
    return 0;
}

struct Case {
    std::string name, picture;
    std::uint32_t compression;
    double samplesMib;
};

bool Checked(const std::string& pdf)
{
    return std::system(("qpdf --check '" + pdf + "' >/dev/null 2>&1").c_str()) == 0;
}

void Goal(const std::string& what, bool met)
{
    std::printf("  %-74s %s\n", what.c_str(), met ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "write")
        return WriteInChild(argv[2], argv[3], static_cast<std::uint32_t>(std::atoi(argv[4])));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::filesystem::path folder =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    folder /= "tavlo_picture_bench_" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const std::string tga = (folder / "bands.tga").string(), bmp = (folder / "bands.bmp").string();
    const std::string grain = (folder / "grain.tga").string();
    std::ofstream(tga, std::ios::binary) << RleTga();
    std::ofstream(grain, std::ios::binary) << GrainTga();
    std::ofstream(bmp, std::ios::binary) << Rle8Bmp();
    const double rgb = 3.0 * kSide * kSide / (1 << 20), indexes = 1.0 * kSide * kSide / (1 << 20);
    const std::vector<Case> cases = {{"RLE TGA, Flate 2", tga, tavlo::Filter::Flate, rgb},
                                     {"RLE TGA, no compression", tga, 0, rgb},
                                     {"grainy RLE TGA, Flate 2", grain, tavlo::Filter::Flate, rgb},
                                     {"RLE8 BMP, Flate 2", bmp, tavlo::Filter::Flate, indexes}};

    std::printf("Pictures of %d x %d pixels (TGA files %.1f and %.1f MB, BMP file %.1f MB), %d runs each: processor\n"
                "time and peak memory of a fresh process writing one page; baseline: the decoded samples.\n",
                kSide, kSide, double(std::filesystem::file_size(tga)) / 1e6,
                double(std::filesystem::file_size(grain)) / 1e6, double(std::filesystem::file_size(bmp)) / 1e6, runs);
    std::printf("%-24s %10s %10s %10s %10s %12s %8s %s\n", "case", "samples", "output", "peak", "peak/samp",
                "peak-(s+o)", "time s", "qpdf");
    bool ok = true, bounded = true;
    for (const Case& c : cases) {
        const std::string pdf = (folder / "picture.pdf").string();
        std::vector<double> seconds;
        double peak = 0;
        bool written = true;
        for (int i = 0; i < runs; ++i) {
            const SelfRun run = RunSelf({"write", c.picture, pdf, std::to_string(c.compression)});
            std::istringstream line(run.output);
            line.imbue(std::locale::classic());
            double time = 0, mib = 0;
            int clean = 0;
            written = written && (line >> time >> mib >> clean) && clean == 1 && run.usage.ok;
            seconds.push_back(time);
            peak = std::max(peak, mib);
        }
        const double output = double(std::filesystem::file_size(pdf)) / (1 << 20);
        const bool checked = written && Checked(pdf);
        const double over = peak - (c.samplesMib + output);
        std::printf("%-24s %9.1fM %9.1fM %9.1fM %10.2f %11.1fM %8.3f %s\n", c.name.c_str(), c.samplesMib, output, peak,
                    peak / c.samplesMib, over, SpreadOf(seconds).median, checked ? "clean" : "FAILED");
        ok = ok && checked;
        bounded = bounded && over <= 16;
    }
    std::filesystem::remove_all(folder);
    std::printf("Goals\n");
    Goal("peak memory at most the samples, the output and 16 MiB, in every case", bounded);
    Goal("every document clean in qpdf --check", ok);
    return ok ? 0 : 1;
}
