// Throughput of tormel-calc's batch: calculations per second for a document of many
// varied networks, beside the time to merely parse the same JSON.
#include "cli/BatchRunner.h"
#include "feed/BatchInput.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

using tormel::BatchInput;
using tormel::ParseBatchInput;
using tormel::cli::RunBatch;

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
    static const std::string text = makeDocument(100000);
    return text;
}

void BM_ParseOnly(benchmark::State &state)
{
    for (auto _ : state) {
        BatchInput input = ParseBatchInput(document());
        benchmark::DoNotOptimize(input.Requests.data());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

void BM_ParseAndCalculate(benchmark::State &state)
{
    for (auto _ : state) {
        const BatchInput input = ParseBatchInput(document());
        auto outcome = RunBatch(input, tormel::NumberSeparators::russian());
        benchmark::DoNotOptimize(outcome.AllOk);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

} // namespace

BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ParseAndCalculate)->Unit(benchmark::kMillisecond)->Iterations(3);
