#pragma once

#include "core/NumberFormat.h"
#include "feed/BatchInput.h"
#include "report/ReportTable.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

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

// A run of calculation objects, handed over one at a time: each is computed from the
// program's start state through the same session as the desktop program; only the
// report carries over between them, starting from the given one.
class BatchRun
{
public:
    explicit BatchRun(const NumberSeparators &separators, ReportTable report = {});

    // The result object of one calculation.
    nlohmann::ordered_json Run(const CalcRequest &request);

    bool AllOk() const { return m_allOk; }
    void SetNotAllOk() { m_allOk = false; }
    ReportTable &Report() { return m_report; }

private:
    NumberSeparators m_separators;
    ReportTable m_report;
    bool m_allOk = true;
};

// Writes the results as the text of ordered_json::dump(2) of their array (or of the
// one object), one result at a time, so that a run of any size never holds them all.
class ResultWriter
{
public:
    // Receives the text in pieces, in order.
    using Sink = std::function<void(std::string_view text)>;

    explicit ResultWriter(Sink sink)
        : m_sink(std::move(sink))
    {}

    // InArray: the result is an element of the output array (else the whole output).
    void Add(const nlohmann::ordered_json &result, bool inArray);
    // Closes the array, if the output is one, and ends the last line.
    void Finish(bool isArray);

private:
    Sink m_sink;
    std::string m_text;
    std::size_t m_count = 0;
};

// Computes every calculation object from the program's start state, in order, through
// the same session as the desktop program; only the report carries over between them,
// starting from the given one (an opened report, or an empty one).
BatchOutcome
RunBatch(const BatchInput &input, const NumberSeparators &separators, ReportTable report = {});

} // namespace tormel::cli
