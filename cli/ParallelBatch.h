#pragma once

#include "cli/BatchRunner.h"
#include "cli/OrderedPipeline.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tormel::cli {

// One object handed to the run, with what its result depends on besides its request.
struct BatchObject
{
    CalcRequest Request;
    std::string FeedFileName; // for its sheet
    bool InArray = false;     // its result is an element of the output array
    // Its text is made while it is computed: the result object is not changed after.
    bool MakeText = false;
};

// An object done, in input order.
struct FinishedObject
{
    nlohmann::ordered_json Output;
    // ResultWriter::Text of the output, when it was made with the object.
    std::optional<std::string> Text;
    bool InArray = false;
};

// The objects of a run computed side by side on `jobs` threads, each thread with a
// session of its own brought to the start state for every object, and completed in
// input order by the run that holds the report: a point replaces an earlier one of the
// same name exactly as one object after the other would, and the sheets, the status and
// every message are the same. With one job everything happens on the calling thread.
class ParallelBatch
{
public:
    // Receives every object done, in input order, on the calling thread.
    using Deliver = std::function<void(FinishedObject &&object)>;

    // `sheetDateTime`: the date of the sheets, when the run keeps them.
    ParallelBatch(BatchRun &run,
                  std::size_t jobs,
                  const NumberSeparators &separators,
                  const std::optional<std::string> &sheetDateTime,
                  Deliver deliver);

    // Hands the object on; delivers the objects done so far.
    void Submit(BatchObject &&object);
    // Delivers the rest. A failure of a delivery (or of a computation) is thrown from
    // Submit or Finish after the objects before it were delivered, and ends the run.
    void Finish();

private:
    struct Computed
    {
        ComputedObject Object;
        std::optional<std::string> Text;
        bool InArray = false;
        std::exception_ptr Failure; // of the computation, thrown when its turn comes
    };
    // The threads take the objects a few at a time, so that handing them over costs
    // little beside computing them.
    using Group = std::vector<BatchObject>;
    using ComputedGroup = std::vector<Computed>;

    ComputedGroup compute(Group &group, std::size_t worker);
    void complete(ComputedGroup &&group);

    BatchRun &m_run;
    std::vector<std::unique_ptr<BatchRun>> m_workers;
    Deliver m_deliver;
    std::size_t m_groupSize;
    Group m_group; // objects not yet handed on
    OrderedPipeline<Group, ComputedGroup> m_pipeline;
};

// The number of threads the process may run on at once (its CPU affinity), at least 1.
std::size_t UsableCores();

} // namespace tormel::cli
