#pragma once

#include "feed/BatchInput.h"

#include <string>

namespace tormel {

class TormelSession;

// The feed as the session holds it: every text of the main window's inputs, all six
// lines with their seven fields, the protection device window's inputs with whether a
// device was accepted (the inputs "Да" accepted while a device is held), and the point
// name last used (none while it is empty).
CalcRequest FeedFromSession(const TormelSession &session);

// The feed as a UTF-8 JSON document: every member written, in a fixed order, indented by
// two blanks and ended by a line end, so that two versions of a file compare line by line.
std::string WriteFeedDocument(const CalcRequest &feed);

// Reads a feed file: one calculation object of the command-line calculator's input, read
// by its parser. Throws InputError naming the field; also for a text that is not UTF-8 and
// for an array of objects.
CalcRequest ReadFeedDocument(const std::string &bytes);

// Sets the texts of the request into the windows as a user would: the scheme, line kind
// and fuse type change rules run for every text that changes, then the device is judged
// ("Да") unless the request says it was not accepted. The point name is not touched.
// Returns false only when a device to be judged was refused.
bool ApplyCalcRequest(TormelSession &session, const CalcRequest &request);

// Brings the main window's inputs and status lines, the result, the protection device and
// its window back to the start of the program. The report and the point-name dialog stay.
void StartNewFeed(TormelSession &session);

// A new feed with the file's texts and point name.
void LoadFeed(TormelSession &session, const CalcRequest &feed);

} // namespace tormel
