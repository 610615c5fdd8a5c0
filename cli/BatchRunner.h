#pragma once

#include "core/NumberFormat.h"
#include "feed/BatchInput.h"
#include "report/ReportTable.h"
#include "session/CalculationSheet.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace tormel::cli {

struct BatchOutcome
{
    // One result object per calculation object; an array when the input was one.
    nlohmann::ordered_json Output;
    // Every device was accepted, every calculation succeeded, every named point added.
    bool AllOk = true;
    // The report as the points of the whole run left it.
    ReportTable Report;
    // The calculation sheet of every object that was calculated, in order, when asked for.
    std::vector<CalculationSheet> Sheets;
};

// Computes every calculation object from the program's start state, in order, through
// the same session as the desktop program; only the report carries over between them,
// starting from the given one (an opened report, or an empty one).
struct SheetRequest
{
    std::string DateTime;
    // The file each object was read from, by the objects' order; empty for the standard
    // input. Missing entries count as empty.
    std::vector<std::string> FeedFileNames;
};
// With `sheets` every calculated object's sheet is kept.
BatchOutcome RunBatch(const BatchInput &input,
                      const NumberSeparators &separators,
                      ReportTable report = {},
                      const std::optional<SheetRequest> &sheets = std::nullopt);

} // namespace tormel::cli
