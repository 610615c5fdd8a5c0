#include "core/FileAccess.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
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

// The names of temporary files while they have one, for the signal handler below:
// slot 0 is the save of WriteFileReplacing (one at a time, under InterruptGuard's lock),
// the others belong to prepared files.
constexpr int GuardedSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t NameSlots = 8;
char g_temporaryNames[NameSlots][PATH_MAX];
volatile std::sig_atomic_t g_temporaryNamed[NameSlots] = {};

extern "C" void RemoveTemporaryAndStop(int signalNumber)
{
    for (std::size_t slot = 0; slot < NameSlots; ++slot) {
        if (g_temporaryNamed[slot])
            ::unlink(g_temporaryNames[slot]);
    }
    // The signal stays blocked until the handler returns; then the default
    // action ends the program as the signal would have.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

// SIGINT, SIGTERM and SIGHUP, where they would end the program, first remove the
// temporary files, for as long as someone holds the removal. Signals that the program
// ignores or handles itself are left alone.
class RemovalOnSignals
{
public:
    static void Acquire()
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        if (s_users++ > 0)
            return;
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
            s_installed[i] = ::sigaction(GuardedSignals[i], nullptr, &current) == 0
                             && (current.sa_flags & SA_SIGINFO) == 0
                             && current.sa_handler == SIG_DFL
                             && ::sigaction(GuardedSignals[i], &removing, &s_previous[i]) == 0;
        }
    }

    static void Release()
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        if (--s_users > 0)
            return;
        for (std::size_t i = 0; i < std::size(GuardedSignals); ++i) {
            if (s_installed[i])
                ::sigaction(GuardedSignals[i], &s_previous[i], nullptr);
            s_installed[i] = false;
        }
    }

private:
    static inline std::mutex s_mutex;
    static inline int s_users = 0;
    static inline std::array<bool, std::size(GuardedSignals)> s_installed{};
    static inline std::array<struct sigaction, std::size(GuardedSignals)> s_previous{};
};

// Holds the guarded signals back for its lifetime.
class HeldSignals
{
public:
    HeldSignals()
    {
        sigset_t held;
        sigemptyset(&held);
        for (int signalNumber : GuardedSignals)
            sigaddset(&held, signalNumber);
        ::pthread_sigmask(SIG_BLOCK, &held, &m_previous);
    }
    ~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    HeldSignals(const HeldSignals &) = delete;
    HeldSignals &operator=(const HeldSignals &) = delete;

private:
    sigset_t m_previous;
};

// Runs `create`, which makes a file of the name, with the signals held back, and
// records the name in the slot exactly when the file exists.
// A slot of -1 records nothing (the caller holds the signals back itself).
template<typename Create>
bool NameInSlot(int slot, const std::string &temporary, Create create)
{
    if (slot < 0)
        return create();
    if (temporary.size() >= sizeof g_temporaryNames[slot]) {
        errno = ENAMETOOLONG;
        return false;
    }
    const HeldSignals held;
    const bool created = create();
    const int createError = errno;
    if (created) {
        std::memcpy(g_temporaryNames[slot], temporary.c_str(), temporary.size() + 1);
        g_temporaryNamed[slot] = 1;
    }
    errno = createError;
    return created;
}

// For the length of a save: the temporary file is removed when a signal ends the
// program.
class InterruptGuard
{
public:
    InterruptGuard()
        : m_lock(s_saves)
    {
        RemovalOnSignals::Acquire();
    }
    ~InterruptGuard()
    {
        forget();
        RemovalOnSignals::Release();
    }
    InterruptGuard(const InterruptGuard &) = delete;
    InterruptGuard &operator=(const InterruptGuard &) = delete;

    // Runs `create`, which makes a file of the name, with the signals held back,
    // so that the name is recorded exactly when the file exists.
    template<typename Create>
    bool name(const std::string &temporary, Create create)
    {
        return NameInSlot(0, temporary, create);
    }

    // The temporary file is gone (renamed or removed).
    void forget() { g_temporaryNamed[0] = 0; }

private:
    static inline std::mutex s_saves;
    std::lock_guard<std::mutex> m_lock;
};

// The slots of prepared files in use.
std::mutex g_slotMutex;
std::array<bool, NameSlots> g_slotTaken{true}; // slot 0 is the save's

int TakeSlot()
{
    const std::lock_guard<std::mutex> lock(g_slotMutex);
    for (std::size_t slot = 1; slot < NameSlots; ++slot) {
        if (!g_slotTaken[slot]) {
            g_slotTaken[slot] = true;
            RemovalOnSignals::Acquire();
            return int(slot);
        }
    }
    return -1;
}

