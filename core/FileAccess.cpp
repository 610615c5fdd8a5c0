#include "core/FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
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

// The file that a save replaces: the target of a symbolic link rather than the link.
std::filesystem::path ResolveTarget(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path target(path);
    if (std::filesystem::is_symlink(target, error)) {
        const std::filesystem::path resolved = std::filesystem::canonical(target, error);
        if (!error)
            return resolved;
    }
    return target;
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

FileResult WriteFileReplacing(const std::string &path, std::string_view bytes)
{
    const std::filesystem::path target = ResolveTarget(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    if (target.filename().empty())
        return FileResult::failure(SystemErrorReason(EISDIR));

    // The mode 0666 lets the umask decide for a new file, as for any other file
    // the user creates; an existing file keeps its own permissions.
    struct stat old
    {
    };
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    std::string temporary;
    int fd = -1;
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = (folder
                     / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-"
                        + std::to_string(++counter)))
                            .string();
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return FailureFromErrno();

    FileDescriptor file(fd);
    auto abandon = [&temporary](int errorNumber) {
        ::unlink(temporary.c_str());
        return FileResult::failure(SystemErrorReason(errorNumber));
    };
    if (replacing && S_ISREG(old.st_mode))
        ::fchmod(file.get(), old.st_mode & 07777);
    if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0)
        return abandon(errno);
    if (!file.close())
        return abandon(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return abandon(errno);
    return FileResult::success();
}

} // namespace tormel
