#pragma once

#include "core/FileDialogService.h"
#include "core/MessageService.h"
#include "report/ReportTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace tormel::testing {

// Records every box and answers the questions from a script; an unscripted
// question is answered with Cancel (or No), as closing the box would.
class FakeMessages : public IMessageService
{
public:
    struct Shown
    {
        std::string Kind; // "message", "warning", "question", "error"
        std::string Text;
    };

    std::vector<Shown> Boxes;
    std::deque<MessageAnswer> Answers;

    void showMessage(const std::string &text) override { Boxes.push_back({"message", text}); }
    MessageAnswer askWarning(const std::string &text) override
    {
        Boxes.push_back({"warning", text});
        return next(MessageAnswer::Cancel);
    }
    MessageAnswer askQuestion(const std::string &text, bool withCancel) override
    {
        Boxes.push_back({"question", text});
        return next(withCancel ? MessageAnswer::Cancel : MessageAnswer::No);
    }
    void showError(const std::string &text) override { Boxes.push_back({"error", text}); }

private:
    MessageAnswer next(MessageAnswer whenClosed)
    {
        if (Answers.empty())
            return whenClosed;
        const MessageAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

// Answers the file dialogs from a script; an unscripted dialog is cancelled.
class FakeFileDialogs : public IFileDialogService
{
public:
    std::deque<std::optional<std::string>> Paths;
    int SaveDialogs = 0;
    int OpenDialogs = 0;
    std::vector<FileFilter> LastFilters;
    std::string LastDefaultExtension;

    std::optional<std::string> askSaveFileName(const FileFilter &filter,
                                               const std::string &defaultExtension) override
    {
        ++SaveDialogs;
        LastFilters = {filter};
        LastDefaultExtension = defaultExtension;
        return next();
    }
    std::optional<std::string> askOpenFileName(const std::vector<FileFilter> &filters,
                                               const std::string &defaultExtension) override
    {
        ++OpenDialogs;
        LastFilters = filters;
        LastDefaultExtension = defaultExtension;
        return next();
    }

private:
    std::optional<std::string> next()
    {
        if (Paths.empty())
            return std::nullopt;
        std::optional<std::string> path = Paths.front();
        Paths.pop_front();
        return path;
    }
};

// A point row with recognisable texts: "<name>|<column>" in every value cell.
inline ReportRow PointRow(const std::string &name)
{
    ReportRow row;
    row[0] = name;
    for (int col = 1; col < ReportTable::ColCount; ++col)
        row[std::size_t(col)] = name + "-" + std::to_string(col);
    return row;
}

// A table holding the given points from row 0 down.
inline ReportTable TableWithPoints(int count)
{
    ReportTable table;
    table.SetRowCount(count);
    for (int row = 0; row < count; ++row)
        table.SetRow(row, PointRow("P" + std::to_string(row + 1)));
    return table;
}

// A fresh folder for one test, removed afterwards.
class TempDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern
                = (std::filesystem::temp_directory_path() / "tormel-report-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    std::string path(const std::string &name) const { return (m_dir / name).string(); }

    static std::string readBytes(const std::string &file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void writeBytes(const std::string &file, const std::string &bytes)
    {
        std::ofstream out(file, std::ios::binary);
        out << bytes;
    }
    // Names in the folder, to see that no temporary file is left behind.
    std::vector<std::string> folderEntries() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::filesystem::path m_dir;
};

} // namespace tormel::testing
