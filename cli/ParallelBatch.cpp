#include "cli/ParallelBatch.h"

#include <algorithm>
#include <utility>

#include <sched.h>

namespace tormel::cli {

namespace {

// Objects handed to a thread at once, and groups waiting or computed per thread before
// the oldest is delivered: enough to keep every thread busy while some objects take
// longer, few enough to bound memory (128 objects per thread).
constexpr std::size_t GroupSize = 8;
constexpr std::size_t GroupsInFlightPerJob = 16;

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
    // One job hands on every object at once, as a run one after the other.
    , m_groupSize(jobs > 1 ? GroupSize : 1)
    , m_pipeline(
              jobs,
              GroupsInFlightPerJob * jobs,
              [this](Group &group, std::size_t worker) { return compute(group, worker); },
              [this](ComputedGroup &&group) { complete(std::move(group)); })
{}

void ParallelBatch::Submit(BatchObject &&object)
{
    m_group.push_back(std::move(object));
    if (m_group.size() == m_groupSize)
        m_pipeline.Submit(std::exchange(m_group, {}));
}

void ParallelBatch::Finish()
{
    if (!m_group.empty())
        m_pipeline.Submit(std::exchange(m_group, {}));
    m_pipeline.Finish();
}

ParallelBatch::ComputedGroup ParallelBatch::compute(Group &group, std::size_t worker)
{
    BatchRun &run = m_workers.empty() ? m_run : *m_workers[worker];
    ComputedGroup computed(group.size());
    for (std::size_t n = 0; n < group.size(); ++n) {
        const BatchObject &object = group[n];
        Computed &one = computed[n];
        one.InArray = object.InArray;
        try {
            one.Object = run.Compute(object.Request, object.FeedFileName);
            // A point changes the result object when it is added: its text waits for that.
            if (object.MakeText && !one.Object.Point)
                one.Text = ResultWriter::Text(one.Object.Output, object.InArray);
        } catch (...) {
            // The objects before it are delivered first, as in a run one after the other.
            one.Failure = std::current_exception();
            computed.resize(n + 1);
            break;
        }
    }
    return computed;
}

void ParallelBatch::complete(ComputedGroup &&group)
{
    for (Computed &one : group) {
        if (one.Failure)
            std::rethrow_exception(one.Failure);
        m_deliver({m_run.Complete(std::move(one.Object)), std::move(one.Text), one.InArray});
    }
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
