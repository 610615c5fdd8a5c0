#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What every fuzz target shares: a failed property stops the run with a message (so
// that libFuzzer saves the input), the text checks the properties are made of, and
// the switch for faults that are known and being mended.
namespace tormel::fuzz {

// Stops the run when the property does not hold; libFuzzer keeps the input as a crash.
void Require(bool holds, std::string_view property, std::string_view detail = {});

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values
// beyond U+10FFFF).
bool IsValidUtf8(std::string_view text);

// A message fit for one line of a terminal or a log: valid UTF-8 without line breaks
// or other control characters (C0, DEL, C1, U+2028, U+2029).
bool IsOneLine(std::string_view text);

// Whether a message is one line, and when it is not whether that is a tolerated known
// fault (control characters, or bytes that are not UTF-8, quoted from the input).
bool IsOneLineOrTolerated(std::string_view message);

// Whether the text holds a control character of C0 (line ends included), DEL or C1,
// read as UTF-8 (a byte that is not valid UTF-8 is not a character).
bool HasControlCharacter(std::string_view text);

// A folder of this run for the files a target writes (on tmpfs when there is one),
// removed when the run ends.
const std::string &ScratchFolder();

// Faults that the program still has and that are being mended: while a fault is
// tolerated, an input that shows exactly it is counted instead of stopping the run,
// so that the smoke runs keep finding the other faults. TORMEL_FUZZ_STRICT=1 in the
// environment checks every property regardless.
enum class KnownFault {
    // A JSON number beyond the range of a double ends tormel-calc with an exception.
    JsonNumberOutOfRange,
    // A report cell with ";" is written unquoted and reads back shifted.
    SemicolonInCell,
    // A separator that Windows-1251 lacks (U+202F, U+066B, ...) makes a report unsavable.
    SeparatorOutsideCodePage,
    // A C1 control character (U+0080 to U+009F) is accepted in a point name.
    ControlCharacterInName,
    // An error message quotes the user's text with its line breaks and control characters.
    MultiLineMessage,
    // An error message quotes bytes of the input that are not UTF-8 (the JSON reader's
    // "last read: '...'" takes them as they stand).
    InvalidUtf8InMessage,
    // A failed write of the standard output still ends with status 0.
    LostOutput,
};

// Whether the fault is tolerated in this run; counts the occurrence when it is. The
// counts are printed when the run ends.
bool Tolerate(KnownFault fault);

} // namespace tormel::fuzz
