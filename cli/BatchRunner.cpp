#include "cli/BatchRunner.h"

#include "core/MessageService.h"
#include "feed/FeedFile.h"
#include "session/TormelSession.h"

#include <utility>
#include <vector>

namespace tormel::cli {

namespace {

using Json = nlohmann::ordered_json;

// The message boxes of a run without windows: every text is kept in order. The
// replacement question is answered "OK", so a point of an existing name replaces it.
class CollectedMessages : public IMessageService
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

private:
    std::vector<std::string> m_texts;
};

Json resultJson(const TCalcResult &result)
{
    const auto array = [](const std::array<double, LineCount> &values) {
        Json list = Json::array();
        for (double value : values)
            list.push_back(value);
        return list;
    };
    return Json{{"Rt", result.Rt},
                {"Xt", result.Xt},
                {"Zt", result.Zt},
                {"RLine", array(result.RLine)},
                {"XLine", array(result.XLine)},
                {"ZLine", array(result.ZLine)},
                {"RLineSum", result.RLineSum},
                {"XLineSum", result.XLineSum},
                {"ZLineSum", result.ZLineSum},
                {"Rother", result.Rother},
                {"Rsum", result.Rsum},
                {"Xsum", result.Xsum},
                {"Zsum", result.Zsum},
                {"Iokz", result.Iokz},
                {"Isr", result.Isr},
                {"TimeSR", result.TimeSR}};
}

Json analysisJson(const TFeedAnalysis &analysis)
{
    const auto optional = [](const auto &value) { return value ? Json(*value) : Json(nullptr); };
    Json points = Json::array();
    for (double current : analysis.PointCurrents)
        points.push_back(current);
    Json lengths = Json::array();
    for (const std::optional<double> &length : analysis.MaxLength)
        lengths.push_back(optional(length));
    return Json{{"PointCurrents", points},
                {"Margin", optional(analysis.Margin)},
                {"LoopLimit", optional(analysis.LoopLimit)},
                {"MaxLength", lengths},
                {"LargestDevice", optional(analysis.LargestDevice)}};
}

Json resultWindowJson(const ResultWindowModel &window)
{
    Json labels = Json::object();
    for (const auto &[name, text] : window.Labels())
        labels[name] = text;
    return labels;
}

Json reportRowJson(const ReportTable &report, const std::string &name)
{
    for (int row = 0; row < report.RowCount(); ++row) {
        if (report.Cell(0, row) != name)
            continue;
        Json cells = Json::array();
        for (int col = 0; col < ReportTable::ColCount; ++col)
            cells.push_back(report.Cell(col, row));
        return cells;
    }
    return nullptr;
}

struct RequestOutcome
{
    Json Output;
    bool Ok = false;
    std::optional<CalculationSheet> Sheet;
};

RequestOutcome runRequest(const CalcRequest &request,
                          const NumberSeparators &separators,
                          ReportTable &report,
                          const SheetRequest *sheets,
                          const std::string &feedFileName)
{
    CollectedMessages messages;
    TormelSession session(messages, separators);
    session.Report() = std::move(report);

    bool pointAdded = false;
    session.ShowPointNameDialog = [&] {
        // Without a name the dialog is closed with "Отмена".
        if (!request.Name)
            return;
        session.AskNumber().SetNumberEditText(*request.Name);
        pointAdded = session.OKButtonClick();
    };

    const bool deviceAccepted = ApplyCalcRequest(session, request);
    session.StartBitBtnClick();
    const bool calculated = session.Status().ResultMenuEnabled;

    RequestOutcome outcome;
    outcome.Ok = deviceAccepted && calculated && (!request.Name || pointAdded);
    Json &out = outcome.Output;
    out["Name"] = request.Name ? Json(*request.Name) : Json(nullptr);
    out["Ok"] = outcome.Ok;
    out["Messages"] = messages.texts();
    out["IokzLabel"] = session.Status().IokzLabel;
    out["StatusDDLabel"] = session.Status().StatusDDLabel;
    out["StatusDDColor"] = session.Status().StatusDDColor == StatusColor::Red ? "red" : "black";
    out["Result"] = calculated ? resultJson(session.Result()) : Json(nullptr);
    out["ResultWindow"] = calculated ? resultWindowJson(session.ResultWindow()) : Json(nullptr);
    out["Analysis"]
            = calculated && session.Analysis() ? analysisJson(*session.Analysis()) : Json(nullptr);
    out["ReportRow"] = pointAdded ? reportRowJson(session.Report(), *request.Name) : Json(nullptr);
    // The sheet names only a point that the report holds, not a name it refused.
    if (calculated && sheets)
        outcome.Sheet = BuildCalculationSheet(
                session, {pointAdded ? *request.Name : "", feedFileName, sheets->DateTime});

    report = std::move(session.Report());
    return outcome;
}

} // namespace

BatchRun::BatchRun(const NumberSeparators &separators, ReportTable report)
    : m_separators(separators)
    , m_report(std::move(report))
{}

void BatchRun::KeepSheets(std::string dateTime)
{
    m_sheetRequest = SheetRequest{std::move(dateTime), {}};
}

void BatchRun::SendSheets(std::string dateTime, std::function<void(CalculationSheet &&)> sink)
{
    KeepSheets(std::move(dateTime));
    m_sheetSink = std::move(sink);
}

Json BatchRun::Run(const CalcRequest &request, const std::string &feedFileName)
{
    RequestOutcome one = runRequest(request,
                                    m_separators,
                                    m_report,
                                    m_sheetRequest ? &*m_sheetRequest : nullptr,
                                    feedFileName);
    m_allOk = m_allOk && one.Ok;
    if (one.Sheet && m_sheetSink)
        m_sheetSink(std::move(*one.Sheet));
    else if (one.Sheet)
        m_sheets.push_back(std::move(*one.Sheet));
    return std::move(one.Output);
}

void ResultWriter::Add(const Json &result, bool inArray)
{
    m_text.clear();
    unsigned int indent = 0;
    if (inArray) {
        // The library's own array layout: each element on its own line, indented by
        // one step, its members by two.
        m_text = m_count == 0 ? "[\n  " : ",\n  ";
        indent = 2;
    }
    nlohmann::detail::serializer<Json> serializer(
            nlohmann::detail::output_adapter<char, std::string>(m_text),
            ' ',
            Json::error_handler_t::strict);
    serializer.dump(result, true, false, 2, indent);
    ++m_count;
    m_sink(m_text);
}

void ResultWriter::Finish(bool isArray)
{
    if (isArray)
        m_sink(m_count == 0 ? "[]\n" : "\n]\n");
    else
        m_sink("\n");
}

BatchOutcome RunBatch(const BatchInput &input,
                      const NumberSeparators &separators,
                      ReportTable report,
                      const std::optional<SheetRequest> &sheets)
{
    BatchRun run(separators, std::move(report));
    Json results = Json::array();
    if (sheets)
        run.KeepSheets(sheets->DateTime);
    for (std::size_t n = 0; n < input.Requests.size(); ++n) {
        const std::string noFile;
        const std::string &feedFileName
                = sheets && n < sheets->FeedFileNames.size() ? sheets->FeedFileNames[n] : noFile;
        results.push_back(run.Run(input.Requests[n], feedFileName));
    }
    BatchOutcome outcome;
    outcome.AllOk = run.AllOk();
    outcome.Report = std::move(run.Report());
    outcome.Sheets = std::move(run.Sheets());
    outcome.Output = input.IsArray ? std::move(results) : std::move(results.at(0));
    return outcome;
}

} // namespace tormel::cli
