#include "cli/ProgressLine.h"
#include "cli/TerminalText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tormel::cli {
namespace {

struct TextCase
{
    const char *name;
    ProgressState state;
    const char *expected;
};

void PrintTo(const TextCase &test, std::ostream *out)
{
    *out << test.name;
}

class ProgressTextTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(ProgressTextTest, Text)
{
    EXPECT_EQ(ProgressText(GetParam().state, NumberSeparators::english()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
        Parts,
        ProgressTextTest,
        ::testing::Values(
                TextCase{"NothingYet", {0, 0, std::nullopt, 0}, "Объектов: 0"},
                TextCase{"StandardInputHasNoTotalAndNoTimeLeft",
                         {10, 1500, std::nullopt, 1},
                         "Объектов: 10 · 10/с · 1.5 КБ"},
                TextCase{"CountsBeyondSevenDigitsStayWhole",
                         {12345678, 45200000, 200000000, 2},
                         "Объектов: 12,345,678 · 6,172,839/с · 45.2 из 200.0 МБ (22 %) · "
                         "осталось 7 с"},
                TextCase{"GigabytesAndMinutes",
                         {1000, 500000000, 2000000000, 100},
                         "Объектов: 1,000 · 10/с · 0.50 из 2.00 ГБ (25 %) · осталось 5 мин 00 с"},
                TextCase{"Hours",
                         {4000, 100000000, 1000000000, 400},
                         "Объектов: 4,000 · 10/с · 0.10 из 1.00 ГБ (10 %) · осталось 1 ч 00 мин"},
                TextCase{"AllReadLeavesTheLastObjectsWithoutAnEstimate",
                         {90, 2000, 2000, 3},
                         "Объектов: 90 · 30/с · 2.0 из 2.0 КБ (100 %)"},
                TextCase{"NothingReadYet",
                         {0, 0, 200000000, 0},
                         "Объектов: 0 · 0.0 из 200.0 МБ (0 %)"},
                TextCase{"EstimatesWaitForTheFirstSecond",
                         {50, 1000, 4000, 0.5},
                         "Объектов: 50 · 1.0 из 4.0 КБ (25 %)"},
                TextCase{"EmptyFile", {0, 0, 0, 1}, "Объектов: 0 · 0/с · 0.0 из 0.0 КБ"}),
        [](const ::testing::TestParamInfo<TextCase> &test) {
            return std::string(test.param.name);
        });

TEST(ProgressTextTest, UserSeparators)
{
    EXPECT_EQ(ProgressText({1234, 1500000, 3000000, 1}, NumberSeparators::russian()),
              "Объектов: 1\u00A0234 · 1\u00A0234/с · 1,5 из 3,0 МБ (50 %) · осталось 1 с");
}

TEST(TerminalTextTest, CutToColumnsCountsCharactersNotBytes)
{
    EXPECT_EQ(FitToColumns("Объектов: 12", 12), "Объектов: 12");
    EXPECT_EQ(FitToColumns("Объектов: 12", 8), "Объекто…");
    EXPECT_EQ(FitToColumns("Объектов: 12", 1), "…");
    EXPECT_EQ(FitToColumns("Объектов: 12", 0), "");
    EXPECT_EQ(PadLeft("Iокз", 6), "  Iокз");
    EXPECT_EQ(PadRight("Точка", 6), "Точка ");
    EXPECT_EQ(PadRight("Точка", 2), "Точка");
}

// A writer on a descriptor, with a clock the test moves.
class ProgressWriterTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (int fd : {m_master, m_slave})
            if (fd >= 0)
                ::close(fd);
    }

    // A pseudo-terminal of the given width: the writer gets its terminal side.
    int terminal(unsigned short columns)
    {
        winsize size{};
        size.ws_col = columns;
        size.ws_row = 24;
        EXPECT_EQ(::openpty(&m_master, &m_slave, nullptr, nullptr, &size), 0);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        return m_slave;
    }

