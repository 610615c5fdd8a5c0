#include "report/export/uno/CalcOffice.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/exc_hlp.hxx>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace tormel::uno {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto PollInterval = 50ms;
constexpr auto ExitWait = 10s;
constexpr const char *WaitingForOffice = "Запуск LibreOffice...";

OUString Utf8(const std::string &text)
{
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

std::string ToUtf8(const OUString &text)
{
    return OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

std::optional<OfficeInstall> OfficeAt(const std::filesystem::path &program)
{
    std::error_code error;
    const auto real = std::filesystem::canonical(program, error);
    if (error || access(real.c_str(), X_OK) != 0)
        return std::nullopt;
    const auto dir = real.parent_path();
    if (!std::filesystem::exists(dir / "types.rdb", error)
        || !std::filesystem::exists(dir / "fundamentalrc", error))
        return std::nullopt;
    return OfficeInstall{real.string(), dir.string()};
}

// A pipe name of this process alone, new for every connection.
std::string NewPipeName()
{
    static std::atomic<int> counter{0};
    const auto ticks = Clock::now().time_since_epoch().count();
    return "tormel_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + "_"
           + std::to_string(ticks % 1000000);
}

// Starts the office in a session of its own with its output going nowhere: an
// office that inherits the program's output would hold pipes open, and one in the
// program's session would end with it on a terminal's Ctrl+C.
pid_t SpawnOffice(const OfficeInstall &office,
                  const CalcOfficeOptions &options,
                  const std::string &pipeName)
{
    std::vector<std::string> args{office.program,
                                  "--nologo",
                                  "--nodefault",
                                  "--norestore",
                                  "--nolockcheck",
                                  "--accept=pipe,name=" + pipeName
                                          + ";urp;StarOffice.ComponentContext"};
    if (options.headless) {
        args.emplace_back("--headless");
        args.emplace_back("--invisible");
        args.emplace_back("--nofirststartwizard");
    }
    if (!options.profileUrl.empty())
        args.push_back("-env:UserInstallation=" + options.profileUrl);
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD, SIGQUIT})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int result
            = posix_spawn(&pid, office.program.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (result != 0)
        throw ExportError("Не удалось запустить " + office.program);
    return pid;
}

// Waits up to `wait` for the process to end; true when it has ended.
bool WaitForExit(pid_t pid, std::chrono::milliseconds wait)
{
    const auto deadline = Clock::now() + wait;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD))
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(PollInterval);
    }
}

// Ends the office's process group: politely, then for good.
void KillOffice(pid_t pid)
{
    kill(-pid, SIGTERM);
    if (!WaitForExit(pid, 3s)) {
        kill(-pid, SIGKILL);
        WaitForExit(pid, 3s);
    }
}

} // namespace

std::optional<OfficeInstall> FindOffice(const std::string &configuredProgram)
{
    if (!configuredProgram.empty())
        return OfficeAt(configuredProgram);
    if (const char *path = std::getenv("PATH")) {
        std::string_view rest(path);
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            const std::string_view dir = rest.substr(0, colon);
            if (!dir.empty()) {
                if (auto office = OfficeAt(std::filesystem::path(dir) / "soffice"))
                    return office;
            }
            if (colon == std::string_view::npos)
                break;
            rest.remove_prefix(colon + 1);
        }
    }
    return OfficeAt(std::filesystem::path(TORMEL_LO_PROGRAM_DIR) / "soffice");
}

bool OfficeHasWindows(const OfficeInstall &office)
{
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(office.programDir, error)) {
        if (entry.path().filename().string().rfind("libvclplug_", 0) == 0)
            return true;
    }
    return false;
}

Reference<css::uno::XComponentContext> BootstrapLocalContext(const OfficeInstall &office)
{
    // The local side needs the office's type libraries, named by its fundamentalrc;
    // without them the bridge fails on the first office interface it receives.
    const std::string bootstrap = "vnd.sun.star.pathname:" + office.programDir + "/fundamentalrc";
    setenv("URE_BOOTSTRAP", bootstrap.c_str(), 0);
    try {
        return cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception &) {
        throw ExportError("UNO: " + CaughtExceptionText());
    }
}

