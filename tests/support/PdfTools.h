#pragma once

#include <cstdio>
#include <string>

namespace tormel::testing {

// The output of a shell command, as poppler's tools print it.
inline std::string CommandOutput(const std::string &command)
{
    std::string output;
    if (FILE *pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, read);
        ::pclose(pipe);
    }
    return output;
}

// The text of a PDF file read back with pdftotext; of one page when `page` is given.
inline std::string PdfText(const std::string &path, int page = 0)
{
    const std::string range
            = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page)
                       : std::string();
    return CommandOutput("pdftotext -enc UTF-8" + range + " '" + path + "' - 2>/dev/null");
}

inline int PdfPageCount(const std::string &path)
{
    const std::string info = CommandOutput("pdfinfo '" + path + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.substr(at + 6));
}

// The font table of pdffonts without its two header lines.
inline std::string PdfFonts(const std::string &path)
{
    const std::string table = CommandOutput("pdffonts '" + path + "' 2>/dev/null");
    std::size_t at = table.find('\n');
    at = at == std::string::npos ? at : table.find('\n', at + 1);
    return at == std::string::npos ? std::string() : table.substr(at + 1);
}

} // namespace tormel::testing
