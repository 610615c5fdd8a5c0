// The whole command-line run in process: for any arguments (from a list that keeps
// every file inside the run's scratch folder) and any input document, tormel-calc ends
// with 0, 1 or 2, says what went wrong in at most one line, prints nothing and writes
// no report when it fails, and prints JSON when it succeeds.

#include "FuzzSupport.h"

#include "cli/CalcCommand.h"
#include "report/ReportFile.h"
#include "report/ReportTable.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

using tormel::fuzz::KnownFault;
using tormel::fuzz::Require;

// An output that refuses every character, as a full disk or a closed descriptor does.
class FailingBuffer : public std::streambuf
{
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char *, std::streamsize) override { return 0; }
};

constexpr const char *FailingOutput = "<failing output>";

struct Paths
{
    std::string input, report, okzReport, missingFolder, openCsv;
    std::string openCsvBytes; // what the report to open holds
};

std::string fileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const Paths &paths()
{
    static const Paths value = [] {
        const std::string folder = tormel::fuzz::ScratchFolder();
        Paths p{folder + "/input.json",
                folder + "/report.csv",
                folder + "/report.okz",
                folder + "/missing/report.csv",
                folder + "/open.csv",
                {}};
        tormel::ReportTable table;
        table.SetRow(0, {"К-1", "1", "2", "3", "4", "15", "5", "6", "7", "8", "---", ""});
        Require(tormel::SaveReportFile(table, p.openCsv).Ok, "the report to open is written");
        p.openCsvBytes = fileBytes(p.openCsv);
        return p;
    }();
    return value;
}

// The arguments that a byte of the first line picks. Every file an argument can name is
// in the scratch folder: "--report" takes its file from reportTargets() instead, so that
// no other argument ever becomes the name of a report written into the working folder.
std::vector<std::string> tokens()
{
    const Paths &p = paths();
    return {"--locale",   "ru_RU",     "en_US",     "fr_FR",      "ar_EG",  "xx_YY",
            "--locale=C", "--locale=", "--report",  "--report=",  "--open", p.openCsv,
            p.report,     "--help",    "--version", "--",         "-",      p.input,
            "--bogus",    "-x",        "",          FailingOutput};
}

std::vector<std::string> reportTargets()
{
    const Paths &p = paths();
    return {p.report,
            p.okzReport,
            p.missingFolder,
            tormel::fuzz::ScratchFolder(),
            p.openCsv,
            p.input,
            ""};
}

bool exists(const std::string &path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

// The report file that the arguments name, read as tormel-calc reads them; empty when
// none, or when --help or --version leave the report alone.
std::string reportNamed(const std::vector<std::string> &arguments)
{
    std::string report;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "--version")
            return {};
        if ((argument == "--locale" || argument == "--open") && i + 1 < arguments.size())
            ++i;
        else if (argument == "--report" && i + 1 < arguments.size())
            report = arguments[++i];
    }
    return report;
}

} // namespace

// The bytes up to the first line end pick the arguments; the rest is the input document,
// given on standard input and in the file that one argument names.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::size_t lineEnd = bytes.find('\n');
    const std::string picks
            = lineEnd == std::string::npos ? std::string() : bytes.substr(0, lineEnd);
    const std::string document = lineEnd == std::string::npos ? bytes : bytes.substr(lineEnd + 1);

    static const std::vector<std::string> choices = tokens();
    static const std::vector<std::string> targets = reportTargets();
    std::vector<std::string> arguments;
    bool failingOutput = false;
    for (std::size_t i = 0; i < picks.size(); ++i) {
        const std::string &token = choices[static_cast<unsigned char>(picks[i]) % choices.size()];
        if (token == FailingOutput) {
            failingOutput = true;
        } else if (token == "--report") {
            arguments.push_back(token);
            const unsigned char target = i + 1 < picks.size() ? picks[++i] : 0;
            arguments.push_back(targets[target % targets.size()]);
        } else {
            arguments.push_back(token);
        }
    }

    const Paths &p = paths();
    std::remove(p.report.c_str());
    std::remove(p.okzReport.c_str());
    std::ofstream(p.input, std::ios::binary | std::ios::trunc) << document;

    std::istringstream in(document);
    std::ostringstream out;
    FailingBuffer failing;
    std::ostream failingOut(&failing);
    std::ostringstream err;
    int status = -1;
    try {
        status = tormel::cli::RunCalcCommand(
                arguments, in, failingOutput ? failingOut : static_cast<std::ostream &>(out), err);
    } catch (const nlohmann::json::out_of_range &error) {
        if (tormel::fuzz::Tolerate(KnownFault::JsonNumberOutOfRange))
            return 0;
        Require(false, "tormel-calc ends with a status, not an exception", error.what());
    } catch (const std::exception &error) {
        Require(false, "tormel-calc ends with a status, not an exception", error.what());
    }

    Require(status >= 0 && status <= 2, "the exit status is 0, 1 or 2", std::to_string(status));
    const std::string report = reportNamed(arguments);
    // Only the report named by --report is written: the one opened stays as it was.
    if (report == p.openCsv)
        std::ofstream(p.openCsv, std::ios::binary | std::ios::trunc) << p.openCsvBytes;
    else
        Require(fileBytes(p.openCsv) == p.openCsvBytes, "the report opened is not written");
    const std::string message = err.str();
    if (!message.empty()) {
        const std::string line = message.substr(0, message.size() - 1);
        Require(message.back() == '\n' && tormel::fuzz::IsOneLineOrTolerated(line),
                "an error is one line",
                message);
        Require(line.rfind("tormel-calc: ", 0) == 0, "an error names the program", message);
    }

    if (failingOutput && status != 2 && tormel::fuzz::Tolerate(KnownFault::LostOutput))
        return 0;
    if (failingOutput)
        Require(status == 2 && !message.empty(), "output that cannot be written fails the run");

    if (status == 2) {
        Require(!message.empty(), "a failed run says why");
        Require(out.str().empty(), "a failed run prints nothing", out.str());
        // A run whose output failed may have saved its report before.
        if (!failingOutput)
            Require(!exists(p.report) && !exists(p.okzReport), "a failed run writes no report");
        return 0;
    }
    if (!failingOutput && (out.str().rfind("{", 0) == 0 || out.str().rfind("[", 0) == 0))
        Require(nlohmann::json::accept(out.str()), "the results are JSON", out.str());
    if (!report.empty())
        Require(exists(report), "a run that succeeds saves its report", report);
    return 0;
}
