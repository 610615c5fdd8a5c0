#pragma once

#include "feed/BatchInput.h"

#include <string>

namespace tormel {

// The feed as a UTF-8 JSON document: every member written, in a fixed order, indented by
// two blanks and ended by a line end, so that two versions of a file compare line by line.
std::string WriteFeedDocument(const CalcRequest &feed);

// Reads a feed file: one calculation object of the command-line calculator's input, read
// by its parser. Throws InputError naming the field; also for a text that is not UTF-8 and
// for an array of objects.
CalcRequest ReadFeedDocument(const std::string &bytes);

} // namespace tormel
