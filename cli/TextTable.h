#pragma once

#include "core/NumberFormat.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tormel::cli {

// What the table for a person shows of one calculation object.
struct TextTableRow
{
    std::size_t Position = 0; // in the input, from 1
    std::optional<std::string> Name;
    // The device was accepted, the calculation succeeded and the point was added.
    bool Ok = false;
    std::optional<double> Current; // Iокз, A, when the calculation succeeded
    std::optional<double> Margin;  // Iокз / Iср, with a device
    std::string DeviceVerdict;     // the main window's device status line
    // The texts of the further checks, one per column the table was given.
    std::vector<std::string> Checks;
    // The message boxes the windows would have shown, in order.
    std::vector<std::string> Messages;
};

// The row of an object from its result object, as the batch writes it in JSON.
TextTableRow TextTableRowOf(const nlohmann::ordered_json &result, std::size_t position);

// The results as a table for a person instead of JSON: a heading, one row per object
// (its position, point name, current, margin, further checks and device verdict, the
// verdict last as it is the longest) with the messages of the object under its row,
// and a closing count. The columns are as wide as the rows of the first block need;
// later rows keep those widths, so that a run of any size holds only one block.
class TextTableWriter
{
public:
    // Receives the text in pieces, in order.
    using Sink = std::function<void(std::string_view text)>;

    // `checkHeaders`: the headings of the further check columns.
    TextTableWriter(Sink sink,
                    const NumberSeparators &separators,
                    std::vector<std::string> checkHeaders = {},
                    std::size_t blockRows = 1000);

    void Add(const TextTableRow &row);
    // Writes what is held and the closing count.
    void Finish();

private:
    struct Cells
    {
        std::vector<std::string> Texts; // one per column, the verdict last
        std::vector<std::string> Messages;
    };

    Cells cellsOf(const TextTableRow &row) const;
    void measure(const std::vector<std::string> &texts);
    void writeHeldBlock();
    void writeRow(const Cells &cells);

    Sink m_sink;
    NumberSeparators m_separators;
    std::vector<std::string> m_headers;
    std::size_t m_blockRows;
    std::vector<std::size_t> m_widths;
    std::vector<Cells> m_held;
    bool m_widthsFixed = false;
    std::size_t m_objects = 0;
    std::size_t m_refused = 0;
};

} // namespace tormel::cli
