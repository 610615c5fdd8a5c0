#pragma once

#include <string>
#include <string_view>
#include <utility>

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

// Reads the whole file.
FileResult ReadFileBytes(const std::string &path, std::string &bytes);

// Writes the bytes to a new file beside the target and moves it over the target
// only when everything was written and flushed, so that a failed write leaves
// the old file as it was. The new file keeps the permissions of the old one.
FileResult WriteFileReplacing(const std::string &path, std::string_view bytes);

} // namespace tormel
