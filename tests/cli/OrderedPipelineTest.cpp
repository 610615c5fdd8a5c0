#include "cli/OrderedPipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tormel::cli {
namespace {

using namespace std::chrono_literals;
using Pipeline = OrderedPipeline<int, std::string>;

// Some items take longer than others, so that the workers finish out of order.
void unevenWork(int item)
{
    if (item % 7 == 3)
        std::this_thread::sleep_for(1ms);
}

// Points of a report: a later point of the same name replaces the earlier one; the
// result depends on the order in which the points are applied.
std::map<std::string, int> reportOf(std::size_t workers, int items)
{
    std::map<std::string, int> report;
    int next = 0;
    Pipeline pipeline(
            workers,
            2 * workers,
            [](int &item, std::size_t) {
                unevenWork(item);
                return "T" + std::to_string(item % 5);
            },
            [&](std::string &&name) { report[name] = next++; });
    for (int item = 0; item < items; ++item)
        pipeline.Submit(item);
    pipeline.Finish();
    return report;
}

TEST(OrderedPipelineTest, ResultsAreAppliedInInputOrderForAnyNumberOfWorkers)
{
    const std::map<std::string, int> oneByOne = reportOf(1, 200);
    EXPECT_EQ(oneByOne.at("T4"), 199);
    EXPECT_EQ(oneByOne.at("T0"), 195);
    for (std::size_t workers : {2, 3, 8})
        EXPECT_EQ(reportOf(workers, 200), oneByOne) << workers << " workers";
}

TEST(OrderedPipelineTest, OneWorkerComputesOnTheSubmittingThread)
{
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::thread::id> computedOn;
    std::vector<int> applied;
    Pipeline pipeline(
            1,
            4,
            [&](int &item, std::size_t) {
                computedOn.push_back(std::this_thread::get_id());
                return std::to_string(item);
            },
            // Each result is applied before the next item is even submitted.
            [&](std::string &&text) { applied.push_back(std::stoi(text)); });
    for (int item = 0; item < 3; ++item) {
        pipeline.Submit(item);
        EXPECT_EQ(applied.size(), std::size_t(item + 1));
    }
    pipeline.Finish();
    EXPECT_EQ(computedOn, std::vector<std::thread::id>(3, caller));
}

TEST(OrderedPipelineTest, AtMostInFlightItemsWhileTheOldestIsNotDone)
{
    constexpr std::size_t InFlight = 6;
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<int> computed = 0;
    std::atomic<int> submitted = 0;
    std::vector<int> applied;
    Pipeline pipeline(
            3,
            InFlight,
            [&](int &item, std::size_t) {
                if (item == 0)
                    released.wait();
                ++computed;
                return std::to_string(item);
            },
            [&](std::string &&text) { applied.push_back(std::stoi(text)); });

    std::thread producer([&] {
        for (int item = 0; item < 100; ++item) {
            pipeline.Submit(item);
            ++submitted;
        }
        pipeline.Finish();
    });
    // However long the first item takes, the producer is held at the limit.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while ((submitted < int(InFlight) || computed < int(InFlight) - 1)
           && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(submitted.load(), int(InFlight));
    EXPECT_EQ(computed.load(), int(InFlight) - 1);
    EXPECT_TRUE(applied.empty());
    release.set_value();
    producer.join();

    ASSERT_EQ(applied.size(), 100u);
    for (int item = 0; item < 100; ++item)
        EXPECT_EQ(applied[std::size_t(item)], item);
}

TEST(OrderedPipelineTest, EachWorkerStateIsUsedByOneThreadAtATime)
{
    constexpr std::size_t Workers = 4;
    std::vector<std::atomic<int>> busy(Workers);
    std::atomic<bool> shared = false;
    int count = 0;
    OrderedPipeline<int, int> pipeline(
            Workers,
            8,
            [&](int &item, std::size_t worker) {
                if (worker >= Workers || busy[worker]++ != 0)
                    shared = true;
                unevenWork(item);
                --busy[worker];
                return item;
            },
            [&](int &&) { ++count; });
    for (int item = 0; item < 300; ++item)
        pipeline.Submit(item);
    pipeline.Finish();
    EXPECT_FALSE(shared);
    EXPECT_EQ(count, 300);
}

// The first failure in input order is the one thrown, after every earlier result and
// before any later one, even when a later item failed sooner.
TEST(OrderedPipelineTest, FirstFailureInInputOrderStopsTheRun)
{
    for (std::size_t workers : {1, 2, 8}) {
        std::vector<int> applied;
        Pipeline pipeline(
                workers,
                2 * workers,
                [](int &item, std::size_t) {
                    if (item == 10) {
                        std::this_thread::sleep_for(20ms);
                        throw std::runtime_error("item 10");
                    }
                    if (item == 11)
                        throw std::runtime_error("item 11");
                    return std::to_string(item);
                },
                [&](std::string &&text) { applied.push_back(std::stoi(text)); });
        const auto run = [&] {
            for (int item = 0; item < 100; ++item)
                pipeline.Submit(item);
            pipeline.Finish();
        };
        try {
            run();
            ADD_FAILURE() << "no failure with " << workers << " workers";
        } catch (const std::runtime_error &error) {
            EXPECT_STREQ(error.what(), "item 10") << workers << " workers";
        }
        std::vector<int> expected;
        for (int item = 0; item < 10; ++item)
            expected.push_back(item);
        EXPECT_EQ(applied, expected) << workers << " workers";
        // A pipeline that failed stays failed.
        EXPECT_THROW(pipeline.Finish(), std::runtime_error);
    }
}

TEST(OrderedPipelineTest, FailureToApplyStopsTheWorkers)
{
    std::atomic<int> computed = 0;
    int applied = 0;
    Pipeline pipeline(
            2,
            4,
            [&](int &item, std::size_t) {
                ++computed;
                return std::to_string(item);
            },
            [&](std::string &&text) {
                if (text == "5")
                    throw std::runtime_error("full disk");
                ++applied;
            });
    EXPECT_THROW(
            {
                for (int item = 0; item < 1000; ++item)
                    pipeline.Submit(item);
                pipeline.Finish();
            },
            std::runtime_error);
    EXPECT_EQ(applied, 5);
    // Nothing is computed once the failure is known: at most the items in flight then.
    EXPECT_LE(computed.load(), 5 + 1 + 4);
}

// An error of the submitter's own (an input error found late) leaves the pipeline
// unfinished: it ends its workers without applying anything more.
TEST(OrderedPipelineTest, AbandonedPipelineEndsWithoutApplying)
{
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    int applied = 0;
    {
        Pipeline pipeline(
                4,
                8,
                [&](int &item, std::size_t) {
                    released.wait();
                    return std::to_string(item);
                },
                [&](std::string &&) { ++applied; });
        for (int item = 0; item < 3; ++item)
            pipeline.Submit(item);
        release.set_value();
    }
    EXPECT_EQ(applied, 0);
}

} // namespace
} // namespace tormel::cli
