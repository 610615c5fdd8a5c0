#include "FuzzSupport.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tormel::fuzz {

namespace {

// Whether each known fault is still tolerated; set an entry to false when its mend is in.
constexpr std::array<bool, 7> Tolerated = {
        false, // JsonNumberOutOfRange
        false, // SemicolonInCell
        false, // SeparatorOutsideCodePage
        false, // ControlCharacterInName
        false, // MultiLineMessage
        false, // InvalidUtf8InMessage
        false, // LostOutput
};

constexpr std::array<const char *, 7> FaultNames = {"JsonNumberOutOfRange",
                                                    "SemicolonInCell",
                                                    "SeparatorOutsideCodePage",
                                                    "ControlCharacterInName",
                                                    "MultiLineMessage",
                                                    "InvalidUtf8InMessage",
                                                    "LostOutput"};

std::array<unsigned long, 7> toleratedCounts{};

void printToleratedCounts()
{
    for (std::size_t i = 0; i < toleratedCounts.size(); ++i) {
        if (toleratedCounts[i] > 0)
            std::fprintf(stderr,
                         "tolerated known fault %s: %lu inputs\n",
                         FaultNames[i],
                         toleratedCounts[i]);
    }
}

bool strict()
{
    static const bool value = [] {
        const char *setting = std::getenv("TORMEL_FUZZ_STRICT");
        return setting != nullptr && std::string_view(setting) == "1";
    }();
    return value;
}

// Decodes the UTF-8 character at text[i]; returns its length, 0 when malformed.
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t &code)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char first = byte(i);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (first < 0x80) {
        code = first;
        return 1;
    }
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        code = first & 0x1F;
        minimum = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        code = first & 0x0F;
        minimum = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        code = first & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool isControl(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

} // namespace

namespace {

// The scratch folder, for removal also when a property fails (abort skips atexit).
std::string scratchFolderMade;

void removeScratchFolder()
{
    if (scratchFolderMade.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolderMade, ignored);
    scratchFolderMade.clear();
}

} // namespace

void Require(bool holds, std::string_view property, std::string_view detail)
{
    if (holds)
        return;
    std::fprintf(stderr,
                 "\nPROPERTY FAILED: %.*s\n%.*s\n",
                 int(property.size()),
                 property.data(),
                 int(detail.size()),
                 detail.data());
    removeScratchFolder();
    std::abort();
}

bool IsValidUtf8(std::string_view text)
{
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = decodeUtf8(text, i, code);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool IsOneLine(std::string_view text)
{
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = decodeUtf8(text, i, code);
        if (length == 0 || isControl(code) || code == 0x2028 || code == 0x2029)
            return false;
        i += length;
    }
    return true;
}

bool IsOneLineOrTolerated(std::string_view message)
{
    if (IsOneLine(message))
        return true;
    if (HasControlCharacter(message) || message.find("\u2028") != std::string_view::npos
        || message.find("\u2029") != std::string_view::npos)
        return Tolerate(KnownFault::MultiLineMessage);
    return Tolerate(KnownFault::InvalidUtf8InMessage);
}

bool HasControlCharacter(std::string_view text)
{
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = decodeUtf8(text, i, code);
        if (length == 0) {
            ++i;
            continue;
        }
        if (isControl(code))
            return true;
        i += length;
    }
    return false;
}

const std::string &ScratchFolder()
{
    static const std::string folder = [] {
        namespace fs = std::filesystem;
        const fs::path base
                = access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string name = (base / "tormel-fuzz-XXXXXX").string();
        Require(mkdtemp(name.data()) != nullptr, "a scratch folder can be made", name);
        scratchFolderMade = name;
        std::atexit(removeScratchFolder);
        return name;
    }();
    return folder;
}

bool Tolerate(KnownFault fault)
{
    const auto index = static_cast<std::size_t>(fault);
    if (strict() || !Tolerated[index])
        return false;
    static const bool registered = [] { return std::atexit(printToleratedCounts) == 0; }();
    (void)registered;
    ++toleratedCounts[index];
    return true;
}

} // namespace tormel::fuzz
