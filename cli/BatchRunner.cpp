#include "cli/BatchRunner.h"

#include "cli/MaxCurrentsJson.h"
#include "feed/FeedFile.h"
#include "session/SessionFeed.h"
#include "session/TormelSession.h"

#include <utility>
#include <vector>

namespace tormel::cli {

namespace {

using Json = nlohmann::ordered_json;

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

} // namespace

BatchRun::BatchRun(const NumberSeparators &separators, ReportTable report)
    : m_session(std::make_unique<TormelSession>(m_answers, separators))
{
    m_session->Report() = std::move(report);
}

BatchRun::~BatchRun() = default;

ReportTable &BatchRun::Report()
{
    return m_session->Report();
}

void BatchRun::KeepSheets(std::string dateTime)
{
    m_sheetRequest = SheetRequest{std::move(dateTime), {}};
}

void BatchRun::SendSheets(std::string dateTime, std::function<void(CalculationSheet &&)> sink)
{
    KeepSheets(std::move(dateTime));
    m_sheetSink = std::move(sink);
}

void BatchRun::tellMaxCurrentRefusal(ComputedObject &object)
{
    if (!object.MaxCurrentRefusal)
        return;
    object.Ok = false;
    object.Output["Ok"] = false;
    object.Output["Messages"].push_back(*std::exchange(object.MaxCurrentRefusal, std::nullopt));
}

Json BatchRun::Run(const CalcRequest &request, const std::string &feedFileName)
{
    return Complete(Compute(request, feedFileName));
}

ComputedObject BatchRun::Compute(const CalcRequest &request, const std::string &feedFileName)
{
    TormelSession &session = *m_session;
    session.ResetToStart();
    m_answers.clear();

    const bool deviceAccepted = ApplyCalcRequest(session, request);
    const CalculationOutcome calculation = session.Calculate();
    const bool calculated = calculation.Done;
    // Without a name the point-name dialog is closed with "Отмена".
    const bool pointAsked = calculation.AskPointName && request.Name;

    ComputedObject object;
    object.Ok = deviceAccepted && calculated && (!request.Name || pointAsked);
    if (pointAsked)
        object.Point.emplace(*request.Name, session.Result());
    if (calculated && session.MaxCurrentRefusal())
        object.MaxCurrentRefusal = session.MaxCurrentRefusal()->Message;
    Json &out = object.Output;
    out["Name"] = request.Name ? Json(*request.Name) : Json(nullptr);
    out["Ok"] = object.Ok;
    out["Messages"] = m_answers.texts();
    out["IokzLabel"] = session.Status().IokzLabel;
    out["StatusDDLabel"] = session.Status().StatusDDLabel;
    out["StatusDDColor"] = session.Status().StatusDDColor == StatusColor::Red ? "red" : "black";
    out["Result"] = calculated ? resultJson(session.Result()) : Json(nullptr);
    out["ResultWindow"] = calculated ? resultWindowJson(session.ResultWindow()) : Json(nullptr);
    out["Analysis"]
            = calculated && session.Analysis() ? analysisJson(*session.Analysis()) : Json(nullptr);
    out["MaxCurrents"] = calculated && session.MaxCurrents()
                                 ? cli::MaxCurrentsJson(*session.MaxCurrents())
                                 : Json(nullptr);
    out["ReportRow"] = nullptr;
    // The sheet names only a point that the report holds: the name is written in when the
    // point is added.
    if (calculated && m_sheetRequest)
        object.Sheet = BuildCalculationSheet(session, {"", feedFileName, m_sheetRequest->DateTime});
    // Without a point to add, nothing else is told: the refusal is the last message now
    // (the output may be written out before the object is completed).
    if (!object.Point)
        tellMaxCurrentRefusal(object);
    return object;
}

Json BatchRun::Complete(ComputedObject &&object)
{
    if (object.Point) {
        // The point-name dialog's "Да", the last step of the calculation, on this run's
        // report with the result the object was computed to.
        const auto &[name, result] = *object.Point;
        m_answers.clear();
        const bool added = m_session->AddPointOf(name, result).Done;
        object.Ok = object.Ok && added;
        object.Output["Ok"] = object.Ok;
        for (const std::string &text : m_answers.texts())
            object.Output["Messages"].push_back(text);
        if (added) {
            object.Output["ReportRow"] = reportRowJson(m_session->Report(), name);
            if (object.Sheet)
                NameSheetPoint(*object.Sheet, name);
        }
    }
    tellMaxCurrentRefusal(object);
    m_allOk = m_allOk && object.Ok;
    if (object.Sheet && m_sheetSink)
        m_sheetSink(std::move(*object.Sheet));
    else if (object.Sheet)
        m_sheets.push_back(std::move(*object.Sheet));
    return std::move(object.Output);
}

void ResultWriter::Add(const Json &result, bool inArray)
{
    AddText(Text(result, inArray), inArray);
}

std::string ResultWriter::Text(const Json &result, bool inArray)
{
    std::string text;
    nlohmann::detail::serializer<Json> serializer(
            nlohmann::detail::output_adapter<char, std::string>(text),
            ' ',
            Json::error_handler_t::strict);
    // In the array, the library's own layout: each element on its own line, indented by
    // one step, its members by two.
    serializer.dump(result, true, false, 2, inArray ? 2 : 0);
    return text;
}

void ResultWriter::AddText(std::string_view text, bool inArray)
{
    if (inArray)
        m_sink(m_count == 0 ? "[\n  " : ",\n  ");
    ++m_count;
    m_sink(text);
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
