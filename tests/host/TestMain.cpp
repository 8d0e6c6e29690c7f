// Every test program's main: GoogleTest with the leak check, a heap watch
// around each test that fails it for blocks left allocated, whoever made them.
#include "HeapWatch.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

namespace
{
class LeakCheck : public testing::EmptyTestEventListener
{
  public:
    void OnTestStart(const testing::TestInfo&) override { m_watch = std::make_unique<testhost::HeapWatch>(); }
    void OnTestEnd(const testing::TestInfo&) override
    {
        const std::vector<size_t> alive = m_watch->AliveSizes();
        m_watch.reset();
        std::string sizes;
        for (size_t size : alive)
            sizes += " " + std::to_string(size);
        EXPECT_TRUE(alive.empty()) << alive.size() << " blocks allocated during the test and never released, of"
                                   << sizes << " bytes";
    }

  private:
    std::unique_ptr<testhost::HeapWatch> m_watch;
};

// Storage that the framework and the runtime allocate on first use and keep
// for the whole program (the scoped-trace stack, the regex locale): made
// here, before any watch, so that it never counts against a test.
void WarmUpLazyStorage()
{
    {
        SCOPED_TRACE("warm-up");
        SCOPED_TRACE("warm-up");
    }
    std::regex("(\\d+)").mark_count();
}
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    WarmUpLazyStorage();
    testing::UnitTest::GetInstance()->listeners().Append(new LeakCheck());
    return RUN_ALL_TESTS();
}
