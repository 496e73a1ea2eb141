#include "skindialogs/message_layout.h"

#include <gtest/gtest.h>

using namespace dorvanel::skindialogs;

TEST(MessageLayout, SingleOkButtonIsCentredAndIsBothDefaultAndCancel) {
    TMessageLayoutInput in;
    in.Buttons = MsgButtons({mbOK});
    EXPECT_EQ(in.Buttons, 4);
    in.LabelWidth = 300;
    in.LabelHeight = 16;
    const TMessageLayout l = LayOutMessage(in);
    EXPECT_EQ(l.RowWidth, 70);
    EXPECT_EQ(l.ClientWidth, 390);  // label right 350 + 40
    EXPECT_EQ(l.ClientHeight, 25 + 16 + 50);
    ASSERT_EQ(l.ButtonPlaces.size(), 1u);
    EXPECT_EQ(l.ButtonPlaces[0].Left, (390 - 70) / 2);
    EXPECT_EQ(l.ButtonPlaces[0].Top, l.ClientHeight - 25 - 10);
    EXPECT_EQ(l.DefaultButton, mbOK);
    EXPECT_EQ(l.CancelButton, mbOK);
}

TEST(MessageLayout, OkCancelRowIs150WideWithButtons80Apart) {
    TMessageLayoutInput in;
    in.Buttons = MsgButtons({mbCancel, mbOK});
    EXPECT_EQ(in.Buttons, 12);
    in.LabelWidth = 10;
    in.LabelHeight = 16;
    in.ButtonHeight = 21;  // a skin whose button section is 21 high
    const TMessageLayout l = LayOutMessage(in);
    EXPECT_EQ(l.RowWidth, 150);
    EXPECT_EQ(l.ClientWidth, 190);  // the row is wider than the label
    EXPECT_EQ(l.ClientHeight, 21 + 16 + 50);
    ASSERT_EQ(l.ButtonPlaces.size(), 2u);
    EXPECT_EQ(l.ButtonPlaces[0].Button, mbOK);
    EXPECT_EQ(l.ButtonPlaces[1].Button, mbCancel);
    EXPECT_EQ(l.ButtonPlaces[1].Left - l.ButtonPlaces[0].Left, 80);
    EXPECT_EQ(l.ButtonPlaces[0].Left, 20);
    EXPECT_EQ(l.DefaultButton, mbOK);
    EXPECT_EQ(l.CancelButton, mbCancel);
}

TEST(MessageLayout, DefaultAndCancelButtonsFollowTheirPreferenceOrder) {
    TMessageLayoutInput in;
    in.Buttons = MsgButtons({mbYes, mbNo});
    TMessageLayout l = LayOutMessage(in);
    EXPECT_EQ(l.DefaultButton, mbYes);
    EXPECT_EQ(l.CancelButton, mbNo);

    in.Buttons = MsgButtons({mbRetry, mbCancel});
    l = LayOutMessage(in);
    EXPECT_EQ(l.DefaultButton, mbRetry);
    EXPECT_EQ(l.CancelButton, mbCancel);

    in.Buttons = MsgButtons({mbAbort, mbIgnore});
    l = LayOutMessage(in);
    EXPECT_EQ(l.DefaultButton, -1);
    EXPECT_EQ(l.CancelButton, -1);  // Escape closes nothing
}

TEST(MessageLayout, ButtonsAlwaysAppearInTableOrder) {
    TMessageLayoutInput in;
    in.Buttons = 0x7FF;  // all eleven
    const TMessageLayout l = LayOutMessage(in);
    ASSERT_EQ(l.ButtonPlaces.size(), 11u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(l.ButtonPlaces[i].Button, i);
    EXPECT_EQ(l.RowWidth, 11 * 70 + 10 * 10);
    EXPECT_EQ(std::string(kMsgButtons[mbNoToAll].Caption), "N&oToAll");
    EXPECT_EQ(kMsgButtons[mbHelp].Result, 0);
}

TEST(MessageLayout, IconIsCentredOnTheTextButNeverAbove10) {
    TMessageLayoutInput in;
    in.LabelHeight = 16;
    EXPECT_EQ(LayOutMessage(in).IconTop, 10);  // 15 + 8 - 16 = 7, raised to 10
    in.LabelHeight = 80;
    EXPECT_EQ(LayOutMessage(in).IconTop, 15 + 40 - 16);
    in.LabelHeight = 33;
    EXPECT_EQ(LayOutMessage(in).IconTop, 15 + 16 - 16);
}

TEST(MessageLayout, NoButtonsGiveAnEmptyRow) {
    TMessageLayoutInput in;
    in.LabelWidth = 100;
    const TMessageLayout l = LayOutMessage(in);
    EXPECT_EQ(l.RowWidth, 0);
    EXPECT_TRUE(l.ButtonPlaces.empty());
    EXPECT_EQ(l.ClientWidth, 190);
}

TEST(MessageLayout, WindowIsKeptWithinTheFramesLimits) {
    TMessageLayoutInput in;
    in.Buttons = MsgButtons({mbOK});
    in.LabelWidth = 5000;
    in.FrameExtraWidth = 16;
    in.MaxWindowWidth = 1280;
    TMessageLayout l = LayOutMessage(in);
    EXPECT_EQ(l.ClientWidth + 16, 1280);
    EXPECT_EQ(l.ButtonPlaces[0].Left, (l.ClientWidth - 70) / 2);

    in.LabelWidth = 10;
    in.MinWindowWidth = 300;
    l = LayOutMessage(in);
    EXPECT_EQ(l.ClientWidth + 16, 300);
}
