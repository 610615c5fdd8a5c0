// Saving and opening a large report, next to copying the same file's bytes.
//
//   report_benchmark --benchmark_filter=100000
//
// The open must grow linearly with the number of points; the Complexity lines
// of the output show the fitted order, and the ratios at the end compare the save
// and the open with the copy of the same bytes at each size.

#include "calc/CalcTypes.h"
#include "report/AskNumberModel.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"

#include "RatioReport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace tormel;

// A report of realistic points, as the point-name dialog writes them.
ReportTable LargeReport(int points)
{
    TCalcResult result;
    result.Rt = 1957.2;
    result.Xt = 2417.24;
    result.RLineSum = 1234.567;
    result.XLineSum = 98.76;
    result.Rother = 40;
    result.Rsum = 2009.34;
    result.Xsum = 904.5;
    result.Zsum = 2203.51;
    result.Isr = 176;
    result.TimeSR = "Тср < 0,4 с";
    ReportTable table;
    table.SetRowCount(points);
    for (int row = 0; row < points; ++row) {
        result.Iokz = 100 + row;
        table.SetRow(
                row,
                MakeReportRow("К-" + std::to_string(row + 1), result, NumberSeparators::russian()));
    }
    return table;
}

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern
                = (std::filesystem::temp_directory_path() / "tormel-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    std::string file(const char *name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

void SetCounters(benchmark::State &state, const std::string &file)
{
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations())
                            * int64_t(std::filesystem::file_size(file)));
}

void BM_SaveReport(benchmark::State &state)
{
    const TempFolder folder;
    const std::string file = folder.file("report.csv");
    const ReportTable table = LargeReport(int(state.range(0)));
    for (auto _ : state) {
        if (!SaveReportFile(table, file).Ok)
            state.SkipWithError("save failed");
    }
    SetCounters(state, file);
}

void BM_OpenReport(benchmark::State &state)
{
    const TempFolder folder;
    const std::string file = folder.file("report.csv");
    if (!SaveReportFile(LargeReport(int(state.range(0))), file).Ok)
        state.SkipWithError("save failed");
    ReportTable table;
    for (auto _ : state) {
        ParsedReport report;
        if (!ReadReportFile(file, ReportFileFormat::Semicolon, report).Ok)
            state.SkipWithError("open failed");
        LoadParsedReport(table, std::move(report));
        benchmark::DoNotOptimize(table.RowCount());
    }
    if (table.RowsInUseCount() != state.range(0))
        state.SkipWithError("wrong row count");
    SetCounters(state, file);
}

void BM_CopyFileBytes(benchmark::State &state)
{
    const TempFolder folder;
    const std::string file = folder.file("report.csv");
    const std::string copy = folder.file("copy.csv");
    if (!SaveReportFile(LargeReport(int(state.range(0))), file).Ok)
        state.SkipWithError("save failed");
    for (auto _ : state) {
        std::string bytes;
        if (!ReadFileBytes(file, bytes).Ok || !WriteFileReplacing(copy, bytes).Ok)
            state.SkipWithError("copy failed");
    }
    SetCounters(state, file);
}

// The same copy by the standard library, without the safe replacement.
void BM_CopyFileSystem(benchmark::State &state)
{
    const TempFolder folder;
    const std::string file = folder.file("report.csv");
    const std::string copy = folder.file("copy.csv");
    if (!SaveReportFile(LargeReport(int(state.range(0))), file).Ok)
        state.SkipWithError("save failed");
    for (auto _ : state) {
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
    }
    SetCounters(state, file);
}

constexpr int PointCountList[] = {25000, 50000, 100000, 200000, 400000};

// From 25,000 points up the rows no longer fit in the processor's caches, so
// the fitted order shows how the time grows with the report, not the cache.
void PointCounts(benchmark::internal::Benchmark *benchmark)
{
    for (const int points : PointCountList)
        benchmark->Arg(points);
}

} // namespace

BENCHMARK(BM_SaveReport)->Apply(PointCounts)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_OpenReport)->Apply(PointCounts)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_CopyFileBytes)->Apply(PointCounts)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_CopyFileSystem)->Apply(PointCounts)->Unit(benchmark::kMillisecond)->Complexity();

int main(int argc, char **argv)
{
    return tormel::bench::RunWithRatios(argc, argv, [](const auto &seconds) {
        using tormel::bench::PrintRatio;
        std::printf("Time against copying the same bytes (goal: at most 3 at 100000):\n");
        for (const int points : PointCountList) {
            const std::string n = "/" + std::to_string(points);
            PrintRatio(seconds, "  save" + n, "BM_SaveReport" + n, "BM_CopyFileBytes" + n);
            PrintRatio(seconds, "  open" + n, "BM_OpenReport" + n, "BM_CopyFileBytes" + n);
        }
        std::printf("Time per point against 25000 points (linear: near 1):\n");
        for (const int points : PointCountList) {
            const std::string n = "/" + std::to_string(points);
            const auto scaled = [&](const char *name) {
                const auto at = seconds.find(std::string(name) + n);
                const auto base = seconds.find(std::string(name) + "/25000");
                if (at != seconds.end() && base != seconds.end() && base->second > 0)
                    std::printf("  %-14s %-8d %6.2f\n",
                                name + 3,
                                points,
                                at->second / base->second * 25000.0 / points);
            };
            scaled("BM_SaveReport");
            scaled("BM_OpenReport");
        }
    });
}
