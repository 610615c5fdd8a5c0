#pragma once

// Reads back what an .xlsx file holds, through the `unzip` tool: sheet names, cell
// texts, each cell's effective bold, alignment and borders, and column widths. Enough
// for the workbooks that the export writes, not a general reader.

#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace tormel::testing {

// What a shell command writes to its standard output.
inline std::string RunCommand(const std::string &command)
{
    std::string out;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, got);
        pclose(pipe);
    }
    return out;
}

inline std::string UnzipEntry(const std::string &archive, const std::string &entry)
{
    return RunCommand("unzip -p '" + archive + "' '" + entry + "' 2>/dev/null");
}

struct XlsxStyle
{
    bool bold = false;
    std::string align; // "" for general
    // Border styles of left, right, top, bottom ("" for none).
    std::string left, right, top, bottom;
};

struct XlsxContents
{
    std::vector<std::string> sheetNames;
    std::map<std::string, std::string> texts; // by "A1"
    std::map<std::string, XlsxStyle> styles;  // by "A1", cells present in the file
    std::map<int, XlsxStyle> rowStyles;       // by row number from 1
    std::map<int, double> columnWidths;       // by column number from 1

    static XlsxContents Read(const std::string &path)
    {
        XlsxContents contents;
        const std::string workbook = UnzipEntry(path, "xl/workbook.xml");
        const std::regex sheetPattern("<sheet name=\"([^\"]*)\"");
        for (std::sregex_iterator it(workbook.begin(), workbook.end(), sheetPattern), end;
             it != end;
             ++it)
            contents.sheetNames.push_back(Unescape((*it)[1]));

        std::vector<std::string> strings;
        const std::string shared = UnzipEntry(path, "xl/sharedStrings.xml");
        const std::regex stringPattern("<si><t(?: [^>]*)?>([^<]*)</t></si>");
        for (std::sregex_iterator it(shared.begin(), shared.end(), stringPattern), end; it != end;
             ++it)
            strings.push_back(Unescape((*it)[1]));

        const std::vector<XlsxStyle> xfs = ReadStyles(UnzipEntry(path, "xl/styles.xml"));
        const auto style = [&xfs](const std::string &index) {
            const std::size_t i = index.empty() ? 0 : std::stoul(index);
            return i < xfs.size() ? xfs[i] : XlsxStyle();
        };

        const std::string sheet = UnzipEntry(path, "xl/worksheets/sheet1.xml");
        const std::regex colPattern("<col min=\"(\\d+)\" max=\"(\\d+)\" width=\"([0-9.]+)\"");
        for (std::sregex_iterator it(sheet.begin(), sheet.end(), colPattern), end; it != end;
             ++it) {
            for (int c = std::stoi((*it)[1]); c <= std::stoi((*it)[2]); ++c)
                contents.columnWidths[c] = std::stod((*it)[3]);
        }
        const std::regex rowPattern("<row r=\"(\\d+)\"[^>]* s=\"(\\d+)\"");
        for (std::sregex_iterator it(sheet.begin(), sheet.end(), rowPattern), end; it != end; ++it)
            contents.rowStyles[std::stoi((*it)[1])] = style((*it)[2]);
        const std::regex cellPattern("<c r=\"([A-Z]+[0-9]+)\"(?: s=\"(\\d+)\")?(?: "
                                     "t=\"(\\w+)\")?(?:/>|>(?:<v>([^<]*)</v>)?</c>)");
        for (std::sregex_iterator it(sheet.begin(), sheet.end(), cellPattern), end; it != end;
             ++it) {
            const std::string ref = (*it)[1];
            contents.styles[ref] = style((*it)[2]);
            if ((*it)[3] == "s")
                contents.texts[ref] = strings.at(std::stoul((*it)[4]));
            else if ((*it)[4].matched)
                contents.texts[ref] = (*it)[4];
        }
        return contents;
    }

private:
    static std::string Unescape(std::string text)
    {
        for (const auto &[from, to] : std::vector<std::pair<std::string, std::string>>{
                     {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
            for (std::size_t at = text.find(from); at != std::string::npos;
                 at = text.find(from, at))
                text.replace(at, from.size(), to);
        }
        return text;
    }

    static std::vector<std::string>
    Blocks(const std::string &xml, const std::string &outer, const std::string &inner)
    {
        std::vector<std::string> blocks;
        const std::size_t start = xml.find("<" + outer);
        const std::size_t stop = xml.find("</" + outer + ">");
        if (start == std::string::npos || stop == std::string::npos)
            return blocks;
        const std::string section = xml.substr(start, stop - start);
        // Lazy attributes, so that "<xf .../>" ends at its own "/>".
        const std::regex pattern("<" + inner + "(?: [^>]*?)?(?:/>|>[\\s\\S]*?</" + inner + ">)");
        for (std::sregex_iterator it(section.begin(), section.end(), pattern), end; it != end; ++it)
            blocks.push_back((*it)[0]);
        return blocks;
    }

    static std::string Attribute(const std::string &xml, const std::string &name)
    {
        std::smatch match;
        if (std::regex_search(xml, match, std::regex(" " + name + "=\"([^\"]*)\"")))
            return match[1];
        return {};
    }

    static std::string EdgeStyle(const std::string &border, const std::string &edge)
    {
        std::smatch match;
        if (std::regex_search(border, match, std::regex("<" + edge + " style=\"(\\w+)\"")))
            return match[1];
        return {};
    }

    static std::vector<XlsxStyle> ReadStyles(const std::string &xml)
    {
        const auto fonts = Blocks(xml, "fonts", "font");
        const auto borders = Blocks(xml, "borders", "border");
        std::vector<XlsxStyle> styles;
        for (const std::string &xf : Blocks(xml, "cellXfs", "xf")) {
            XlsxStyle style;
            const std::size_t font = std::stoul("0" + Attribute(xf, "fontId"));
            style.bold = font < fonts.size() && fonts[font].find("<b/>") != std::string::npos;
            style.align = Attribute(xf, "horizontal");
            const std::size_t border = std::stoul("0" + Attribute(xf, "borderId"));
            if (border < borders.size()) {
                style.left = EdgeStyle(borders[border], "left");
                style.right = EdgeStyle(borders[border], "right");
                style.top = EdgeStyle(borders[border], "top");
                style.bottom = EdgeStyle(borders[border], "bottom");
            }
            styles.push_back(style);
        }
        return styles;
    }
};

} // namespace tormel::testing
