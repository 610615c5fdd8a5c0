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

Json BatchRun::Run(const CalcRequest &request, const std::string &feedFileName)
{
    TormelSession &session = *m_session;
    session.ResetToStart();
    m_answers.clear();

    const bool deviceAccepted = ApplyCalcRequest(session, request);
    const CalculationOutcome calculation = session.Calculate();
    const bool calculated = calculation.Done;
    // Without a name the point-name dialog is closed with "Отмена".
    const bool pointAdded
            = calculation.AskPointName && request.Name && session.AddPointNamed(*request.Name).Done;

    // A refused input of the largest currents is told after everything else.
    const bool maxCurrentsRead = session.TellMaxCurrentRefusal().Done;

    const bool ok
            = deviceAccepted && calculated && (!request.Name || pointAdded) && maxCurrentsRead;
    m_allOk = m_allOk && ok;
    Json out;
    out["Name"] = request.Name ? Json(*request.Name) : Json(nullptr);
    out["Ok"] = ok;
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
    out["ReportRow"] = pointAdded ? reportRowJson(session.Report(), *request.Name) : Json(nullptr);
    if (calculated && m_sheetRequest) {
        std::optional<CalculationSheet> sheet = BuildCalculationSheet(
                session, {request.Name.value_or(""), feedFileName, m_sheetRequest->DateTime});
        if (sheet)
            m_sheets.push_back(std::move(*sheet));
    }
    return out;
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
