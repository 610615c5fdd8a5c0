#include "cli/ProgressLine.h"

#include "cli/TerminalText.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tormel::cli {

namespace {

// A count with its digits grouped as the user groups them; unlike the number format,
// never in the exponent form, however many objects a study has.
std::string groupedCount(std::uint64_t count, const NumberSeparators &separators)
{
    const std::string digits = std::to_string(count);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separators.group;
        text += digits[i];
    }
    return text;
}

// Both sizes in the unit that suits the larger one.
std::string bytesText(const ProgressState &state, const NumberSeparators &separators)
{
    const double largest = double(state.BytesTotal.value_or(state.BytesRead));
    double unit = 1e3;
    int decimals = 1;
    const char *name = " КБ";
    if (largest >= 1e9) {
        unit = 1e9;
        decimals = 2;
        name = " ГБ";
    } else if (largest >= 1e6) {
        unit = 1e6;
        name = " МБ";
    }
    std::string text = FormatNumber(double(state.BytesRead) / unit, decimals, separators);
    if (state.BytesTotal) {
        text += " из " + FormatNumber(double(*state.BytesTotal) / unit, decimals, separators);
        text += name;
        if (*state.BytesTotal > 0) {
            const std::uint64_t percent
                    = std::min<std::uint64_t>(100, state.BytesRead * 100 / *state.BytesTotal);
            text += " (" + std::to_string(percent) + " %)";
        }
        return text;
    }
    return text + name;
}

std::string durationText(double seconds)
{
    const auto whole = std::uint64_t(std::ceil(seconds));
    const auto twoDigits
            = [](std::uint64_t value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    if (whole >= 3600)
        return std::to_string(whole / 3600) + " ч " + twoDigits(whole / 60 % 60) + " мин";
    if (whole >= 60)
        return std::to_string(whole / 60) + " мин " + twoDigits(whole % 60) + " с";
    return std::to_string(whole) + " с";
}

} // namespace

std::optional<std::uint64_t> InputFilesSize(const std::vector<std::string> &names)
{
    std::uint64_t total = 0;
    for (const std::string &name : names) {
        struct stat status;
        if (name == "-" || ::stat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
            return std::nullopt;
        total += std::uint64_t(status.st_size);
    }
    return total;
}

std::string ProgressText(const ProgressState &state, const NumberSeparators &separators)
{
    std::string text = "Объектов: " + groupedCount(state.Objects, separators);
    // Estimates from less than a second of work would only flicker.
    const bool estimates = state.Seconds >= 1;
    if (estimates)
        text += " · " + FormatNumber(double(state.Objects) / state.Seconds, 0, separators) + "/с";
    if (state.BytesRead > 0 || state.BytesTotal)
        text += " · " + bytesText(state, separators);
    if (state.BytesTotal && state.BytesRead > 0 && state.BytesRead < *state.BytesTotal
        && estimates) {
        const double left = state.Seconds * double(*state.BytesTotal - state.BytesRead)
                            / double(state.BytesRead);
        text += " · осталось " + durationText(left);
    }
    return text;
}

ProgressWriter::ProgressWriter(
        int fd, ProgressMode mode, const NumberSeparators &separators, Clock clock, double interval)
    : m_fd(fd)
    , m_active(mode == ProgressMode::Always || (mode == ProgressMode::Auto && ::isatty(fd) == 1))
    , m_separators(separators)
    , m_clock(clock ? std::move(clock) : [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
    })
    , m_interval(interval)
    , m_start(m_clock())
    , m_nextShow(m_start)
{}

ProgressWriter::~ProgressWriter()
{
    Finish();
}

void ProgressWriter::AddObject()
{
    ++m_state.Objects;
    if (!m_active)
        return;
    const double now = m_clock();
    if (now < m_nextShow)
        return;
    m_nextShow = now + m_interval;
    m_state.Seconds = now - m_start;
    show();
}

void ProgressWriter::Finish()
{
    if (m_active && m_shown)
        write("\r\x1b[K");
    m_active = false;
}

void ProgressWriter::show()
{
    // One column is kept free: some terminals wrap as soon as the last one is written.
    const std::size_t width = columns();
    write("\r" + FitToColumns(ProgressText(m_state, m_separators), width > 1 ? width - 1 : 1)
          + "\x1b[K");
    m_shown = true;
}

void ProgressWriter::write(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(m_fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // The line is only a courtesy: a descriptor that fails is left alone.
            m_active = false;
            return;
        }
        text.remove_prefix(std::size_t(written));
    }
}

std::size_t ProgressWriter::columns() const
{
    winsize size{};
    if (::ioctl(m_fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace tormel::cli
