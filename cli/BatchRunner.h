#pragma once

#include "core/NumberFormat.h"
#include "feed/BatchInput.h"
#include "report/ReportTable.h"

#include <nlohmann/json.hpp>

namespace tormel::cli {

struct BatchOutcome
{
    // One result object per calculation object; an array when the input was one.
    nlohmann::ordered_json Output;
    // Every device was accepted, every calculation succeeded, every named point added.
    bool AllOk = true;
    // The report as the points of the whole run left it.
    ReportTable Report;
};

// Computes every calculation object from the program's start state, in order, through
// the same session as the desktop program; only the report carries over between them,
// starting from the given one (an opened report, or an empty one).
BatchOutcome
RunBatch(const BatchInput &input, const NumberSeparators &separators, ReportTable report = {});

} // namespace tormel::cli
