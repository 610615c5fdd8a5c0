#pragma once

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include <cstdlib>

namespace tormel::testing {

// A fresh folder of its own for one test, removed with everything in it afterwards.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern
                = (std::filesystem::temp_directory_path() / "tormel-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }

    // The full path of `name` inside the folder.
    std::string filePath(const std::string &name) const { return (m_path / name).string(); }

    // Names in the folder, to see that no temporary file is left behind.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_path;
};

// The bytes of a file; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path &file, const std::string &bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

} // namespace tormel::testing
