// Parse speed over documents of the update answer's shape.
//
// Each document is the answer the update check reads (declaration, then
// kastrel/product/tarvik7/workflow with version and downloadurl), with the
// workflow element padded by repeated release elements until the document
// reaches its size. Every size is parsed and released repeatedly for about a
// second; the figures are characters per second, in millions (one character
// per byte of the server's answer), of the fastest round. Parsing should be linear:
// the figure at the largest size should stay close to the one at 64 KiB.
#include "XmlParser.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace
{
std::wstring MakeAnswer(size_t size)
{
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                        L"<kastrel>\r\n <product>\r\n  <tarvik7>\r\n   <workflow>\r\n"
                        L"    <version>7.0.1.5</version>\r\n"
                        L"    <downloadurl>http://www.example.com/tarvik/download.html</downloadurl>\r\n";
    const std::wstring tail = L"   </workflow>\r\n  </tarvik7>\r\n </product>\r\n</kastrel>\r\n";
    for (unsigned n = 0; text.size() + tail.size() < size; ++n)
    {
        const std::wstring id = std::to_wstring(n);
        text += L"    <release id=\"" + id +
                L"\" channel='stable' signed>\r\n"
                L"     <version>7.0." +
                id +
                L".5</version>\r\n"
                L"     <downloadurl>http://www.example.com/tarvik/" +
                id +
                L"?lang=en&amp;os=x64</downloadurl>\r\n"
                L"     <!-- build " +
                id + L" --><notes><![CDATA[Fixes <b>" + id +
                L"</b>]]></notes>\r\n"
                L"    </release>\r\n";
    }
    text += tail;
    return text;
}

struct Figures
{
    double parse;   // millions of characters per second, parse alone
    double release; // the same with FreeXmlElem of the tree included
};

// The fastest round counts: the machine's other work only ever slows a round
// down, so the best one is the closest to the parser's own speed.
Figures Measure(const std::wstring& text)
{
    using Clock = std::chrono::steady_clock;
    double bestParse = 1e30;
    double bestTotal = 1e30;
    double elapsed = 0;
    size_t rounds = 0;
    do
    {
        const auto start = Clock::now();
        XmlElem* root = ParseXmlText(text.c_str(), nullptr);
        const auto parsed = Clock::now();
        if (!root || !FindXmlElem(root, L"xml/kastrel/product/tarvik7/workflow/version"))
        {
            std::fprintf(stderr, "xml_bench: the generated answer did not parse\n");
            std::exit(1);
        }
        FreeXmlElem(root);
        const auto released = Clock::now();
        bestParse = std::min(bestParse, std::chrono::duration<double>(parsed - start).count());
        const double total = std::chrono::duration<double>(released - start).count();
        bestTotal = std::min(bestTotal, total);
        elapsed += total;
        ++rounds;
    } while (elapsed < 1.0 || rounds < 5);
    const double chars = static_cast<double>(text.size()) / 1e6;
    return {chars / bestParse, chars / bestTotal};
}
} // namespace

int main()
{
#ifdef __GLIBC__
    // Keep freed memory in the process. By default glibc gives the tree of a
    // large document back to the kernel when it is released, so every round
    // at 4 MiB would start on fresh pages and time the kernel's page zeroing,
    // while the smaller documents reuse warm memory; that would compare the
    // allocator's thresholds, not the parser.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest threshold glibc accepts
#endif
    const struct
    {
        const char* label;
        size_t size;
    } sizes[] = {{"1 KiB", 1024}, {"64 KiB", 64 * 1024}, {"4 MiB", 4 * 1024 * 1024}};
    Figures figures[3] = {};
    std::printf("size    characters   parse MB/s   parse+free MB/s\n");
    for (int i = 0; i < 3; ++i)
    {
        const std::wstring text = MakeAnswer(sizes[i].size);
        figures[i] = Measure(text);
        std::printf("%-7s %10zu   %10.1f   %15.1f\n", sizes[i].label, text.size(), figures[i].parse,
                    figures[i].release);
    }
    std::printf("4 MiB / 64 KiB: %.0f %% (parse), %.0f %% (parse+free)\n", 100.0 * figures[2].parse / figures[1].parse,
                100.0 * figures[2].release / figures[1].release);
    return 0;
}
