#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tormel {

// Outcome of a file operation: on failure, the system's reason in Russian,
// ready to follow a colon in a message ("доступ запрещен", "диск переполнен").
struct FileResult
{
    bool Ok = true;
    std::string Reason;

    static FileResult success() { return {}; }
    static FileResult failure(std::string reason) { return {false, std::move(reason)}; }
};

// The reason text of a system error number.
std::string SystemErrorReason(int errorNumber);

// Whether anything (file, folder) exists under the path.
bool PathExists(const std::string &path);

// Whether the path names the file that the open descriptor refers to (following
// symbolic links), such as a report target that is the program's own output.
bool IsOpenFile(const std::string &path, int fd);

// Reads the whole file. Only a regular file (or a link to one) is read, without
// waiting on a pipe or reading a device without end, and only up to `limit` bytes: a
// larger file is refused with a reason that names the limit.
FileResult ReadFileBytes(const std::string &path,
                         std::string &bytes,
                         std::size_t limit = std::size_t(1) << 30);

// Why ReadFileBytes refuses a file larger than the limit.
std::string TooLargeReason(std::size_t limit);

// Reads a file piece by piece, so that a file of any size needs only the caller's
// buffer. The reasons are those of ReadFileBytes.
class FileReader
{
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;

    FileResult Open(const std::string &path);
    // Up to size bytes; 0 at the end or on a read error, whose reason Status() keeps.
    std::size_t Read(char *buffer, std::size_t size);
    const FileResult &Status() const { return m_status; }

private:
    int m_fd = -1;
    FileResult m_status;
};

// An unnamed file for data too large to hold in memory, removed with the object (or
// when the program ends in any way): in $TMPDIR, or /tmp.
class ScratchFile
{
public:
    ScratchFile() = default;
    ~ScratchFile();
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    FileResult Create();
    FileResult Append(std::string_view bytes);
    // Reads the file from its start, piece by piece, into the consumer.
    FileResult ReadBack(const std::function<bool(std::string_view piece)> &consume);

private:
    int m_fd = -1;
};

// How WriteFileReplacing creates its new file. An unnamed file (where the file
// system has them) is named only for the instant before it replaces the target;
// a named one carries a short hidden name (".tm" and six characters) from the
// start. Either is removed when SIGINT, SIGTERM or SIGHUP ends the program
// during the save. Tests choose the named one to see that it is removed.
enum class TemporaryFile { Unnamed, Named };

// Writes the bytes to a new file beside the target and moves it over the target
// only when everything was written and flushed, so that a failed write leaves
// the old file as it was. The new file keeps the permissions of the old one.
// Only a regular file is replaced: a symbolic link to one keeps the link and
// replaces the file it points to; a folder, a device, a pipe, a socket, a
// dangling link or a link loop is refused with its reason.
FileResult WriteFileReplacing(const std::string &path,
                              std::string_view bytes,
                              TemporaryFile temporary = TemporaryFile::Unnamed);

// A new file for a target, written whole before it takes the target's place, so that
// the several files of one run can all be put in place at its end, or none
// (CommitPreparedFiles). The target is checked when the file is created: as for
// WriteFileReplacing, only a regular file (or a symbolic link to one, which stays a
// link) may be replaced. The new file lives beside the target, unnamed where the file
// system allows; a file never put in place is removed with the object, and when
// SIGINT, SIGTERM or SIGHUP ends the program.
class PreparedFile
{
public:
    PreparedFile() = default;
    ~PreparedFile();
    PreparedFile(const PreparedFile &) = delete;
    PreparedFile &operator=(const PreparedFile &) = delete;

    FileResult Create(const std::string &path, TemporaryFile temporary = TemporaryFile::Unnamed);
    FileResult Append(std::string_view bytes);
    // For a writer that writes the file itself; -1 before Create.
    int Descriptor() const { return m_fd; }
    bool IsCreated() const { return m_fd >= 0; }
    // Removes the new file; the target stays as it was.
    void Discard();

private:
    friend FileResult CommitPreparedFiles(const std::vector<PreparedFile *> &files,
                                          std::size_t *failed);

    std::string m_target; // the file replaced: the path, or the end of its links
    bool m_targetExists = false;
    int m_fd = -1;
    std::string m_temporary; // its name, once it has one
    int m_slot = -1;         // where the signal handler finds the name
};

// Puts every prepared file in place of its target, or none: a failure on the way (a
// full disk at the last flush, a target that became a folder) puts back every target
// already replaced. Where the file system cannot swap two files in one step the
// targets are replaced one by one. On failure `failed` tells which file failed.
FileResult CommitPreparedFiles(const std::vector<PreparedFile *> &files,
                               std::size_t *failed = nullptr);

} // namespace tormel
