#pragma once
// The message dialog's buttons and the arithmetic that sizes and places its window, icon, text and button
// row. Kept apart from the window so that the numbers can be checked without showing anything.
#include <array>
#include <cstdint>
#include <vector>

#include "skinctrls/modal_result.h"

namespace dorvanel::skindialogs {

// The message kinds, by their code.
enum class TMsgDlgType : uint8_t { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };

// The eleven buttons, by their bit in a button set, in the order they appear left to right.
enum TMsgDlgBtn : int {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    kMsgDlgBtnCount
};
using TMsgDlgButtons = uint16_t;
constexpr TMsgDlgButtons MsgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn b : buttons) set = static_cast<TMsgDlgButtons>(set | (1u << b));
    return set;
}

// Results returned by a closed dialog: the ones of every skinned dialog.
using skinctrls::TModalResult;
using enum skinctrls::TModalResult;

struct TMsgButtonInfo {
    const char* Name;     // component name
    const char* Caption;  // built-in caption; "&" marks the accelerator
    const char* ResourceKey;
    int Result;
};
extern const std::array<TMsgButtonInfo, kMsgDlgBtnCount> kMsgButtons;

struct TMsgKindInfo {
    const char* Caption;
    const char* ResourceKey;  // empty for the custom kind, which takes the application's title
};
extern const std::array<TMsgKindInfo, 5> kMsgKinds;

// Everything the window needs to place its parts, from the measured label and the frame's limits.
struct TMessageLayoutInput {
    TMsgDlgButtons Buttons = 0;
    int ButtonHeight = 25;
    int LabelWidth = 0;
    int LabelHeight = 0;
    int FrameExtraWidth = 0;  // window width minus client width
    int MaxWindowWidth = 0;   // 0: no limit
    int MinWindowWidth = 0;   // 0: no limit
};

struct TMessageButtonPlace {
    TMsgDlgBtn Button;
    int Left, Top, Width, Height;
};

struct TMessageLayout {
    int ClientWidth = 0;
    int ClientHeight = 0;
    int RowWidth = 0;
    int IconLeft = 5, IconTop = 10;
    int LabelLeft = 50, LabelTop = 15;
    std::vector<TMessageButtonPlace> ButtonPlaces;
    int DefaultButton = -1;  // a TMsgDlgBtn, or -1 when the set has none of OK, Yes, Retry
    int CancelButton = -1;   // a TMsgDlgBtn, or -1 when the set has none of Cancel, No, OK
};

constexpr int kMsgButtonWidth = 70;
constexpr int kMsgButtonGap = 10;

TMessageLayout LayOutMessage(const TMessageLayoutInput& in);

}  // namespace dorvanel::skindialogs
