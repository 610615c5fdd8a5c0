#include "core/OutputTargets.h"

#include <filesystem>
#include <utility>

#include <sys/stat.h>

namespace tormel {

std::optional<OutputTargets::Identity> OutputTargets::identityOf(const std::string &path)
{
    struct stat entry
    {
    };
    if (::stat(path.c_str(), &entry) == 0)
        return Identity{entry.st_dev, entry.st_ino, {}};
    // Not there yet (or a dangling link, which the save refuses): the folder it would
    // be made in, and its name there.
    const std::filesystem::path name(path);
    if (name.filename().empty())
        return std::nullopt;
    const std::filesystem::path folder = name.has_parent_path() ? name.parent_path() : ".";
    if (::stat(folder.c_str(), &entry) != 0)
        return std::nullopt;
    return Identity{entry.st_dev, entry.st_ino, name.filename().string()};
}

void OutputTargets::AddPath(const std::string &path, std::string what)
{
    if (std::optional<Identity> identity = identityOf(path))
        m_used.emplace_back(std::move(*identity), std::move(what));
}

void OutputTargets::AddDescriptor(int fd, std::string what, bool anyKind)
{
    struct stat entry
    {
    };
    if (::fstat(fd, &entry) == 0 && (anyKind || S_ISREG(entry.st_mode)))
        m_used.emplace_back(Identity{entry.st_dev, entry.st_ino, {}}, std::move(what));
}

std::optional<std::string> OutputTargets::Conflict(const std::string &output) const
{
    const std::optional<Identity> identity = identityOf(output);
    if (!identity)
        return std::nullopt;
    for (const auto &[used, what] : m_used) {
        if (used == *identity)
            return what;
    }
    return std::nullopt;
}

std::optional<std::string> OpenDocumentConflict(const std::string &path, const OpenDocuments &open)
{
    // Only a file that is there can be lost.
    const auto same = [&path](const std::string &document) {
        struct stat target
        {
        };
        struct stat opened
        {
        };
        return !document.empty() && ::stat(path.c_str(), &target) == 0
               && ::stat(document.c_str(), &opened) == 0 && target.st_dev == opened.st_dev
               && target.st_ino == opened.st_ino;
    };
    if (same(open.FeedFile))
        return std::string("это открытый файл схемы");
    if (same(open.ReportFile))
        return std::string("это открытый файл отчета");
    return std::nullopt;
}

} // namespace tormel
