#include "cli/ParallelBatch.h"

#include <algorithm>

#include <sched.h>

namespace tormel::cli {

namespace {

// Objects waiting or computed per thread before the oldest is delivered: enough to
// keep every thread busy while one object takes longer, few enough to bound memory.
constexpr std::size_t ObjectsInFlightPerJob = 8;

// A run per thread, keeping sheets as the main run does; none for one job, which
// computes with the main run itself on the calling thread.
std::vector<std::unique_ptr<BatchRun>> workerRuns(std::size_t jobs,
                                                  const NumberSeparators &separators,
                                                  const std::optional<std::string> &sheetDateTime)
{
    std::vector<std::unique_ptr<BatchRun>> runs;
    for (std::size_t n = 0; jobs > 1 && n < jobs; ++n) {
        runs.push_back(std::make_unique<BatchRun>(separators));
        if (sheetDateTime)
            runs.back()->KeepSheets(*sheetDateTime);
    }
    return runs;
}

} // namespace

ParallelBatch::ParallelBatch(BatchRun &run,
                             std::size_t jobs,
                             const NumberSeparators &separators,
                             const std::optional<std::string> &sheetDateTime,
                             Deliver deliver)
    : m_run(run)
    , m_workers(workerRuns(jobs, separators, sheetDateTime))
    , m_deliver(std::move(deliver))
    , m_pipeline(
              jobs,
              ObjectsInFlightPerJob * jobs,
              [this](BatchObject &object, std::size_t worker) { return compute(object, worker); },
              [this](Computed &&computed) {
                  FinishedObject done{m_run.Complete(std::move(computed.Object)),
                                      std::move(computed.Text),
                                      computed.InArray};
                  m_deliver(std::move(done));
              })
{}

void ParallelBatch::Submit(BatchObject &&object)
{
    m_pipeline.Submit(std::move(object));
}

void ParallelBatch::Finish()
{
    m_pipeline.Finish();
}

ParallelBatch::Computed ParallelBatch::compute(BatchObject &object, std::size_t worker)
{
    BatchRun &run = m_workers.empty() ? m_run : *m_workers[worker];
    Computed computed{
            run.Compute(object.Request, object.FeedFileName), std::nullopt, object.InArray};
    // A point changes the result object when it is added: its text waits for that.
    if (object.MakeText && !computed.Object.Point)
        computed.Text = ResultWriter::Text(computed.Object.Output, object.InArray);
    return computed;
}

std::size_t UsableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    return std::max(1, CPU_COUNT(&set));
}

} // namespace tormel::cli