OfficeConnection::OfficeConnection(const Reference<css::uno::XComponentContext> &local,
                                   const OfficeInstall &office,
                                   const CalcOfficeOptions &options,
                                   IExportProgress &progress)
    : m_terminateOffice(options.terminateOffice)
{
    const std::string pipeName = NewPipeName();
    m_launcher = SpawnOffice(office, options, pipeName);
    m_launcherRunning = true;
    try {
        connect(local, pipeName, options.startTimeoutMs, progress);
    } catch (...) {
        if (m_launcherRunning)
            KillOffice(m_launcher);
        throw;
    }
}

void OfficeConnection::connect(const Reference<css::uno::XComponentContext> &local,
                               const std::string &pipeName,
                               int timeoutMs,
                               IExportProgress &progress)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    try {
        const auto connector = css::connection::Connector::create(local);
        Reference<css::connection::XConnection> connection;
        while (!connection.is()) {
            try {
                connection = connector->connect(Utf8("pipe,name=" + pipeName));
                break;
            } catch (const css::connection::NoConnectException &) {
            }
            int status = 0;
            if (m_launcherRunning && waitpid(m_launcher, &status, WNOHANG) == m_launcher) {
                // It ends at once when it hands the request to an office already running.
                m_launcherRunning = false;
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    throw ExportError("LibreOffice завершился при запуске (код "
                                      + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1)
                                      + ").");
            }
            if (Clock::now() >= deadline)
                throw ExportError("LibreOffice не ответил за " + std::to_string(timeoutMs / 1000)
                                  + " с.");
            if (!progress.keepWaiting(WaitingForOffice))
                throw OfficeCancelled();
            std::this_thread::sleep_for(PollInterval);
        }
        m_bridge = css::bridge::BridgeFactory::create(local)->createBridge(
                OUString(), "urp", connection, nullptr);
        m_remoteContext.set(m_bridge->getInstance("StarOffice.ComponentContext"),
                            css::uno::UNO_QUERY_THROW);
    } catch (const css::uno::Exception &) {
        throw ExportError("UNO: " + CaughtExceptionText());
    }
}

OfficeConnection::~OfficeConnection()
{
    if (m_terminateOffice)
        endOffice();
    if (m_bridge.is()) {
        try {
            Reference<css::lang::XComponent>(m_bridge, css::uno::UNO_QUERY_THROW)->dispose();
        } catch (const css::uno::Exception &) {
        }
    }
    m_remoteContext.clear();
    m_bridge.clear();
    // Collect the launcher if it has ended; the user's office keeps running otherwise.
    if (m_launcherRunning)
        waitpid(m_launcher, nullptr, WNOHANG);
}

void OfficeConnection::endOffice()
{
    try {
        if (m_remoteContext.is())
            css::frame::Desktop::create(m_remoteContext)->terminate();
    } catch (const css::uno::Exception &) {
        // A terminating office drops the bridge before it answers.
    }
    if (m_launcherRunning && !WaitForExit(m_launcher, ExitWait))
        KillOffice(m_launcher);
    m_launcherRunning = false;
}

Reference<css::lang::XMultiServiceFactory> OfficeConnection::serviceManager() const
{
    return {m_remoteContext->getServiceManager(), css::uno::UNO_QUERY_THROW};
}

bool OfficeConnection::alive() const
{
    try {
        return m_remoteContext.is() && m_remoteContext->getServiceManager().is();
    } catch (const css::uno::Exception &) {
        return false;
    }
}

std::string CaughtExceptionText()
{
    const css::uno::Any caught = cppu::getCaughtException();
    css::uno::Exception exception;
    caught >>= exception;
    const std::string message = ToUtf8(exception.Message);
    // Many refusals carry only the office's source position ("at ./sc/...").
    if (!message.empty() && message.rfind("at ", 0) != 0)
        return message;
    const std::string type = ToUtf8(caught.getValueTypeName());
    return message.empty() ? type : type + " " + message;
}

} // namespace tormel::uno
