// Runs a fuzz target over every file of the folders (or the files) named on the command line,
// once each and in name order, without libFuzzer: the committed corpus as a plain test that any
// compiler builds. A file that breaks an invariant stops the run with the target's trap, after
// its name was printed.
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else if (std::filesystem::is_regular_file(arg)) {
            files.push_back(arg);
        } else {
            std::cerr << "No such file or folder: " << arg << '\n';
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::cerr << "No input to replay\n";
        return 2;
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::cerr << "Cannot read " << file << '\n';
            return 2;
        }
        const std::vector<char> bytes(
            (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::cerr << "Running " << file.filename().string() << " (" << bytes.size() << " bytes)\n";
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::cerr << "Replayed " << files.size() << " inputs\n";
    return 0;
}
