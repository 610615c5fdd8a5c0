// What the feed analysis and the largest fault currents add to a calculation: the
// calculation and the verdict alone, beside the same followed by the analysis, and by the
// analysis and the largest currents, over the same varied feeds.
#include "calc/CalcDriver.h"
#include "core/NumberFormat.h"
#include "protection/DeviceDefenceUnit.h"
#include "protection/FeedAnalysis.h"
#include "protection/MaxCurrents.h"
#include "session/MainInputModel.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace tormel;

// Six cable sections of varying length on a 400 kVA transformer.
std::vector<TCalcInput> makeFeeds(int count)
{
    std::vector<TCalcInput> feeds;
    for (int i = 0; i < count; ++i) {
        MainInputModel model;
        model.WindKind.Text = "T/Y-0";
        model.TransPower.Text = "400";
        TCalcInput input = model.ToCalcInput();
        for (int n = 0; n < LineCount; ++n) {
            TLineInput &line = input.Lines[n];
            line.KindPerform = "Кабель с ПВХ изоляцией";
            line.Stuff = n % 2 ? "Алюминий" : "Медь";
            line.Ff = "50";
            line.Fn = "25";
            line.Length = std::to_string(5 + (i * 7 + n * 13) % 90);
            line.QuanPar = n == 0 ? "2" : "нет";
        }
        feeds.push_back(input);
    }
    return feeds;
}

struct Bench
{
    Bench()
        : feeds(makeFeeds(1000))
    {
        TDeviceDefenceInput breaker;
        breaker.TokAVnom = "100";
        breaker.TokNR = "5 (\"B\")";
        breaker.KZAV = "1.1";
        ComputeDeviceDefence(breaker, device, result, NumberSeparators::russian());
    }

    std::vector<TCalcInput> feeds;
    TCalcResult result;
    TDeviceDefenceState device;

    // One calculation as the session runs it: the device's two fields carry over.
    void calculate(const TCalcInput &feed)
    {
        CalcOutcome outcome = CalculateShortCircuit(feed);
        if (!outcome.Result)
            return;
        outcome.Result->Isr = result.Isr;
        outcome.Result->TimeSR = std::move(result.TimeSR);
        result = std::move(*outcome.Result);
        AlertDeviceDefence(device, result);
    }
};

void BM_CalculateAndJudge(benchmark::State &state)
{
    Bench bench;
    for (auto _ : state) {
        for (const TCalcInput &feed : bench.feeds) {
            bench.calculate(feed);
            benchmark::DoNotOptimize(bench.result.Iokz);
        }
    }
    state.SetItemsProcessed(state.iterations() * bench.feeds.size());
}

void BM_CalculateJudgeAndAnalyse(benchmark::State &state)
{
    Bench bench;
    for (auto _ : state) {
        for (const TCalcInput &feed : bench.feeds) {
            bench.calculate(feed);
            const TFeedAnalysis analysis = AnalyseFeed(bench.result, bench.device);
            benchmark::DoNotOptimize(analysis.MaxLength.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * bench.feeds.size());
}

void BM_CalculateJudgeAnalyseAndMaxCurrents(benchmark::State &state)
{
    Bench bench;
    // A finite supply, the user's transformer data and a breaking capacity: every
    // quantity is computed.
    const TMaxCurrentInput texts{"200", "4.5", "5.5", "25"};
    for (auto _ : state) {
        for (const TCalcInput &feed : bench.feeds) {
            bench.calculate(feed);
            const TFeedAnalysis analysis = AnalyseFeed(bench.result, bench.device);
            const TMaxCurrentReading reading = ReadMaxCurrentInput(texts, feed.WindKind, 400);
            const TMaxCurrents currents
                    = ComputeMaxCurrents(bench.result, analysis, bench.device, *reading.Settings);
            benchmark::DoNotOptimize(currents.Thermal.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * bench.feeds.size());
}

} // namespace

BENCHMARK(BM_CalculateAndJudge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateJudgeAndAnalyse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateJudgeAnalyseAndMaxCurrents)->Unit(benchmark::kMillisecond);
