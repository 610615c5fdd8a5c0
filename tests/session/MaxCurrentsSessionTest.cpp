// The largest fault currents as the session runs them: judged by each calculation, kept
// with the feed, following the device.

#include "session/TormelSession.h"

#include "feed/FeedFile.h"
#include "session/SessionFeed.h"
#include "tests/support/RecordingMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tormel {
namespace {

using testing::RecordingMessages;

class MaxCurrentsSessionTest : public ::testing::Test
{
protected:
    // 400 kV*A "T/Y-0" on the start's lines, as the window would set it.
    MaxCurrentsSessionTest()
    {
        session.Input().WindKind.Text = "T/Y-0";
        session.ChangeWindKind();
        session.Input().TransPower.Text = "400";
    }

    RecordingMessages messages;
    TormelSession session{messages, NumberSeparators::russian()};
};

TEST_F(MaxCurrentsSessionTest, EveryCalculationJudgesTheTextsAsTheyStandThen)
{
    TMaxCurrentInput &texts = session.MaxCurrentInput().Texts;
    EXPECT_FALSE(session.MaxCurrents());
    ASSERT_TRUE(session.Calculate().Done);
    ASSERT_TRUE(session.MaxCurrents());
    EXPECT_EQ(session.ResultWindow().MaxCurrents.Points[0].Ik3, "12\u00A0833");

    // Typing is not judging: the page stays until the next calculation.
    texts.Sk = "-1";
    EXPECT_TRUE(session.MaxCurrents());
    const CalculationOutcome refused = session.Calculate();
    // The calculation stands and says nothing yet; the refusal is told when asked, once.
    EXPECT_TRUE(refused.Done);
    EXPECT_TRUE(refused.Messages.empty());
    EXPECT_TRUE(session.Status().ResultMenuEnabled);
    EXPECT_FALSE(session.MaxCurrents());
    EXPECT_EQ(session.ResultWindow().MaxCurrents.Points[0].Ik3, "---");
    ASSERT_TRUE(session.MaxCurrentRefusal());
    EXPECT_EQ(session.MaxCurrentRefusal()->Field, MaxCurrentField::Sk);
    const CommandOutcome told = session.TellMaxCurrentRefusal();
    EXPECT_FALSE(told.Done);
    EXPECT_EQ(told.Messages,
              std::vector<std::string>{"Неверная мощность короткого замыкания питающей сети"});
    EXPECT_EQ(messages.texts(), told.Messages);
    EXPECT_TRUE(session.TellMaxCurrentRefusal().Done);
    EXPECT_EQ(messages.texts().size(), 1u);

    // A failed calculation judges nothing: no message of these texts.
    session.Input().RArc = "-1";
    EXPECT_FALSE(session.Calculate().Done);
    EXPECT_TRUE(session.TellMaxCurrentRefusal().Done);
}

TEST_F(MaxCurrentsSessionTest, TheBreakingCapacityFollowsTheDevice)
{
    session.MaxCurrentInput().Texts.Icu = "25";
    ASSERT_TRUE(session.Calculate().Done);
    EXPECT_EQ(session.MaxCurrents()->NoBreakingReason, BreakingGap::NoDevice);

    ASSERT_TRUE(session.AcceptDevice().Done); // the window's start: a breaker of 16 A
    ASSERT_TRUE(session.MaxCurrents()->Breaking);
    EXPECT_TRUE(session.MaxCurrents()->Breaking->Ok);
    EXPECT_EQ(session.ResultWindow().MaxCurrents.BreakingLabel.rfind("достаточна", 0), 0u);
    // Texts typed since the calculation wait for the next one, even when the device changes.
    session.MaxCurrentInput().Texts.Icu = "1";
    session.ResetDevice();
    EXPECT_EQ(session.MaxCurrents()->NoBreakingReason, BreakingGap::NoDevice);
    session.AcceptDevice();
    EXPECT_TRUE(session.MaxCurrents()->Breaking->Ok);
}

TEST_F(MaxCurrentsSessionTest, TextsTravelWithTheFeedAndANewFeedForgetsThem)
{
    TMaxCurrentInput &texts = session.MaxCurrentInput().Texts;
    texts = {"200", "4.5", "5.5", "25"};
    const std::string document = WriteFeedDocument(FeedFromSession(session));

    RecordingMessages otherMessages;
    TormelSession reopened(otherMessages, NumberSeparators::russian());
    LoadFeed(reopened, ReadFeedDocument(document));
    const TMaxCurrentInput &back = reopened.MaxCurrentInput().Texts;
    EXPECT_EQ(back.Sk, "200");
    EXPECT_EQ(back.Uk, "4.5");
    EXPECT_EQ(back.Pk, "5.5");
    EXPECT_EQ(back.Icu, "25");
    EXPECT_EQ(WriteFeedDocument(FeedFromSession(reopened)), document);

    ASSERT_TRUE(reopened.Calculate().Done);
    ASSERT_TRUE(reopened.MaxCurrents());
    StartNewFeed(reopened);
    EXPECT_TRUE(reopened.MaxCurrentInput().Texts.Sk.empty());
    EXPECT_FALSE(reopened.MaxCurrents());
    session.ResetToStart();
    EXPECT_TRUE(session.MaxCurrentInput().Texts.Icu.empty());
}

} // namespace
} // namespace tormel
