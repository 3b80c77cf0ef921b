#pragma once
// Running the external programs the PDF tests compare against, and scratch files for them.
// A program that is not installed fails the test that calls it (exit code 127).

#include "pdf/core/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace tavlo::test {

struct ToolResult {
    int exitCode = -1;
    std::string output;  // standard output only
};

// Runs a shell command; a missing program is a test failure.
ToolResult RunTool(const std::string& command);
// Standard error of a command (standard output discarded).
std::string ErrorsOf(const std::string& command);

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// A file of that name in a folder of this test program, removed when it ends (kept, like
// every scratch folder, when TAVLO_KEEP_TEMP is set).
std::string TempPath(const std::string& name);

void WriteFile(const std::string& path, const std::string& bytes);
void WriteFile(const std::string& path, const Bytes& bytes);
std::string ReadFile(const std::string& path);
// Shell quoting.
std::string Quote(const std::string& text);
// " --password=..." for qpdf, "" without a password.
std::string QpdfPassword(const std::string& password);
std::string Hex(const Bytes& bytes);
Bytes FromHex(const std::string& hex);
// count bytes below alphabet from a seeded generator.
Bytes RandomBytes(std::size_t count, std::uint32_t seed, int alphabet = 256);

} // namespace tavlo::test
