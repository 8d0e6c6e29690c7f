// Runs files, and every file of folders, through the fuzzer's checks once.
// Built with the sanitizers, so a crash, a leak, an out-of-bounds read or a
// failed check ends the run with a non-zero exit status.
#include "XmlFuzzCheck.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{
bool Replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
    {
        std::fprintf(stderr, "xml_replay: can not read %s\n", file.string().c_str());
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CheckXmlInput(bytes.data(), bytes.size());
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: xml_replay FILE-OR-FOLDER...\n");
        return 2;
    }
    int count = 0;
    for (int i = 1; i < argc; ++i)
    {
        const std::filesystem::path path(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path))
        {
            for (const auto& entry : std::filesystem::directory_iterator(path))
            {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        }
        else
            files.push_back(path);
        for (const auto& file : files)
        {
            if (!Replay(file))
                return 1;
            ++count;
        }
    }
    if (count == 0)
    {
        std::fprintf(stderr, "xml_replay: no inputs found\n");
        return 1;
    }
    std::printf("xml_replay: %d inputs passed\n", count);
    return 0;
}
