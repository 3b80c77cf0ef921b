// Our Flate encoder against zlib's compress2 at level 6 (the baseline) on what a PDF writer
// compresses: the page streams Tavlo writes for a 1,000-page document, the one content stream
// of a page with 120,000 lines, 20 MB of source text and an executable. Each encoding runs
// in a child process of its own (its processor time and peak memory alone); ours at level 2
// and zlib at level 6 run in turn and the ratios are taken pair by pair, so a machine that
// slows down meanwhile weighs on both alike. Every output is inflated by zlib and compared.
// Then each of our levels and zlib's 1 and 9 once, for the record.
//
//   tavlo_flate_bench [pairs]      (5 by default)

#include "PairedRuns.h"
#include "SampleDocument.h"
#include "pdf/core/deflate/FlateEncoder.h"

#include <zlib.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using tavlo::Bytes;
using namespace tavlo::bench;

namespace {

struct Input {
    std::string name;
    std::vector<Bytes> streams;  // encoded one by one
    std::size_t Total() const
    {
        std::size_t n = 0;
        for (const auto& s : streams)
            n += s.size();
        return n;
    }
};

Bytes FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The content streams of an uncompressed document Tavlo writes.
std::vector<Bytes> PageStreams(int pages, int linesPerPage)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tavlo_flate_bench_" + std::to_string(getpid()) + ".pdf");
    WriteSampleDocument(pages, path.string(), 0, linesPerPage);
    const Bytes file = FileBytes(path);
    std::filesystem::remove(path);
    const std::string text(file.begin(), file.end());
    std::vector<Bytes> streams;
    for (std::size_t at = text.find("stream\n"); at != std::string::npos; at = text.find("stream\n", at)) {
        at += 7;
        const std::size_t end = text.find("\nendstream", at);
        if (end == std::string::npos)
            break;
        if (text.compare(at, 9, "1 0 0 -1 ") == 0)  // a page's content, not the metadata
            streams.emplace_back(file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(end));
        at = end + 10;  // past "\nendstream"
    }
    return streams;
}

Bytes SourceText(std::size_t count)
{
    std::string all;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(QUERCINO_SOURCE_DIR, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        const auto ext = it->path().extension();
        if (it->path().string().find("/build") != std::string::npos)
            continue;
        if (ext == ".cpp" || ext == ".h" || ext == ".md" || ext == ".xsd" || ext == ".txt") {
            const Bytes part = FileBytes(it->path());
            all.append(part.begin(), part.end());
        }
    }
    if (all.empty())
        all = "nessun sorgente trovato ";
    std::string s;
    while (s.size() < count)
        s += all;
    s.resize(count);
    return Bytes(s.begin(), s.end());
}

bool Inflates(const Bytes& stream, const Bytes& original)
{
    Bytes back(original.size() + 1);
    uLongf size = static_cast<uLongf>(back.size());
    return uncompress(back.data(), &size, stream.data(), stream.size()) == Z_OK && size == original.size() &&
           std::memcmp(back.data(), original.data(), size) == 0;
}

double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Result {
    double seconds = -1;  // processor time of the encodings alone
    double peakMb = 0;    // of the child: the input, the encoder and the outputs
    std::uint64_t size = 0;
    bool ok = false;
};

// Encoder: ours with level 0..5, or zlib with level 1..9.
Result Measure(const Input& input, bool ours, int level)
{
    int ends[2];
    if (pipe(ends) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        struct {
            double seconds;
            std::uint64_t size;
            int ok;
        } r{};
        std::vector<Bytes> outputs;
        outputs.reserve(input.streams.size());
        tavlo::deflate::FlateWorkspace workspace;
        const double start = ProcessSeconds();
        for (const Bytes& s : input.streams) {
            if (ours) {
                outputs.push_back(tavlo::deflate::FlateEncode(s.data(), s.size(), level, workspace));
            } else {
                // Room for the worst case, touched only as far as zlib writes.
                uLongf size = compressBound(static_cast<uLong>(s.size()));
                std::unique_ptr<std::uint8_t[]> room(new std::uint8_t[size]);
                compress2(room.get(), &size, s.data(), static_cast<uLong>(s.size()), level);
                outputs.emplace_back(room.get(), room.get() + size);
            }
        }
        r.seconds = ProcessSeconds() - start;
        r.ok = 1;
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            r.size += outputs[i].size();
            r.ok = r.ok && Inflates(outputs[i], input.streams[i]);
        }
        (void)!write(ends[1], &r, sizeof r);
        _exit(0);
    }
    close(ends[1]);
    struct {
        double seconds;
        std::uint64_t size;
        int ok;
    } r{};
    const bool got = read(ends[0], &r, sizeof r) == sizeof r;
    close(ends[0]);
    const ChildUsage usage = WaitChild(child);
    Result result;
    result.seconds = r.seconds;
    result.size = r.size;
    result.peakMb = usage.peakMb;
    result.ok = got && usage.ok && r.ok;
    return result;
}

