#pragma once

#include "core/NumberFormat.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tormel::cli {

// Where a run stands: what the progress line is made from.
struct ProgressState
{
    std::uint64_t Objects = 0;   // computed and written
    std::uint64_t BytesRead = 0; // of the inputs
    // The size of all the inputs, when every one is a file of known size.
    std::optional<std::uint64_t> BytesTotal;
    double Seconds = 0; // since the run began
};

// The one-line text of the progress, such as
// "Объектов: 12 345 · 2 100/с · 45,2 из 200,0 МБ (22 %) · осталось 1 мин 05 с":
// the objects done, their rate, the input read of its total and the time left at the
// rate so far. A part that cannot be told yet (the rate and the time left in the first
// second, the total of the standard input) is left out.
std::string ProgressText(const ProgressState &state, const NumberSeparators &separators);

// The size of all the named inputs, when each is a regular file ("-", the standard
// input, has no size known in advance).
std::optional<std::uint64_t> InputFilesSize(const std::vector<std::string> &names);

// Whether the progress line is shown: while the error output is a terminal, always
// (--progress) or never (--no-progress).
enum class ProgressMode { Auto, Always, Never };

// Keeps the progress line on a descriptor up to date, from the first object on, rewriting
// it in place at most a few times a second, and erases it at the end. It writes nothing at all
// unless the mode asks for it (Auto: the descriptor is a terminal), so that the error output of a
// script keeps its single line.
class ProgressWriter
{
public:
    // Seconds since some fixed moment; the steady clock unless a test gives its own.
    using Clock = std::function<double()>;

    ProgressWriter(int fd,
                   ProgressMode mode,
                   const NumberSeparators &separators,
                   Clock clock = {},
                   double interval = 0.25);
    ~ProgressWriter();

    ProgressWriter(const ProgressWriter &) = delete;
    ProgressWriter &operator=(const ProgressWriter &) = delete;

    bool Active() const { return m_active; }

    // The size of all the inputs, when it is known.
    void SetBytesTotal(std::uint64_t bytes) { m_state.BytesTotal = bytes; }
    // Counted as the inputs are read; returns the count, so that a read can pass through.
    std::size_t AddBytesRead(std::size_t bytes)
    {
        m_state.BytesRead += bytes;
        return bytes;
    }
    // One more object done; the line is rewritten when the interval has passed.
    void AddObject();

    // Removes the line, if one was written; later updates write nothing.
    void Finish();

private:
    void show();
    void write(std::string_view text);
    std::size_t columns() const;

    int m_fd;
    bool m_active;
    NumberSeparators m_separators;
    Clock m_clock;
    double m_interval;
    double m_start;
    double m_nextShow;
    ProgressState m_state;
    bool m_shown = false;
};

} // namespace tormel::cli