void ReturnSlot(int slot)
{
    if (slot < 0)
        return;
    g_temporaryNamed[slot] = 0;
    const std::lock_guard<std::mutex> lock(g_slotMutex);
    g_slotTaken[std::size_t(slot)] = false;
    RemovalOnSignals::Release();
}

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
bool NameUnnamedFile(int fd, const std::filesystem::path &folder, int slot, std::string &temporary)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        temporary = TemporaryName(folder);
        const bool named = NameInSlot(slot, temporary, [&] {
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

std::string TooLargeReason(std::size_t limit)
{
    return "файл больше допустимых " + std::to_string(limit >> 20) + " МБ";
}

FileResult ReadFileBytes(const std::string &path, std::string &bytes, std::size_t limit)
{
    bytes.clear();
    // Without waiting: opening a pipe for reading would wait for a writer.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return FailureFromErrno();
    struct stat info
    {
    };
    if (::fstat(file.get(), &info) != 0)
        return FailureFromErrno();
    // A device or a pipe may never end; only a file has a size to check.
    if (!S_ISREG(info.st_mode))
        return FileResult::failure(NotAFileReason(info.st_mode));
    if (std::uintmax_t(info.st_size) > limit)
        return FileResult::failure(TooLargeReason(limit));
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
        // A file that grows while it is read stops at the limit too.
        if (bytes.size() + std::size_t(got) > limit) {
            bytes.clear();
            return FileResult::failure(TooLargeReason(limit));
        }
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
            if (NameUnnamedFile(file.get(), folder, 0, temporary)) {
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

PreparedFile::~PreparedFile()
{
    Discard();
}

void PreparedFile::Discard()
{
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
    ReturnSlot(std::exchange(m_slot, -1));
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

FileResult PreparedFile::Create(const std::string &path, TemporaryFile temporaryKind)
{
    Discard();
    SaveTarget target;
    if (const FileResult resolved = ResolveTarget(path, target); !resolved.Ok)
        return resolved;
    const std::filesystem::path targetPath(target.Path);
    std::filesystem::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    if (targetPath.filename().empty())
        return FileResult::failure(SystemErrorReason(EISDIR));
    m_target = target.Path;
    m_targetExists = target.Exists;

    if (temporaryKind == TemporaryFile::Unnamed)
        m_fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        // A named file from the start, which a signal ending the program removes.
        m_slot = TakeSlot();
        for (int attempt = 0; attempt < NameAttempts && m_fd < 0; ++attempt) {
            std::string temporary = TemporaryName(folder);
            const auto create = [&] {
                m_fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                return m_fd >= 0;
            };
            if (NameInSlot(m_slot, temporary, create))
                m_temporary = std::move(temporary);
            else if (errno != EEXIST)
                break;
        }
        if (m_fd < 0) {
            const FileResult failure = FailureFromErrno();
            Discard();
            return failure;
        }
    }
    if (target.Exists)
        ::fchmod(m_fd, target.Mode & 07777);
    return FileResult::success();
}

FileResult PreparedFile::Append(std::string_view bytes)
{
    if (m_fd < 0)
        return FileResult::failure(SystemErrorReason(EBADF));
    return WriteAll(m_fd, bytes) ? FileResult::success() : FailureFromErrno();
}

FileResult CommitPreparedFiles(const std::vector<PreparedFile *> &files, std::size_t *failed)
{
    std::size_t at = 0;
    const auto failure = [&](int errorNumber) {
        if (failed)
            *failed = at;
        return FileResult::failure(SystemErrorReason(errorNumber));
    };
    // Everything on the disk first: a full disk shows itself before any target changes.
    for (at = 0; at < files.size(); ++at) {
        if (files[at]->m_fd < 0)
            return failure(EBADF);
        if (::fsync(files[at]->m_fd) != 0)
            return failure(errno);
    }

    // The signals wait until every target is either replaced or as it was.
    const HeldSignals held;
    for (at = 0; at < files.size(); ++at) {
        PreparedFile &file = *files[at];
        if (!file.m_temporary.empty())
            continue;
        const std::filesystem::path folder
                = std::filesystem::path(file.m_target).parent_path().empty()
                          ? std::filesystem::path(".")
                          : std::filesystem::path(file.m_target).parent_path();
        // No slot is needed: the signals are held until the name is gone again.
        if (!NameUnnamedFile(file.m_fd, folder, -1, file.m_temporary)) {
            const int reason = errno;
            file.m_temporary.clear();
            return failure(reason);
        }
    }

    // Each target in turn: swapped with its new file where the system can, so that the
    // old file stays under the temporary name until all are in place.
    enum class Step { Swapped, Created, Replaced };
    std::vector<Step> done;
    const auto undo = [&] {
        for (std::size_t i = done.size(); i-- > 0;) {
            PreparedFile &file = *files[i];
            if (done[i] == Step::Swapped)
                ::renameat2(AT_FDCWD,
                            file.m_temporary.c_str(),
                            AT_FDCWD,
                            file.m_target.c_str(),
                            RENAME_EXCHANGE);
            else if (done[i] == Step::Created)
                ::unlink(file.m_target.c_str());
        }
    };
    for (at = 0; at < files.size(); ++at) {
        PreparedFile &file = *files[at];
        const char *from = file.m_temporary.c_str();
        const char *to = file.m_target.c_str();
        int result = -1;
        Step step = Step::Replaced;
        struct stat now
        {
        };
        // A target that stopped being a regular file since it was checked is not swapped.
        if (file.m_targetExists && ::lstat(to, &now) == 0 && !S_ISREG(now.st_mode)) {
            undo();
            if (failed)
                *failed = at;
            return FileResult::failure(NotAFileReason(now.st_mode));
        }
        if (file.m_targetExists) {
            result = ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_EXCHANGE);
            step = Step::Swapped;
            if (result != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                result = ::rename(from, to);
                step = Step::Replaced;
            }
        } else {
            // A target that appeared meanwhile is not replaced unseen.
            result = ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
            step = Step::Created;
            if (result != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                result = ::rename(from, to);
                step = Step::Replaced;
            }
        }
        if (result != 0) {
            const int reason = errno;
            undo();
            return failure(reason);
        }
        done.push_back(step);
        if (step != Step::Swapped)
            file.m_temporary.clear();
    }
    // The old files, now under the temporary names, go; so do the new files' handles.
    for (PreparedFile *file : files) {
        file->Discard();
        file->m_target.clear();
    }
    return FileResult::success();
}

} // namespace tormel
