// The harness as an ordinary program, for the normal build and CI:
//   <harness>_replay --semi FOLDER     writes the seed inputs into FOLDER
//   <harness>_replay PATH...           feeds every file (folders: every file inside, in
//                                      name order) to the harness once
// A path that does not exist, or nothing to feed at all, is a failure: a corpus that
// silently vanished would make the check pass for nothing.

#include "fuzz/FuzzHarness.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::filesystem::path> Ingressi(const std::filesystem::path& percorso)
{
    std::vector<std::filesystem::path> file;
    if (std::filesystem::is_directory(percorso)) {
        for (const auto& voce : std::filesystem::directory_iterator(percorso))
            if (voce.is_regular_file())
                file.push_back(voce.path());
        std::sort(file.begin(), file.end());
    } else {
        file.push_back(percorso);
    }
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--semi") {
        const std::filesystem::path cartella(argv[2]);
        std::error_code errore;
        std::filesystem::remove_all(cartella, errore);
        std::filesystem::create_directories(cartella, errore);
        if (errore || !quercino::fuzz::GeneraSemi(cartella)) {
            std::fprintf(stderr, "seed inputs not written into %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    int eseguiti = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::exists(argv[i])) {
            std::fprintf(stderr, "%s does not exist\n", argv[i]);
            return 1;
        }
        for (const auto& file : Ingressi(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            const std::string byte((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(byte.data()), byte.size());
            ++eseguiti;
        }
    }
    std::printf("%d inputs replayed\n", eseguiti);
    return eseguiti > 0 ? 0 : 1;
}
