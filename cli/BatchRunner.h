#pragma once

#include "calc/CalcTypes.h"
#include "core/MessageService.h"
#include "core/NumberFormat.h"
#include "feed/BatchInput.h"
#include "report/ReportTable.h"
#include "session/CalculationSheet.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tormel {
class TormelSession;
}

namespace tormel::cli {

// The calculation sheets a run is asked for: when they were made, and the file each
// object was read from.
struct SheetRequest
{
    std::string DateTime;
    // The file each object was read from, by the objects' order; empty for the standard
    // input. Missing entries count as empty.
    std::vector<std::string> FeedFileNames;
};

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

// The message boxes of a run without windows: every text is kept in order. The
// replacement question is answered "OK", so a point of an existing name replaces it.
class BatchAnswers : public IMessageService
{
public:
    void showMessage(const std::string &text) override { m_texts.push_back(text); }
    MessageAnswer askWarning(const std::string &text) override
    {
        m_texts.push_back(text);
        return MessageAnswer::Ok;
    }
    MessageAnswer askQuestion(const std::string &text, bool) override
    {
        m_texts.push_back(text);
        return MessageAnswer::Yes;
    }
    void showError(const std::string &text) override { m_texts.push_back(text); }

    const std::vector<std::string> &texts() const { return m_texts; }
    void clear() { m_texts.clear(); }

private:
    std::vector<std::string> m_texts;
};

// An object computed apart from the report: its result object is complete but for what
// its point adds (the point's messages, the status and the report row), which only the
// run that holds the report can add, in input order.
struct ComputedObject
{
    nlohmann::ordered_json Output;
    bool Ok = false;
    // The point the object asks for: its name and the result its row is made of.
    std::optional<std::pair<std::string, TCalcResult>> Point;
    std::optional<CalculationSheet> Sheet;
    // The calculation's refusal of an input of the largest currents, told after everything
    // else the object shows, the point's messages included.
    std::optional<std::string> MaxCurrentRefusal;
};

// A run of calculation objects, handed over one at a time: each is computed from the
// program's start state through the same session as the desktop program, brought back to
// that state before each object; only the report carries over between them, starting
// from the given one.
class BatchRun
{
public:
    explicit BatchRun(const NumberSeparators &separators, ReportTable report = {});
    ~BatchRun();

    // From now on the sheet of every calculated object is kept, dated as given.
    void KeepSheets(std::string dateTime);
    // From now on the sheet of every calculated object goes to `sink` as soon as it is
    // made, instead of being kept.
    void SendSheets(std::string dateTime, std::function<void(CalculationSheet &&)> sink);

    // The result object of one calculation, read from the named file (empty: the
    // standard input).
    nlohmann::ordered_json Run(const CalcRequest &request, const std::string &feedFileName = {});

    // Run in two steps, so that objects can be computed side by side, each by a run of
    // its own, and completed by the run that holds the report, in input order.
    ComputedObject Compute(const CalcRequest &request, const std::string &feedFileName = {});
    nlohmann::ordered_json Complete(ComputedObject &&object);

    bool AllOk() const { return m_allOk; }
    void SetNotAllOk() { m_allOk = false; }
    ReportTable &Report();
    // The sheets kept, in order; they grow with the run, as the report does.
    std::vector<CalculationSheet> &Sheets() { return m_sheets; }

private:
    // Appends the refusal of an input of the largest currents as the object's last message.
    static void tellMaxCurrentRefusal(ComputedObject &object);

    BatchAnswers m_answers;
    std::unique_ptr<TormelSession> m_session;
    bool m_allOk = true;
    std::optional<SheetRequest> m_sheetRequest;
    std::vector<CalculationSheet> m_sheets;
    std::function<void(CalculationSheet &&)> m_sheetSink;
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
    // The same in two steps, the first of which may run on any thread.
    static std::string Text(const nlohmann::ordered_json &result, bool inArray);
    void AddText(std::string_view text, bool inArray);
    // Closes the array, if the output is one, and ends the last line.
    void Finish(bool isArray);

private:
    Sink m_sink;
    std::size_t m_count = 0;
};

// Computes every calculation object from the program's start state, in order, through
// the same session as the desktop program; only the report carries over between them,
// starting from the given one (an opened report, or an empty one).
// With `sheets` every calculated object's sheet is kept.
BatchOutcome RunBatch(const BatchInput &input,
                      const NumberSeparators &separators,
                      ReportTable report = {},
                      const std::optional<SheetRequest> &sheets = std::nullopt);

} // namespace tormel::cli
