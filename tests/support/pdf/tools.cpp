#include "support/pdf/tools.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace tavlo::test {

ToolResult RunTool(const std::string& command)
{
    ToolResult result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run: " << command;
        return result;
    }
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // The shell's "command not found": an oracle missing is a failure, never a pass.
    if (result.exitCode == 127)
        ADD_FAILURE() << "program missing for: " << command;
    return result;
}

std::string ErrorsOf(const std::string& command)
{
    return RunTool(command + " 2>&1 >/dev/null").output;
}

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    // TAVLO_KEEP_TEMP=1 leaves the files for a look after a failure.
    if (std::getenv("TAVLO_KEEP_TEMP"))
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempPath(const std::string& name)
{
    static ScratchDir dir;
    return dir.File(name);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    WriteFile(path, TextOf(bytes));
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quote(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string QpdfPassword(const std::string& password)
{
    return password.empty() ? "" : " --password=" + Quote(password);
}

std::string Hex(const Bytes& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

Bytes FromHex(const std::string& hex)
{
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

Bytes RandomBytes(std::size_t count, std::uint32_t seed, int alphabet)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    Bytes out(count);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(pick(random));
    return out;
}

} // namespace tavlo::test
