#pragma once
// Running the external tools the tests compare against (qpdf, poppler, mupdf, openssl,
// Python's hashlib), and scratch files for them.

#include "pdf/core/Bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tavlo::test {

struct ToolResult {
    int exitCode = -1;
    std::string output;  // standard output only
};

inline ToolResult RunTool(const std::string& command)
{
    ToolResult result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// A missing oracle fails the test that needs it (scripts/setup.sh installs every one).
inline bool ToolAvailable(const std::string& name)
{
    const bool found = RunTool("command -v " + name + " >/dev/null 2>&1").exitCode == 0;
    if (!found)
        ADD_FAILURE() << name << " missing: run scripts/setup.sh";
    return found;
}

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    WriteFile(path, TextOf(bytes));
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes RandomBytes(std::size_t count, std::uint32_t seed, int alphabet = 256)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    Bytes out(count);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(pick(random));
    return out;
}

inline std::string Quote(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

inline std::string Hex(const Bytes& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// The run of characters from `allowed` that follows the first `marker` in text.
inline std::string TokenAfter(const std::string& text, const std::string& marker,
                              const std::string& allowed = "0123456789abcdef-")
{
    const std::size_t at = text.find(marker);
    if (at == std::string::npos)
        return "";
    const std::size_t from = at + marker.size();
    const std::size_t end = text.find_first_not_of(allowed, from);
    return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

// Text without every piece from `open` up to and including the next `close`.
inline std::string WithoutPieces(std::string text, const std::string& open, const std::string& close)
{
    for (std::size_t at; (at = text.find(open)) != std::string::npos;) {
        const std::size_t end = text.find(close, at + open.size());
        text.erase(at, end == std::string::npos ? std::string::npos : end + close.size() - at);
    }
    return text;
}

inline Bytes FromHex(const std::string& hex)
{
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

} // namespace tavlo::test