struct Paired {
    Spread ours, zlib, ratio;
    double sizeRatio = 0;
    double extraMb = 0;  // our peak memory above zlib's
    bool ok = true;
};

Paired Compare(const Input& input, int pairs)
{
    std::printf("\n%s: %.1f MB in %zu stream(s)\n", input.name.c_str(), double(input.Total()) / 1e6,
                input.streams.size());
    std::vector<double> a, b, ratio;
    Paired p;
    double oursPeak = 0, zlibPeak = 0;
    std::uint64_t oursSize = 0, zlibSize = 0;
    for (int i = 0; i < pairs; ++i) {
        const Result x = Measure(input, true, 2);
        const Result y = Measure(input, false, 6);
        p.ok = p.ok && x.ok && y.ok;
        a.push_back(x.seconds);
        b.push_back(y.seconds);
        ratio.push_back(x.seconds / y.seconds);
        oursPeak = std::max(oursPeak, x.peakMb);
        zlibPeak = std::max(zlibPeak, y.peakMb);
        oursSize = x.size;
        zlibSize = y.size;
    }
    p.ours = SpreadOf(a);
    p.zlib = SpreadOf(b);
    p.ratio = SpreadOf(ratio);
    p.sizeRatio = double(oursSize) / double(zlibSize);
    p.extraMb = oursPeak - zlibPeak;
    std::printf("  ours 2 against zlib 6, %d pairs: time %.3f/%.3f/%.3f s against %.3f/%.3f/%.3f s (min/median/max),\n",
                pairs, p.ours.min, p.ours.median, p.ours.max, p.zlib.min, p.zlib.median, p.zlib.max);
    std::printf("  ratio %.3f/%.3f/%.3f; bytes %llu against %llu (%.4f); peak %.1f MB against %.1f MB (%+.1f MB)%s\n",
                p.ratio.min, p.ratio.median, p.ratio.max, static_cast<unsigned long long>(oursSize),
                static_cast<unsigned long long>(zlibSize), p.sizeRatio, oursPeak, zlibPeak, p.extraMb,
                p.ok ? "" : "  FAILED");
    std::printf("  %-8s %12s %9s %9s %9s\n", "once", "bytes", "size/z6", "time/z6", "peak MB");
    auto line = [&](const char* name, const Result& r) {
        std::printf("  %-8s %12llu %9.4f %9.2f %9.1f%s\n", name, static_cast<unsigned long long>(r.size),
                    double(r.size) / double(zlibSize), r.seconds / p.zlib.median, r.peakMb, r.ok ? "" : "  FAILED");
        p.ok = p.ok && r.ok;
    };
    line("zlib 1", Measure(input, false, 1));
    line("zlib 9", Measure(input, false, 9));
    for (int level = 0; level <= 5; ++level)
        line(("ours " + std::to_string(level)).c_str(), Measure(input, true, level));
    return p;
}

void Goal(const char* what, bool met)
{
    std::printf("  %-74s %s\n", what, met ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char** argv)
{
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("Flate: ours at level 2 against zlib compress2 at level 6 (the baseline), processor time of the\n");
    std::printf("encodings in paired child processes; peak memory of each child (input and outputs included).\n");
    const Input pages{"page streams of a 1,000-page document", PageStreams(1000, kLines)};
    const Input large{"content stream of one page of 120,000 lines", PageStreams(1, 120000)};
    const Input text{"source text", {SourceText(20u << 20)}};
    const Input binary{"this executable", {FileBytes("/proc/self/exe")}};

    const Paired p = Compare(pages, pairs);
    const Paired l = Compare(large, pairs);
    const Paired t = Compare(text, pairs);
    const Paired b = Compare(binary, pairs);
    const bool ok = p.ok && l.ok && t.ok && b.ok && !pages.streams.empty() && large.streams.size() == 1;

    std::printf("\nGoals (median of the pair ratios)\n");
    Goal("level 2 time at most 1.0 x zlib 6 on the page streams", p.ratio.median <= 1.0);
    Goal("level 2 time at most 1.0 x zlib 6 on the source text", t.ratio.median <= 1.0);
    Goal("level 2 time at most 1.5 x zlib 6 on the large content stream", l.ratio.median <= 1.5);
    Goal("encoder memory at most 16 MB above zlib's on every input",
         std::max({p.extraMb, l.extraMb, t.extraMb, b.extraMb}) <= 16);
    Goal("every output inflated by zlib to its input", ok);
    return ok ? 0 : 1;
}
