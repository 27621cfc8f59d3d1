// Runs a fuzz target over saved inputs without libFuzzer, so that every build (GCC, the
// sanitizers) replays the corpus: each argument is a file or a folder whose files (all
// levels down) are fed to LLVMFuzzerTestOneInput in name order. A broken invariant aborts
// the process; an unreadable or missing argument fails it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& argument) {
    std::vector<fs::path> inputs;
    std::error_code error;
    if (fs::is_directory(argument, error)) {
        for (const auto& entry : fs::recursive_directory_iterator(argument, error)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
    } else if (fs::is_regular_file(argument, error)) {
        inputs.push_back(argument);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool Replay(const fs::path& input) {
    std::ifstream file(input, std::ios::binary);
    if (!file) return false;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    // A copy of exactly the input's size, so reading one byte past it is caught.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> inputs = InputsOf(argv[i]);
        if (inputs.empty()) {
            std::fprintf(stderr, "replay: no input in %s\n", argv[i]);
            return 1;
        }
        for (const fs::path& input : inputs) {
            if (!Replay(input)) {
                std::fprintf(stderr, "replay: cannot read %s\n", input.c_str());
                return 1;
            }
            ++replayed;
        }
    }
    std::printf("replay: %zu inputs, every invariant held\n", replayed);
    return replayed > 0 ? 0 : 1;
}
