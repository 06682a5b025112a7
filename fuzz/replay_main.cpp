// Replays kept fuzz inputs without libFuzzer, so that the normal and the
// sanitizer test builds run every seed and saved crash input on every run:
//   fuzz_replay TARGET FOLDER...
// feeds every regular file below the folders (in name order) to the
// target's entry function, naming each before it runs (the last name shown
// is the input that crashed or aborted). A missing folder holds no inputs.
// The targets that write files get a temporary folder of their own
// (TMPDIR), removed at the end.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "replay_targets.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(int count, char** folders) {
    std::vector<fs::path> inputs;
    for (int i = 0; i < count; ++i) {
        std::error_code error;
        for (fs::recursive_directory_iterator it(folders[i], error), end; !error && it != end;
             it.increment(error))
            if (it->is_regular_file()) inputs.push_back(it->path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::vector<uint8_t> Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_replay TARGET FOLDER...\n");
        return 2;
    }
    const tova::fuzz::TReplayTarget* target = nullptr;
    for (const auto& candidate : tova::fuzz::kReplayTargets)
        if (candidate.Name == argv[1]) target = &candidate;
    if (!target) {
        std::fprintf(stderr, "fuzz_replay: no fuzz target %s\n", argv[1]);
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "tova-fuzz-replay-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("fuzz_replay: a temporary folder");
        return 1;
    }
    setenv("TMPDIR", pattern.c_str(), 1);
    const std::vector<fs::path> inputs = Inputs(argc - 2, argv + 2);
    for (const fs::path& input : inputs) {
        std::printf("%s\n", input.c_str());
        std::fflush(stdout);
        const std::vector<uint8_t> bytes = Contents(input);
        static const uint8_t kNone = 0;  // libFuzzer never passes null, not even for no bytes
        target->Run(bytes.empty() ? &kNone : bytes.data(), bytes.size());
    }
    std::printf("%s: %zu inputs replayed\n", argv[1], inputs.size());
    std::error_code ignored;
    fs::remove_all(pattern, ignored);
    return 0;
}