    // What the terminal received.
    std::string shown() const
    {
        std::string text;
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(m_master, buffer, sizeof buffer)) > 0)
            text.append(buffer, std::size_t(got));
        return text;
    }

    ProgressWriter::Clock clock()
    {
        return [this] { return m_now; };
    }

    double m_now = 100;

private:
    int m_master = -1;
    int m_slave = -1;
};

TEST_F(ProgressWriterTest, TerminalLineIsRewrittenInPlaceAndErasedAtTheEnd)
{
    ProgressWriter writer(terminal(80), ProgressMode::Auto, NumberSeparators::english(), clock());
    ASSERT_TRUE(writer.Active());
    writer.SetBytesTotal(4000);
    writer.AddBytesRead(1000);
    writer.AddObject();
    EXPECT_EQ(shown(), "\rОбъектов: 1 · 1.0 из 4.0 КБ (25 %)\x1b[K");

    m_now += 0.5;
    writer.AddBytesRead(1000);
    for (int n = 0; n < 100; ++n)
        writer.AddObject(); // once per interval, however many objects
    EXPECT_EQ(shown(), "\rОбъектов: 2 · 2.0 из 4.0 КБ (50 %)\x1b[K");

    m_now += 0.1;
    writer.AddObject();
    EXPECT_EQ(shown(), "");
    m_now += 0.6;
    writer.AddObject();
    EXPECT_EQ(shown(), "\rОбъектов: 103 · 86/с · 2.0 из 4.0 КБ (50 %) · осталось 2 с\x1b[K");

    writer.Finish();
    EXPECT_EQ(shown(), "\r\x1b[K");
    m_now += 1;
    writer.AddObject();
    EXPECT_EQ(shown(), "");
}

TEST_F(ProgressWriterTest, LineFitsANarrowTerminal)
{
    ProgressWriter writer(terminal(20), ProgressMode::Auto, NumberSeparators::english(), clock());
    m_now += 1;
    writer.AddObject();
    EXPECT_EQ(shown(), "\rОбъектов: 1 · 1/с\x1b[K");
    writer.AddBytesRead(123456789);
    m_now += 1;
    writer.AddObject();
    EXPECT_EQ(shown(), "\rОбъектов: 2 · 1/с …\x1b[K");
}

TEST_F(ProgressWriterTest, NothingOnATerminalWhenTurnedOffOrWithoutObjects)
{
    const int fd = terminal(80);
    {
        ProgressWriter off(fd, ProgressMode::Never, NumberSeparators{}, clock());
        EXPECT_FALSE(off.Active());
        m_now += 1;
        off.AddObject();
    }
    {
        // Without a line shown there is nothing to erase either.
        ProgressWriter idle(fd, ProgressMode::Auto, NumberSeparators{}, clock());
        EXPECT_TRUE(idle.Active());
        idle.AddBytesRead(100);
    }
    EXPECT_EQ(shown(), "");
}

// The error output of a script (a file here) keeps its one error line.
TEST_F(ProgressWriterTest, FileGetsTheLineOnlyWhenForced)
{
    std::FILE *file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const int fd = ::fileno(file);
    {
        ProgressWriter automatic(fd, ProgressMode::Auto, NumberSeparators{}, clock());
        EXPECT_FALSE(automatic.Active());
        m_now += 1;
        automatic.AddObject();
    }
    EXPECT_EQ(::lseek(fd, 0, SEEK_END), 0);
    {
        ProgressWriter forced(fd, ProgressMode::Always, NumberSeparators{}, clock());
        m_now += 1;
        forced.AddObject();
    }
    std::string written(std::size_t(::lseek(fd, 0, SEEK_END)), '\0');
    ASSERT_EQ(::pread(fd, written.data(), written.size(), 0), ssize_t(written.size()));
    EXPECT_EQ(written, "\rОбъектов: 1 · 1/с\x1b[K\r\x1b[K");
    std::fclose(file);
}

} // namespace
} // namespace tormel::cli
