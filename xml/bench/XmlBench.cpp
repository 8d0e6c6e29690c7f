// Parse speed over update answers padded with release elements to 1 KiB,
// 64 KiB and 4 MiB, each parsed and released for about a second: the fastest
// round in millions of characters a second. Parsing is linear when the 4 MiB
// figure stays close to the 64 KiB one.
#include "XmlParser.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace
{
std::wstring MakeAnswer(size_t size)
{
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<kastrel>\r\n <product>\r\n  <tarvik7>\r\n"
                        L"   <workflow>\r\n    <version>7.0.1.5</version>\r\n"
                        L"    <downloadurl>http://www.example.com/tarvik/download.html</downloadurl>\r\n";
    const std::wstring tail = L"   </workflow>\r\n  </tarvik7>\r\n </product>\r\n</kastrel>\r\n";
    for (unsigned n = 0; text.size() + tail.size() < size; ++n)
    {
        const std::wstring id = std::to_wstring(n);
        text += L"    <release id=\"" + id + L"\" channel='stable' signed>\r\n     <version>7.0." + id +
                L".5</version>\r\n     <downloadurl>http://www.example.com/tarvik/" + id +
                L"?lang=en&amp;os=x64</downloadurl>\r\n     <!-- build " + id + L" --><notes><![CDATA[Fixes <b>" + id +
                L"</b>]]></notes>\r\n    </release>\r\n";
    }
    return text + tail;
}
} // namespace

int main()
{
#ifdef __GLIBC__
    // Keep freed memory in the process: else every round at 4 MiB would time
    // the kernel zeroing fresh pages while the small sizes reuse warm memory.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest threshold glibc accepts
#endif
    using Clock = std::chrono::steady_clock;
    const std::pair<const char*, size_t> sizes[] = {{"1 KiB", 1024}, {"64 KiB", 64 * 1024}, {"4 MiB", 4 << 20}};
    double parse[3] = {}, release[3] = {}; // millions of characters a second, without and with FreeXmlElem
    std::printf("size    characters   parse MB/s   parse+free MB/s\n");
    for (int i = 0; i < 3; ++i)
    {
        const std::wstring text = MakeAnswer(sizes[i].second);
        // The fastest round counts: the machine's other work only slows a round.
        double bestParse = 1e30, bestTotal = 1e30, elapsed = 0;
        for (int rounds = 0; elapsed < 1.0 || rounds < 5; ++rounds)
        {
            const auto start = Clock::now();
            XmlElem* root = ParseXmlText(text.c_str(), nullptr);
            const auto parsed = Clock::now();
            if (!root || !FindXmlElem(root, L"xml/kastrel/product/tarvik7/workflow/version"))
            {
                std::fprintf(stderr, "xml_bench: the generated answer did not parse\n");
                return 1;
            }
            FreeXmlElem(root);
            const double total = std::chrono::duration<double>(Clock::now() - start).count();
            bestParse = std::min(bestParse, std::chrono::duration<double>(parsed - start).count());
            bestTotal = std::min(bestTotal, total);
            elapsed += total;
        }
        parse[i] = text.size() / 1e6 / bestParse;
        release[i] = text.size() / 1e6 / bestTotal;
        std::printf("%-7s %10zu   %10.1f   %15.1f\n", sizes[i].first, text.size(), parse[i], release[i]);
    }
    std::printf("4 MiB / 64 KiB: %.0f %% (parse), %.0f %% (parse+free)\n", 100.0 * parse[2] / parse[1],
                100.0 * release[2] / release[1]);
    return 0;
}
