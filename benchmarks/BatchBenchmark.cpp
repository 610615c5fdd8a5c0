// Throughput of tormel-calc's batch: a document of many varied networks run as the
// program runs it (read, computed and written object by object, the output held in
// its temporary file until the end), on one thread and on two, beside the time to
// merely parse the same JSON, and beside the former way that held the whole document
// and all the results.
//
//   build/release/benchmarks/batch_benchmark
#include "RatioReport.h"
#include "cli/BatchRunner.h"
#include "cli/CalcCommand.h"
#include "feed/BatchInput.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>

namespace {

using tormel::BatchInput;
using tormel::ParseBatchInput;
using tormel::cli::RunBatch;

constexpr int Objects = 100000;

// A feeder per object: cable, SIP and busbar sections of varying length, some with a
// device, every tenth one refused, and a named point every hundredth.
std::string makeDocument(int count)
{
    const char *powers[] = {"25", "40", "63", "100", "160", "250", "400", "630"};
    nlohmann::json document = nlohmann::json::array();
    for (int i = 0; i < count; ++i) {
        nlohmann::json object;
        object["WindKind"] = "T/Y-0";
        object["TransPower"] = powers[i % 8];
        object["RArc"] = std::to_string(i % 41);
        nlohmann::json lines = nlohmann::json::array();
        lines.push_back({{"KindPerform", "Кабель с ПВХ изоляцией"},
                         {"Ff", "95"},
                         {"Fn", "50"},
                         {"Length", std::to_string(10 + i % 300)}});
        lines.push_back({{"KindPerform", "СИП-2"},
                         {"Stuff", "3*70+1*54.6"},
                         {"Length", std::to_string(i % 500)},
                         {"Temperature", i % 2 ? "20" : "70"}});
        lines.push_back({{"KindPerform", "Шинопровод Canalis"},
                         {"Stuff", "KS, 250A"},
                         {"Length", i % 10 == 9 ? "-1" : "12"}});
        object["Lines"] = lines;
        if (i % 3 == 0)
            object["Device"] = {{"TokAVnom", "25"}};
        if (i % 100 == 0)
            object["Name"] = "T" + std::to_string(i / 100);
        document.push_back(object);
    }
    return document.dump();
}

const std::string &document()
{
    static const std::string text = makeDocument(Objects);
    return text;
}

// Counts the output bytes and drops them, as a pipe to another program would take them;
// a hash of the pieces tells whether two runs wrote the same (they come in pieces of
// the same sizes when the bytes are the same).
class CountingBuffer : public std::streambuf
{
public:
    std::size_t Count = 0;
    std::size_t Hash = 0;

protected:
    std::streamsize xsputn(const char *text, std::streamsize count) override
    {
        Count += std::size_t(count);
        Hash = Hash * 1000003 ^ std::hash<std::string_view>()({text, std::size_t(count)});
        return count;
    }
    int_type overflow(int_type c) override
    {
        ++Count;
        Hash = Hash * 1000003 ^ std::size_t(c);
        return traits_type::not_eof(c);
    }
};

// The size and hash of the output, by the number of jobs.
std::map<std::int64_t, std::pair<std::size_t, std::size_t>> &outputs()
{
    static std::map<std::int64_t, std::pair<std::size_t, std::size_t>> written;
    return written;
}

void BM_ParseOnly(benchmark::State &state)
{
    for (auto _ : state) {
        BatchInput input = ParseBatchInput(document());
        benchmark::DoNotOptimize(input.Requests.data());
    }
    state.SetItemsProcessed(state.iterations() * Objects);
}

// What tormel-calc does with the document on its standard input, with the given
// number of jobs.
void BM_WholeRun(benchmark::State &state)
{
    const std::string jobs = std::to_string(state.range(0));
    std::size_t written = 0;
    for (auto _ : state) {
        std::istringstream in(document());
        CountingBuffer sink;
        std::ostream out(&sink);
        std::ostringstream err;
        const int status
                = tormel::cli::RunCalcCommand({"--locale", "ru_RU", "--jobs", jobs}, in, out, err);
        if (status > 1)
            state.SkipWithError(err.str().c_str());
        written = sink.Count;
        outputs()[state.range(0)] = {sink.Count, sink.Hash};
    }
    state.SetItemsProcessed(state.iterations() * Objects);
    state.counters["output_MB"] = double(written) / 1e6;
}

// The whole document and all the results held at once, then printed in one piece.
void BM_WholeRunHeld(benchmark::State &state)
{
    for (auto _ : state) {
        const BatchInput input = ParseBatchInput(document());
        auto outcome = RunBatch(input, tormel::NumberSeparators::russian());
        const std::string text = outcome.Output.dump(2) + "\n";
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * Objects);
}

} // namespace

BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WholeRun)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WholeRunHeld)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    return tormel::bench::RunWithRatios(argc, argv, [](const auto &seconds) {
        using tormel::bench::PrintRatio;
        std::printf("Time against parsing alone (goal: whole run at most 2):\n");
        PrintRatio(seconds,
                   "  whole run, streamed",
                   "BM_WholeRun/1/iterations:3",
                   "BM_ParseOnly/iterations:3");
        PrintRatio(seconds,
                   "  whole run, held at once",
                   "BM_WholeRunHeld/iterations:3",
                   "BM_ParseOnly/iterations:3");
        std::printf("Throughput of --jobs 2 against --jobs 1 (goal: at least 1.8):\n");
        PrintRatio(seconds,
                   "  one job's time over two jobs' time",
                   "BM_WholeRun/1/iterations:3",
                   "BM_WholeRun/2/iterations:3");
        const auto &written = outputs();
        if (written.count(1) && written.count(2))
            std::printf("  output of two jobs the same as of one: %s\n",
                        written.at(1) == written.at(2) ? "yes" : "NO");
    });
}
