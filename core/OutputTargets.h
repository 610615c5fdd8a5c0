#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tormel {

// The files a run reads or writes, known by what they are on the disk (device and
// inode, following symbolic links), so that an output that names one of them under
// any name (another path, a link, /dev/stdin) is refused before anything is written.
// A file that does not exist yet is known by its folder and its name there.
class OutputTargets
{
public:
    // A file the run uses, and how a refusal calls it ("это входной файл ...").
    void AddPath(const std::string &path, std::string what);
    // A file the program has open (its standard streams): a regular file only, unless
    // every kind counts (a device or a pipe is refused by a save with its own reason).
    void AddDescriptor(int fd, std::string what, bool anyKind = false);

    // Why the output may not be written there: what it names; nothing when it is free.
    std::optional<std::string> Conflict(const std::string &output) const;

private:
    struct Identity
    {
        unsigned long long Device = 0;
        unsigned long long Inode = 0;
        std::string Name; // in the folder, for a file that does not exist yet
        bool operator==(const Identity &) const = default;
    };
    static std::optional<Identity> identityOf(const std::string &path);

    std::vector<std::pair<Identity, std::string>> m_used;
};

// The files the desktop program has open, which a save of another kind must not replace:
// the feed file behind the main window and the report's file (empty: none).
struct OpenDocuments
{
    std::string FeedFile;
    std::string ReportFile;
};

// Why a save must not write to `path`: it is one of the open documents under whatever
// name ("это открытый файл схемы"); nothing when it is neither.
std::optional<std::string> OpenDocumentConflict(const std::string &path, const OpenDocuments &open);

} // namespace tormel
