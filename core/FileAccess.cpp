#include "core/FileAccess.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tormel {

namespace {

FileResult FailureFromErrno()
{
    return FileResult::failure(SystemErrorReason(errno));
}

// Closes the descriptor when it goes out of scope, unless it was closed already.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }
    // Closing can report a write error of its own (a full network disk).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

// Why a path that exists is not a file a save may replace.
std::string NotAFileReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return SystemErrorReason(EISDIR);
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "это устройство, а не файл";
    if (S_ISFIFO(mode))
        return "это канал, а не файл";
    if (S_ISSOCK(mode))
        return "это сокет, а не файл";
    return "это не обычный файл";
}

// The file that a save replaces: the path itself, or for a symbolic link the
// regular file at the end of its chain, so that the link stays a link.
struct SaveTarget
{
    std::string Path;
    bool Exists = false;
    mode_t Mode = 0;
};

FileResult ResolveTarget(const std::string &path, SaveTarget &target)
{
    target = {path, false, 0};
    struct stat entry
    {
    };
    if (::lstat(path.c_str(), &entry) != 0)
        return errno == ENOENT ? FileResult::success() : FailureFromErrno();
    if (S_ISLNK(entry.st_mode)) {
        if (::stat(path.c_str(), &entry) != 0) {
            if (errno == ENOENT)
                return FileResult::failure("символьная ссылка указывает на несуществующий файл");
            return FailureFromErrno();
        }
        if (!S_ISREG(entry.st_mode))
            return FileResult::failure(NotAFileReason(entry.st_mode));
        char *resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr)
            return FailureFromErrno();
        target.Path = resolved;
        std::free(resolved);
    }
    if (!S_ISREG(entry.st_mode))
        return FileResult::failure(NotAFileReason(entry.st_mode));
    target.Exists = true;
    target.Mode = entry.st_mode;
    return FileResult::success();
}

// The name of the save's temporary file while it has one, for the signal
// handler below. A save holds InterruptGuard::m_lock, so there is one at a time.
constexpr int GuardedSignals[] = {SIGINT, SIGTERM, SIGHUP};
char g_temporaryName[PATH_MAX];
volatile std::sig_atomic_t g_temporaryNamed = 0;

extern "C" void RemoveTemporaryAndStop(int signalNumber)
{
    if (g_temporaryNamed)
        ::unlink(g_temporaryName);
    // The signal stays blocked until the handler returns; then the default
    // action ends the program as the signal would have.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

// For the length of a save: SIGINT, SIGTERM and SIGHUP, where they would end
// the program, first remove the temporary file. Signals that the program
// ignores or handles itself are left alone.
class InterruptGuard
{
public:
    InterruptGuard()
        : m_lock(s_saves)
    {
        struct sigaction removing
        {
        };
        removing.sa_handler = RemoveTemporaryAndStop;
        sigemptyset(&removing.sa_mask);
        for (int signalNumber : GuardedSignals)
            sigaddset(&removing.sa_mask, signalNumber);
        for (std::size_t i = 0; i < std::size(GuardedSignals); ++i) {
            struct sigaction current
            {
            };
            m_installed[i] = ::sigaction(GuardedSignals[i], nullptr, &current) == 0
                             && (current.sa_flags & SA_SIGINFO) == 0
                             && current.sa_handler == SIG_DFL
                             && ::sigaction(GuardedSignals[i], &removing, &m_previous[i]) == 0;
        }
    }
    ~InterruptGuard()
    {
        forget();
        for (std::size_t i = 0; i < std::size(GuardedSignals); ++i) {
            if (m_installed[i])
                ::sigaction(GuardedSignals[i], &m_previous[i], nullptr);
        }
    }
    InterruptGuard(const InterruptGuard &) = delete;
    InterruptGuard &operator=(const InterruptGuard &) = delete;

    // Runs `create`, which makes a file of the name, with the signals held back,
    // so that the name is recorded exactly when the file exists.
    template<typename Create>
    bool name(const std::string &temporary, Create create)
    {
        if (temporary.size() >= sizeof g_temporaryName) {
            errno = ENAMETOOLONG;
            return false;
        }
        sigset_t held, previous;
        sigemptyset(&held);
        for (int signalNumber : GuardedSignals)
            sigaddset(&held, signalNumber);
        ::pthread_sigmask(SIG_BLOCK, &held, &previous);
        const bool created = create();
        const int createError = errno;
        if (created) {
            std::memcpy(g_temporaryName, temporary.c_str(), temporary.size() + 1);
            g_temporaryNamed = 1;
        }
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        errno = createError;
        return created;
    }

    // The temporary file is gone (renamed or removed).
    void forget() { g_temporaryNamed = 0; }

private:
    static inline std::mutex s_saves;
    std::lock_guard<std::mutex> m_lock;
    std::array<bool, std::size(GuardedSignals)> m_installed{};
    std::array<struct sigaction, std::size(GuardedSignals)> m_previous{};
};

// A short hidden name in the folder: ".tm" and six letters or digits, so that it
// fits wherever the target's name fits.
std::string TemporaryName(const std::filesystem::path &folder)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed
            = unsigned(::getpid()) * 2654435761u
              ^ unsigned(std::chrono::steady_clock::now().time_since_epoch().count());
    unsigned value = seed + 40503u * ++counter;
    std::string name = ".tm";
    for (int i = 0; i < 6; ++i) {
        name += "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36];
        value /= 36;
    }
    return (folder / name).string();
}

constexpr int NameAttempts = 100;

