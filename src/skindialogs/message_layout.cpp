#include "skindialogs/message_layout.h"

namespace dorvanel::skindialogs {

const std::array<TMsgButtonInfo, kMsgDlgBtnCount> kMsgButtons = {{
    {"Yes", "&Yes", "MSG_BTN_YES", mrYes},
    {"No", "&No", "MSG_BTN_NO", mrNo},
    {"OK", "OK", "MSG_BTN_OK", mrOk},
    {"Cancel", "Cancel", "MSG_BTN_CANCEL", mrCancel},
    {"Abort", "&Abort", "MSG_BTN_ABORT", mrAbort},
    {"Retry", "&Retry", "MSG_BTN_RETRY", mrRetry},
    {"Ignore", "&Ignore", "MSG_BTN_IGNORE", mrIgnore},
    {"All", "&All", "MSG_BTN_ALL", mrAll},
    {"NoToAll", "N&oToAll", "MSG_BTN_NOTOALL", mrNoToAll},
    {"YesToAll", "&YesToAll", "MSG_BTN_YESTOALL", mrYesToAll},
    {"Help", "&Help", "MSG_BTN_HELP", mrNone},
}};
static_assert(kMsgButtons.size() == kMsgDlgBtnCount);

const std::array<TMsgKindInfo, 5> kMsgKinds = {{
    {"Warning", "MSG_CAP_WARNING"},
    {"Error", "MSG_CAP_ERROR"},
    {"Information", "MSG_CAP_INFORMATION"},
    {"Confirm", "MSG_CAP_CONFIRM"},
    {"", ""},
}};

namespace {

bool Has(TMsgDlgButtons set, TMsgDlgBtn b) { return (set >> b) & 1u; }

}  // namespace

TMessageLayout LayOutMessage(const TMessageLayoutInput& in) {
    TMessageLayout out;
    int n = 0;
    for (int b = 0; b < kMsgDlgBtnCount; ++b) n += Has(in.Buttons, TMsgDlgBtn(b)) ? 1 : 0;
    out.RowWidth = n == 0 ? 0 : kMsgButtonWidth * n + kMsgButtonGap * (n - 1);

    const int labelRight = out.LabelLeft + in.LabelWidth;
    out.IconTop = out.LabelTop + in.LabelHeight / 2 - 16;
    if (out.IconTop < 10) out.IconTop = 10;

    out.ClientHeight = in.ButtonHeight + in.LabelHeight + 50;
    out.ClientWidth = (out.RowWidth < labelRight ? labelRight : out.RowWidth) + 40;

    // The frame's limits apply to the whole window, its borders included.
    const int windowWidth = out.ClientWidth + in.FrameExtraWidth;
    if (in.MaxWindowWidth > 0 && windowWidth > in.MaxWindowWidth)
        out.ClientWidth = in.MaxWindowWidth - in.FrameExtraWidth;
    else if (in.MinWindowWidth > 0 && windowWidth < in.MinWindowWidth)
        out.ClientWidth = in.MinWindowWidth - in.FrameExtraWidth;

    out.DefaultButton = Has(in.Buttons, mbOK)      ? mbOK
                        : Has(in.Buttons, mbYes)   ? mbYes
                        : Has(in.Buttons, mbRetry) ? mbRetry
                                                   : -1;
    out.CancelButton = Has(in.Buttons, mbCancel) ? mbCancel
                       : Has(in.Buttons, mbNo)   ? mbNo
                       : Has(in.Buttons, mbOK)   ? mbOK
                                                 : -1;

    int x = (out.ClientWidth - out.RowWidth) / 2;
    const int top = out.ClientHeight - in.ButtonHeight - 10;
    for (int b = 0; b < kMsgDlgBtnCount; ++b) {
        if (!Has(in.Buttons, TMsgDlgBtn(b))) continue;
        out.ButtonPlaces.push_back({TMsgDlgBtn(b), x, top, kMsgButtonWidth, in.ButtonHeight});
        x += kMsgButtonWidth + kMsgButtonGap;
    }
    return out;
}

}  // namespace dorvanel::skindialogs
