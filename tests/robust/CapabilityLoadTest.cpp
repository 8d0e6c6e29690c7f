// The paper answers of the built module while another thread adds and
// deletes custom forms (docs/reliability.md): every answer whole, no handle
// or memory kept. TARVIK_LOAD_CALLS calls a thread (250 unless set).
#include "FencedBuffer.h"
#include "FormFixture.h"
#include "PrinterInstaller.h"
#include "ProcessUsage.h"

#include "forms/CFormManager.h"
#include "entry/DriverInterface.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace
{
using Load = formtest::PrinterFormsTest;

constexpr int kThreads = 8;
constexpr int kCustomForms = 20; // at most this many exist at once
constexpr size_t kNameSlot = 64;
constexpr SIZE_T kMemoryTolerance = 1 << 20;
// The platform's spooler and registry caches open a handle now and then; one
// lost per call would show as thousands.
constexpr DWORD kHandleTolerance = 4;
const WORD kIndexes[] = {DC_PAPERNAMES, DC_PAPERS, DC_PAPERSIZE};

size_t Width(WORD index)
{
    return index == DC_PAPERNAMES ? kNameSlot * sizeof(wchar_t) : index == DC_PAPERS ? sizeof(WORD) : sizeof(POINT);
}

// Custom form k is "Load k", (100 + k) x (200 + k) millimetres.
std::wstring CustomName(int k)
{
    return L"Load " + std::to_wstring(k);
}

// One answer checked whole: `count` entries, the spooler's forms first and
// "Custom Size" last as in `alone`, the answer without custom forms (whose
// entries CFormManagerTest checks), custom forms between, untouched after.
bool AnswerIsWhole(WORD index, const BYTE* out, size_t capacity, DWORD count, const std::vector<BYTE>& alone)
{
    const size_t width = Width(index), spooler = alone.size() / width - 1;
    if (count < spooler + 1 || count > spooler + kCustomForms + 1 || count * width > capacity ||
        !std::equal(out, out + spooler * width, alone.begin()) ||
        !std::equal(alone.end() - width, alone.end(), out + (count - 1) * width) ||
        std::any_of(out + count * width, out + capacity, [](BYTE b) { return b != formtest::kUntouched; }))
        return false;
    for (DWORD k = static_cast<DWORD>(spooler); k + 1 < count; ++k)
    {
        const auto* slot = reinterpret_cast<const wchar_t*>(out + k * width);
        const std::wstring name(slot, wcsnlen(slot, kNameSlot));
        const POINT size = reinterpret_cast<const POINT*>(out)[k];
        bool whole = false;
        if (index == DC_PAPERNAMES) // a name of ours, the rest of its slot cleared
            for (int n = 0; n < kCustomForms; ++n)
                whole |= name == CustomName(n) &&
                         std::all_of(slot + name.size(), slot + kNameSlot, [](wchar_t c) { return c == 0; });
        else if (index == DC_PAPERS)
            whole = reinterpret_cast<const WORD*>(out)[k] == k + 1;
        else
            whole = size.x >= 1000 && size.x < (100 + kCustomForms) * 10 && size.x % 10 == 0 && size.y == size.x + 1000;
        if (!whole)
            return false;
    }
    return true;
}

TEST_F(Load, PaperAnswersStayWholeWhileFormsChange)
{
    HMODULE module = LoadLibraryW((testhost::BinDirectory() + L"\\tarvikui.dll").c_str());
    ASSERT_NE(nullptr, module);
    const auto caps = reinterpret_cast<decltype(&DrvDeviceCapabilities)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DrvDeviceCapabilities")));
    ASSERT_NE(nullptr, caps);
    const char* setting = std::getenv("TARVIK_LOAD_CALLS");
    const int calls = setting && std::atoi(setting) > 0 ? std::atoi(setting) : 250;
    const size_t capacity = (s_spoolerForms.size() + kCustomForms + 1) * kNameSlot * sizeof(wchar_t);

    std::vector<BYTE> alone[std::size(kIndexes)];
    for (size_t q = 0; q < std::size(kIndexes); ++q)
    {
        alone[q].resize(capacity);
        alone[q].resize(caps(s_printer, nullptr, kIndexes[q], alone[q].data(), nullptr) * Width(kIndexes[q]));
    }
    std::atomic<bool> stop(false);
    std::atomic<long> broken(0), answers(0), changes(0);
    const auto ask = [&](int thread, int rounds) {
        testhost::FencedBuffer out(capacity);
        for (int i = 0; i < rounds; ++i)
        {
            const WORD index = kIndexes[(thread + i) % 3];
            out.Place(capacity, nullptr, formtest::kUntouched);
            // Half the threads ask as the spooler does: by name, no handle.
            const DWORD count = thread % 2 ? caps(nullptr, const_cast<PWSTR>(L"Tarvik"), index, out.Data(), nullptr)
                                           : caps(s_printer, nullptr, index, out.Data(), nullptr);
            if (!out.GuardIntact() || !AnswerIsWhole(index, out.Data(), capacity, count, alone[(thread + i) % 3]))
                ++broken;
            ++answers;
        }
    };
    // Eight askers and one changer for `rounds` calls each asker.
    const auto run = [&](int rounds) {
        stop = false;
        std::thread changer([&] {
            CFormManager forms;
            for (int i = 0; !stop; ++i, ++changes)
            {
                const int k = i % kCustomForms;
                if ((i / kCustomForms) % 2 == 0)
                    forms.AddForm(CustomName(k).c_str(), 100 + k, 200 + k);
                else
                    forms.DeleteForm(CustomName(k).c_str());
            }
        });
        std::vector<std::thread> askers;
        for (int t = 0; t < kThreads; ++t)
            askers.emplace_back(ask, t, rounds);
        for (std::thread& thread : askers)
            thread.join();
        stop = true;
        changer.join();
    };
    // A first short run takes what the platform keeps for good (spooler
    // state, heap room, the debug stream's mutex).
    run(20);
    OutputDebugStringW(L"paper answers under load");
    const testhost::ProcessUsage before = testhost::CurrentProcessUsage();
    answers = 0;
    changes = 0;
    const auto start = std::chrono::steady_clock::now();
    run(calls);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const testhost::ProcessUsage after = testhost::CurrentProcessUsage();
    std::printf("paper answers under load: %d threads x %d calls, %ld answers, %ld form changes, %.1f s\n"
                "  broken answers %ld, handles %lu -> %lu, private bytes %.2f -> %.2f MiB\n",
                kThreads, calls, answers.load(), changes.load(), seconds, broken.load(), before.handles, after.handles,
                before.privateBytes / 1048576.0, after.privateBytes / 1048576.0);
    EXPECT_EQ(0, broken.load());
    EXPECT_LE(after.handles, before.handles + kHandleTolerance);
    EXPECT_LT(after.privateBytes, before.privateBytes + kMemoryTolerance);
    EXPECT_GT(changes.load(), 0);
}
} // namespace
