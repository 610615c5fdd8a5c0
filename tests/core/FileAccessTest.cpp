#include "core/FileAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tormel {
namespace {

namespace fs = std::filesystem;

class WriteFileReplacingTest : public ::testing::TestWithParam<TemporaryFile>
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tormel-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
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
    std::vector<std::string> entries(const std::string &folder = {}) const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder.empty() ? m_dir : fs::path(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    FileResult save(const std::string &file, const std::string &bytes) const
    {
        return WriteFileReplacing(file, bytes, GetParam());
    }

    fs::path m_dir;
};

TEST_P(WriteFileReplacingTest, RefusesEveryTargetThatIsNotARegularFile)
{
    fs::create_directory(path("folder.csv"));
    ASSERT_EQ(::mkfifo(path("fifo.csv").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = path("socket.csv");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    fs::create_symlink("fifo.csv", path("to-fifo.csv"));
    fs::create_symlink("missing.csv", path("dangling.csv"));
    fs::create_symlink("loop-b.csv", path("loop-a.csv"));
    fs::create_symlink("loop-a.csv", path("loop-b.csv"));
    // Only a privileged test run can make a device node of its own (the null device).
    const bool device = ::mknod(path("device.csv").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;

    struct Case
    {
        const char *name;
        const char *reason;
    };
    std::vector<Case> cases = {
            {"folder.csv", "это папка, а не файл"},
            {"fifo.csv", "это канал, а не файл"},
            {"socket.csv", "это сокет, а не файл"},
            {"to-fifo.csv", "это канал, а не файл"},
            {"dangling.csv", "символьная ссылка указывает на несуществующий файл"},
            {"loop-a.csv", "символьные ссылки образуют петлю"},
    };
    if (device)
        cases.push_back({"device.csv", "это устройство, а не файл"});
    const std::vector<std::string> before = entries();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        struct stat old
        {
        };
        ASSERT_EQ(::lstat(path(c.name).c_str(), &old), 0);
        const FileResult result = save(path(c.name), "new");
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Reason, c.reason);
        struct stat now
        {
        };
        ASSERT_EQ(::lstat(path(c.name).c_str(), &now), 0);
        EXPECT_EQ(now.st_mode, old.st_mode);
        EXPECT_EQ(now.st_ino, old.st_ino);
    }
    EXPECT_EQ(entries(), before);
    EXPECT_FALSE(fs::exists(path("missing.csv")));
    ::close(sock);
}

TEST_P(WriteFileReplacingTest, SymbolicLinkKeepsTheLinkAndReplacesTheFileItPointsTo)
{
    fs::create_directory(path("data"));
    fs::create_directory(path("links"));
    writeBytes(path("data/real.csv"), "old");
    ::chmod(path("data/real.csv").c_str(), 0640);
    fs::create_symlink("../data/real.csv", path("links/first.csv"));
    fs::create_symlink("first.csv", path("links/second.csv"));

    ASSERT_TRUE(save(path("links/second.csv"), "new").Ok);
    EXPECT_TRUE(fs::is_symlink(path("links/first.csv")));
    EXPECT_TRUE(fs::is_symlink(path("links/second.csv")));
    EXPECT_EQ(fs::read_symlink(path("links/second.csv")), "first.csv");
    EXPECT_EQ(readBytes(path("data/real.csv")), "new");
    EXPECT_EQ(fs::status(path("data/real.csv")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(path("data")), std::vector<std::string>{"real.csv"});
    EXPECT_EQ(entries(path("links")), (std::vector<std::string>{"first.csv", "second.csv"}));
}

TEST_P(WriteFileReplacingTest, NamesUpToTheSystemLimitAreSavedAndReplaced)
{
    for (std::size_t length : {250u, 254u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - 4, 'x') + ".csv";
        ASSERT_TRUE(save(path(name), "first").Ok);
        ASSERT_TRUE(save(path(name), "second").Ok);
        EXPECT_EQ(readBytes(path(name)), "second");
        EXPECT_EQ(entries(), std::vector<std::string>{name});
        fs::remove(path(name));
    }
    const FileResult tooLong = save(path(std::string(256, 'x')), "x");
    EXPECT_FALSE(tooLong.Ok);
    EXPECT_EQ(tooLong.Reason, "слишком длинное имя файла");
    EXPECT_TRUE(entries().empty());
}

// A termination signal in the middle of a save: the child program writes more
// than its file size limit allows, and the limit's signal turns into SIGINT or
// SIGTERM while the new file is being written.
volatile std::sig_atomic_t g_stopSignal = SIGTERM;

extern "C" void StopOnFileSizeLimit(int)
{
    ::raise(g_stopSignal);
}

TEST_P(WriteFileReplacingTest, TerminationDuringASaveLeavesNothingBehind)
{
    const std::string file = path("r.csv");
    writeBytes(file, "old");
    const std::string bytes(1 << 20, 'x');

    for (int stop : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(stop);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            g_stopSignal = stop;
            std::signal(stop, SIG_DFL);
            std::signal(SIGXFSZ, StopOnFileSizeLimit);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            WriteFileReplacing(file, bytes, GetParam());
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save ran to its end: " << status;
        EXPECT_EQ(WTERMSIG(status), stop);
        EXPECT_EQ(readBytes(file), "old");
        EXPECT_EQ(entries(), std::vector<std::string>{"r.csv"});
    }
}

TEST_P(WriteFileReplacingTest, SignalsAreTheProgramsOwnAgainAfterASave)
{
    // An ignored signal stays ignored; a default one is the default again.
    const auto previous = std::signal(SIGTERM, SIG_IGN);
    ASSERT_TRUE(save(path("r.csv"), "x").Ok);
    EXPECT_EQ(std::signal(SIGTERM, SIG_DFL), SIG_IGN);
    ASSERT_TRUE(save(path("r.csv"), "y").Ok);
    EXPECT_EQ(std::signal(SIGTERM, previous), SIG_DFL);
}

// The outputs of one run: each prepared beside its target, then all put in place or none.
TEST_P(WriteFileReplacingTest, PreparedFilesTakeTheirPlacesTogetherOrNotAtAll)
{
    const std::string report = path("r.csv");
    const std::string sheet = path("s.pdf");
    writeBytes(report, "old report");
    ::chmod(report.c_str(), 0640);
    {
        PreparedFile first, second;
        ASSERT_TRUE(first.Create(report, GetParam()).Ok);
        ASSERT_TRUE(second.Create(sheet, GetParam()).Ok);
        ASSERT_TRUE(first.Append("new report").Ok);
        ASSERT_TRUE(second.Append("new sheet").Ok);
        // Nothing changes before the commit.
        EXPECT_EQ(readBytes(report), "old report");
        EXPECT_FALSE(fs::exists(sheet));
        ASSERT_TRUE(CommitPreparedFiles({&first, &second}).Ok);
    }
    EXPECT_EQ(readBytes(report), "new report");
    EXPECT_EQ(readBytes(sheet), "new sheet");
    EXPECT_EQ(fs::status(report).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(), (std::vector<std::string>{"r.csv", "s.pdf"}));

    // The second target turned into a folder after it was checked: the first one is put
    // back, and no temporary file stays.
    const std::string late = path("late.pdf");
    writeBytes(late, "old sheet");
    {
        PreparedFile first, second;
        ASSERT_TRUE(first.Create(report, GetParam()).Ok);
        ASSERT_TRUE(second.Create(late, GetParam()).Ok);
        ASSERT_TRUE(first.Append("lost report").Ok);
        ASSERT_TRUE(second.Append("lost sheet").Ok);
        fs::remove(late);
        fs::create_directory(late);
        std::size_t failed = 99;
        const FileResult committed = CommitPreparedFiles({&first, &second}, &failed);
        EXPECT_FALSE(committed.Ok);
        EXPECT_EQ(failed, 1u);
    }
    EXPECT_EQ(readBytes(report), "new report");
    EXPECT_TRUE(fs::is_directory(late));
    EXPECT_EQ(entries(), (std::vector<std::string>{"late.pdf", "r.csv", "s.pdf"}));

    // A file never committed leaves its target alone and nothing beside it.
    {
        PreparedFile abandoned;
        ASSERT_TRUE(abandoned.Create(report, GetParam()).Ok);
        ASSERT_TRUE(abandoned.Append("never").Ok);
    }
    EXPECT_EQ(readBytes(report), "new report");
    EXPECT_EQ(entries(), (std::vector<std::string>{"late.pdf", "r.csv", "s.pdf"}));
}

TEST_P(WriteFileReplacingTest, PreparedFileRefusesWhatASaveRefuses)
{
    fs::create_directory(path("folder"));
    PreparedFile file;
    const FileResult folder = file.Create(path("folder"), GetParam());
    EXPECT_FALSE(folder.Ok);
    EXPECT_EQ(folder.Reason, "это папка, а не файл");
    const FileResult device = file.Create("/dev/null", GetParam());
    EXPECT_FALSE(device.Ok);
    EXPECT_EQ(device.Reason, "это устройство, а не файл");
    const FileResult missing = file.Create(path("нет/r.csv"), GetParam());
    EXPECT_FALSE(missing.Ok);
    EXPECT_EQ(missing.Reason, "нет такого файла или папки");
    EXPECT_EQ(entries(), std::vector<std::string>{"folder"});
}

// A named prepared file is removed when a signal ends the program, as a save's is.
TEST_P(WriteFileReplacingTest, TerminationWhileAFileIsPreparedLeavesNothingBehind)
{
    const std::string file = path("s.pdf");
    writeBytes(file, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGTERM, SIG_DFL);
        PreparedFile prepared;
        if (prepared.Create(file, GetParam()).Ok && prepared.Append("half").Ok)
            ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(readBytes(file), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"s.pdf"});
}

INSTANTIATE_TEST_SUITE_P(BothTemporaryFiles,
                         WriteFileReplacingTest,
                         ::testing::Values(TemporaryFile::Unnamed, TemporaryFile::Named),
                         [](const ::testing::TestParamInfo<TemporaryFile> &kind) {
                             return kind.param == TemporaryFile::Unnamed ? "Unnamed" : "Named";
                         });

// Opening reads regular files only, without waiting on a pipe or reading a device without
// end, and only up to the caller's limit.
TEST(ReadFileBytesTest, ReadsOnlyRegularFilesUpToTheLimit)
{
    std::string pattern = (fs::temp_directory_path() / "tormel-read-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    const std::string fifo = (folder / "fifo.csv").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = (folder / "zero.csv").string();
    fs::create_symlink("/dev/zero", zero);
    const std::string file = (folder / "r.csv").string();
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(3 << 20, 'x');
    }

    std::string bytes = "stale";
    const FileResult pipe = ReadFileBytes(fifo, bytes);
    EXPECT_EQ(pipe.Reason, "это канал, а не файл");
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadFileBytes(zero, bytes).Reason, "это устройство, а не файл");
    EXPECT_EQ(ReadFileBytes(folder.string(), bytes).Reason, "это папка, а не файл");

    const FileResult tooLarge = ReadFileBytes(file, bytes, std::size_t(2) << 20);
    EXPECT_FALSE(tooLarge.Ok);
    EXPECT_EQ(tooLarge.Reason, "файл больше допустимых 2 МБ");
    ASSERT_TRUE(ReadFileBytes(file, bytes, std::size_t(3) << 20).Ok);
    EXPECT_EQ(bytes.size(), std::size_t(3) << 20);
    fs::remove_all(folder);
}

} // namespace
} // namespace tormel
