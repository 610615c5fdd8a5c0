#pragma once

// A feed (the inputs of one calculation object) taken from and put into the session.

#include "feed/BatchInput.h"

namespace tormel {

class TormelSession;

// The feed as the session holds it: every text of the main window's inputs, all six
// lines with their seven fields, the protection device window's inputs with whether a
// device was accepted (the inputs "Да" accepted while a device is held), and the point
// name last used (none while it is empty).
CalcRequest FeedFromSession(const TormelSession &session);

// Sets the texts of the request into the session through its commands: the scheme, line
// kind and fuse type rules run for every text that changes, then the device is accepted
// unless the request says it was not. The point name is not touched.
// Returns false only when a device to be judged was refused.
bool ApplyCalcRequest(TormelSession &session, const CalcRequest &request);

// Brings the main window's inputs and status lines, the result, the protection device and
// its window back to the start of the program. The report and the point-name dialog stay.
void StartNewFeed(TormelSession &session);

// A new feed with the file's texts and point name.
void LoadFeed(TormelSession &session, const CalcRequest &feed);

} // namespace tormel