// Gives the written unnamed file a temporary name in its folder. False with errno
// set when it cannot be named; EOPNOTSUPP when this system cannot name it at all.
bool NameUnnamedFile(int fd,
                     const std::filesystem::path &folder,
                     InterruptGuard &guard,
                     std::string &temporary)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        temporary = TemporaryName(folder);
        const bool named = guard.name(temporary, [&] {
            // The descriptor itself needs a privilege; its /proc entry does not.
            return ::linkat(fd, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH) == 0
                   || (errno != EEXIST
                       && ::linkat(AT_FDCWD,
                                   self.c_str(),
                                   AT_FDCWD,
                                   temporary.c_str(),
                                   AT_SYMLINK_FOLLOW)
                                  == 0);
        });
        if (named)
            return true;
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

} // namespace

std::string SystemErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "нет такого файла или папки";
    case ENOTDIR:
        return "часть пути не является папкой";
    case EACCES:
    case EPERM:
        return "доступ запрещен";
    case ENOSPC:
        return "диск переполнен";
    case EDQUOT:
        return "превышена дисковая квота";
    case EFBIG:
        return "файл слишком велик";
    case EROFS:
        return "диск доступен только для чтения";
    case EISDIR:
        return "это папка, а не файл";
    case ENAMETOOLONG:
        return "слишком длинное имя файла";
    case EMFILE:
    case ENFILE:
        return "открыто слишком много файлов";
    case EINVAL:
        return "недопустимое имя файла";
    case EIO:
        return "ошибка ввода-вывода";
    case ELOOP:
        return "символьные ссылки образуют петлю";
    case EBADF:
        return "файл закрыт";
    default:
        return "ошибка ввода-вывода " + std::to_string(errorNumber) + " ("
               + std::strerror(errorNumber) + ")";
    }
}

bool PathExists(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

bool IsOpenFile(const std::string &path, int fd)
{
    struct stat named
    {
    };
    struct stat open
    {
    };
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0
           && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

FileResult ReadFileBytes(const std::string &path, std::string &bytes)
{
    bytes.clear();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return FailureFromErrno();
    struct stat info
    {
    };
    if (::fstat(file.get(), &info) == 0 && info.st_size > 0)
        bytes.reserve(std::size_t(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const FileResult failure = FailureFromErrno();
            bytes.clear();
            return failure;
        }
        if (got == 0)
            break;
        bytes.append(buffer, std::size_t(got));
    }
    return FileResult::success();
}

FileReader::~FileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileResult FileReader::Open(const std::string &path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    m_status = m_fd < 0 ? FailureFromErrno() : FileResult::success();
    return m_status;
}

std::size_t FileReader::Read(char *buffer, std::size_t size)
{
    if (m_fd < 0 || !m_status.Ok)
        return 0;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, size);
        if (got >= 0)
            return std::size_t(got);
        if (errno != EINTR) {
            m_status = FailureFromErrno();
            return 0;
        }
    }
}

ScratchFile::~ScratchFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileResult ScratchFile::Create()
{
    const char *folder = std::getenv("TMPDIR");
    const std::string base = folder && *folder ? folder : "/tmp";
    m_fd = ::open(base.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        // A file system without unnamed files: a named one, unlinked at once.
        std::string name = base + "/.tmXXXXXX";
        m_fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (m_fd < 0)
            return FailureFromErrno();
        ::unlink(name.c_str());
    }
    return FileResult::success();
}

FileResult ScratchFile::Append(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(m_fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return FailureFromErrno();
        }
        bytes.remove_prefix(std::size_t(put));
    }
    return FileResult::success();
}

FileResult ScratchFile::ReadBack(const std::function<bool(std::string_view piece)> &consume)
{
    if (::lseek(m_fd, 0, SEEK_SET) < 0)
        return FailureFromErrno();
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return FailureFromErrno();
        }
        if (got == 0 || !consume(std::string_view(buffer.data(), std::size_t(got))))
            return FileResult::success();
    }
}

FileResult
WriteFileReplacing(const std::string &path, std::string_view bytes, TemporaryFile temporaryKind)
{
    SaveTarget target;
    if (const FileResult resolved = ResolveTarget(path, target); !resolved.Ok)
        return resolved;
    const std::filesystem::path targetPath(target.Path);
    std::filesystem::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    if (targetPath.filename().empty())
        return FileResult::failure(SystemErrorReason(EISDIR));

    InterruptGuard guard;
    std::string temporary;
    // The mode 0666 lets the umask decide for a new file, as for any other file
    // the user creates; an existing file keeps its own permissions.
    const auto fill = [&](int fd) {
        if (target.Exists)
            ::fchmod(fd, target.Mode & 07777);
        return WriteAll(fd, bytes) && ::fsync(fd) == 0;
    };
    const auto abandon = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        guard.forget();
        return FileResult::failure(SystemErrorReason(errorNumber));
    };

    bool named = false;
    if (temporaryKind == TemporaryFile::Unnamed) {
        // Unnamed until written: an end of the program in the middle leaves nothing.
        FileDescriptor file(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (file.get() >= 0) {
            if (!fill(file.get()))
                return FailureFromErrno();
            if (NameUnnamedFile(file.get(), folder, guard, temporary)) {
                if (!file.close())
                    return abandon(errno);
                named = true;
            }
            // A system that cannot name it (no /proc) writes a named file instead.
        }
    }
    if (!named) {
        int fd = -1;
        for (int attempt = 0; attempt < NameAttempts && fd < 0; ++attempt) {
            temporary = TemporaryName(folder);
            guard.name(temporary, [&] {
                fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                return fd >= 0;
            });
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd < 0)
            return FailureFromErrno();
        FileDescriptor file(fd);
        if (!fill(file.get()))
            return abandon(errno);
        if (!file.close())
            return abandon(errno);
    }
    if (::rename(temporary.c_str(), target.Path.c_str()) != 0)
        return abandon(errno);
    guard.forget();
    return FileResult::success();
}

} // namespace tormel
