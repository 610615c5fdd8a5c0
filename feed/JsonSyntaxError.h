#pragma once

#include <string>

namespace tormel {

// The JSON library's English message of a syntax error ("[json.exception.parse_error.101]
// parse error at line 6, column 19: syntax error while parsing value - invalid string:
// missing closing quote; last read: '...'") in the program's words: what is wrong, without
// the text read (the caller names the place).
std::string JsonSyntaxErrorText(const std::string &libraryMessage);

} // namespace tormel
