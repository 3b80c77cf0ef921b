#pragma once
// What every harness of this folder provides. The harness file defines the libFuzzer entry
// point; its seeds file writes the starting inputs, made with the generators the tests use.
// Replay.cpp turns both into an ordinary program for the normal build (see README.md).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quercino::fuzz {

// Writes the harness's seed inputs into `cartella` (which exists); false on failure.
bool GeneraSemi(const std::filesystem::path& cartella);

// Writes one seed file.
bool ScriviSeme(const std::filesystem::path& cartella, const std::string& nome, const std::string& byte);

// The bytes in a scratch file of this process, for readers that open a path; the file is
// rewritten for every input and removed at exit.
std::string FileDiLavoro(const std::uint8_t* data, std::size_t size, const std::string& estensione);

} // namespace quercino::fuzz
