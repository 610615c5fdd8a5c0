#pragma once

#include "core/FileDialogService.h"
#include "session/FeedDocument.h"
#include "session/TormelSession.h"
#include "tests/support/RecordingFileDialogs.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tormel::testing {

namespace fs = std::filesystem;

// The recent list as the settings would keep it.
class MemoryRecentStore : public IRecentFeedStore
{
public:
    std::vector<std::string> loadRecentFeeds() override { return Stored; }
    void saveRecentFeeds(const std::vector<std::string> &paths) override
    {
        Stored = paths;
        ++Saves;
    }
    std::vector<std::string> Stored;
    int Saves = 0;
};

// A feed that touches every kind of input: a scheme whose power list changes, a cable,
// a SIP and a busbar section, parallel conductors, a temperature, the arc resistance, a
// fuse of a type whose rated current list changes, accepted, and a point name.
inline void EnterSampleFeed(TormelSession &session)
{
    MainInputModel &input = session.Input();
    input.WindKind.Text = "T/Y-0";
    session.ChangeWindKind();
    input.TransPower.Text = "400";
    input.RArc = "15";

    TLineInput &cable = input.Lines[0];
    cable.Stuff = "Алюминий";
    cable.Ff = "185";
    cable.Fn = "95";
    cable.Length = "120";
    cable.QuanPar = "2";

    TLineInput &sip = input.Lines[1];
    sip.KindPerform = "СИП-2";
    session.ChangeLineKind(2);
    sip.Stuff = "3*70+1*54.6";
    sip.Length = "250";
    sip.Temperature = "70";

    TLineInput &bus = input.Lines[2];
    bus.KindPerform = "Шинопровод Canalis";
    session.ChangeLineKind(3);
    bus.Stuff = "KS, 250A";
    bus.Length = "40";

    TDeviceDefenceFormModel &form = session.DeviceForm();
    PPRadioButtonClick(form);
    form.TypePP.Text = "НПН";
    session.ChangeFuseType();
    form.TokPP.Text = "40";
    form.TimePP.Text = "Тср < 0,4 с";
    session.AcceptDevice();

    session.AskNumber().SetNumberEditText("К-7");
}

} // namespace tormel::testing
