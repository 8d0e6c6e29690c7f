// Runs files, and every file of folders, through the fuzzer's checks once.
// Built with the sanitizers, so a crash, a leak, an out-of-bounds read or a
// failed check ends the run with a non-zero exit status.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i)
    {
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(argv[i]))
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        if (files.empty() && !std::filesystem::is_directory(argv[i]))
            files.push_back(argv[i]);
        for (const auto& file : files)
        {
            std::ifstream in(file, std::ios::binary);
            if (!in)
            {
                std::fprintf(stderr, "xml_replay: can not read %s\n", file.string().c_str());
                return 1;
            }
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++count;
        }
    }
    if (count == 0)
        std::fprintf(stderr, "usage: xml_replay FILE-OR-FOLDER... (no inputs found)\n");
    else
        std::printf("xml_replay: %d inputs passed\n", count);
    return count ? 0 : argc < 2 ? 2 : 1;
}
