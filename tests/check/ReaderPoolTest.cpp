#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "check/ReaderPool.h"
#include "support/TestDir.h"

namespace bw::check {
namespace {

using namespace std::chrono_literals;

// Takes every result until the pool says it is finished, reading files itself whenever none is
// ready, as a check does; fails past a few seconds.
std::vector<ParsedFile> Drain(ReaderPool& pool) {
    std::vector<ParsedFile> all;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!pool.Finished()) {
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the pool never finished";
            break;
        }
        for (auto& r : pool.Take(0ms)) all.push_back(std::move(r));
        for (auto& r : pool.Help()) all.push_back(std::move(r));
        for (auto& r : pool.Take(1ms)) all.push_back(std::move(r));
    }
    return all;
}

// With no thread of its own, the pool's files are read by the one that drains it.
class ReaderPoolThreads : public ::testing::TestWithParam<unsigned> {};
INSTANTIATE_TEST_SUITE_P(Counts, ReaderPoolThreads, ::testing::Values(0u, 1u, 2u));

TEST_P(ReaderPoolThreads, FilesAddedFromSeveralThreadsWhileReadingComeBackOnceEach) {
    test::TestDir dir;
    dir.createFile("Runtime/a.cr2", "{\ntextureMap :Runtime:Textures:a.jpg\n}\n");
    const std::string good = dir.host("Runtime/a.cr2"), gone = dir.host("Runtime/gone.cr2");
    const std::atomic<bool> cancel{false};
    ReaderPool pool(GetParam(), 1 << 20, cancel);
    std::vector<std::thread> adders;
    // One at a time, and ten at once.
    for (int t = 0; t < 3; ++t)
        adders.emplace_back([&, t] {
            for (int i = 0; i < 100; i += t ? 1 : 10) {
                std::vector<ReaderPool::File> files;
                for (int k = i; k < (t ? i + 1 : i + 10); ++k)
                    files.push_back({k % 10 ? good : gone, false});
                pool.Add(std::move(files));
            }
        });
    for (auto& t : adders) t.join();
    // Nothing may be lost between the last Add and Close.
    pool.Close();
    std::set<size_t> jobs;
    size_t failed = 0;
    for (const auto& r : Drain(pool)) {
        EXPECT_TRUE(jobs.insert(r.job).second) << "job " << r.job << " came back twice";
        if (!r.error.empty()) {
            ++failed;
            EXPECT_TRUE(r.refs.empty());
        } else {
            ASSERT_EQ(r.refs.size(), 1u);
            EXPECT_EQ(r.refs.path(0), ":Runtime:Textures:a.jpg");
            EXPECT_EQ(r.refs.line(0), 2u);
        }
    }
    EXPECT_EQ(jobs.size(), 300u);
    EXPECT_EQ(*jobs.rbegin(), 299u);
    EXPECT_EQ(failed, 30u);
}

TEST(ReaderPool, CancelEndsAPoolThatWasNeverClosed) {
    test::TestDir dir;
    dir.createFile("Runtime/a.cr2", std::string(100000, 'x'));
    std::atomic<bool> cancel{false};
    ReaderPool pool(2, 1 << 20, cancel);
    for (int i = 0; i < 5000; ++i) pool.Add({{dir.host("Runtime/a.cr2"), false}});
    cancel = true;
    EXPECT_LT(Drain(pool).size(), 5000u);
}

}  // namespace
}  // namespace bw::check
