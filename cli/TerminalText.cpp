#include "cli/TerminalText.h"

namespace tormel::cli {

namespace {

// Every byte but a UTF-8 continuation byte starts a character.
bool startsCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

} // namespace

std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (char c : text)
        count += startsCharacter(c) ? 1 : 0;
    return count;
}

std::string FitToColumns(std::string_view text, std::size_t columns)
{
    if (CharacterCount(text) <= columns)
        return std::string(text);
    if (columns == 0)
        return {};
    std::size_t kept = 0;
    std::size_t end = 0;
    for (; end < text.size(); ++end) {
        if (startsCharacter(text[end]) && kept++ == columns - 1)
            break;
    }
    return std::string(text.substr(0, end)) + "…";
}

std::string PadRight(std::string_view text, std::size_t columns)
{
    const std::size_t count = CharacterCount(text);
    return std::string(text) + std::string(count < columns ? columns - count : 0, ' ');
}

std::string PadLeft(std::string_view text, std::size_t columns)
{
    const std::size_t count = CharacterCount(text);
    return std::string(count < columns ? columns - count : 0, ' ') + std::string(text);
}

} // namespace tormel::cli
