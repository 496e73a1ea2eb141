#include "skinctrls/frame_objects.h"

#include <algorithm>

namespace dorvanel::skinctrls {

using skin::TStdCommand;

TSkinFrameObject::TSkinFrameObject(const skin::TDataSkinObject* data, std::function<void()> repaint)
    : Blend(std::move(repaint)), FData(data) {}

const QImage* TSkinFrameObject::Picture(const skin::TSkinData* skin) const {
    if (!skin || !FData) return nullptr;
    if (FData->skinrectinapicture) return skin->Picture(FData->activepictureindex);
    return skin->MainPicture().isNull() ? nullptr : &skin->MainPicture();
}

TFrameObjects BuildSkinObjects(const skin::TSkinData& skin, const std::function<void()>& repaint) {
    TFrameObjects objects;
    for (int i = 0; i < skin.SkinObjects().Count(); ++i) {
        const skin::TDataSkinObject* data = skin.Object(i);
        if (auto* caption = dynamic_cast<const skin::TDataSkinCaption*>(data))
            objects.push_back(std::make_unique<TSkinCaptionObject>(caption, repaint));
        else if (auto* button = dynamic_cast<const skin::TDataSkinStdButton*>(data);
                 button && !dynamic_cast<const skin::TDataSkinMainMenuBarButton*>(data))
            objects.push_back(std::make_unique<TSkinStdButtonObject>(button, button->command, repaint));
    }
    return objects;
}

TFrameObjects BuildPlainObjects(const std::function<void()>& repaint) {
    TFrameObjects objects;
    objects.push_back(std::make_unique<TSkinCaptionObject>(nullptr, repaint));
    for (TStdCommand command : {TStdCommand::cmClose, TStdCommand::cmMaximize, TStdCommand::cmMinimize})
        objects.push_back(std::make_unique<TSkinStdButtonObject>(nullptr, command, repaint));
    return objects;
}

bool CommandAvailable(TStdCommand command, TBorderIcons icons) {
    switch (command) {
        case TStdCommand::cmClose:
            return true;
        case TStdCommand::cmMaximize:
            return icons & biMaximize;
        case TStdCommand::cmMinimize:
            return icons & biMinimize;
        case TStdCommand::cmSysMenu:
            return icons & biSystemMenu;
        case TStdCommand::cmRollUp:
            return icons & biRollUp;
        case TStdCommand::cmMinimizeToTray:
            return icons & biMinimizeToTray;
        case TStdCommand::cmDefault:
            return false;
    }
    return false;
}

QRect PlainCaptionRect(QSize windowSize) {
    return {kPlainBorder, kPlainBorder, std::max(0, windowSize.width() - 2 * kPlainBorder), kPlainCaptionHeight};
}

namespace {

// The order in which buttons line up from the strip's edge.
int LineUpOrder(TStdCommand command) {
    switch (command) {
        case TStdCommand::cmClose:
            return 0;
        case TStdCommand::cmMaximize:
            return 1;
        case TStdCommand::cmMinimize:
            return 2;
        case TStdCommand::cmRollUp:
            return 3;
        case TStdCommand::cmMinimizeToTray:
            return 4;
        default:
            return 5;
    }
}

QSize SkinRectSize(const TSkinFrameObject& o) {
    const skin::TRect& r = o.Data()->skinrect;
    return {std::max(0, r.Width()), std::max(0, r.Height())};
}

void LayoutPlain(TFrameObjects& objects, const TFrameLayoutInput& input) {
    const QRect strip = PlainCaptionRect(input.Fit.WindowSize);
    int right = strip.right() + 1 - 2;
    TSkinFrameObject* caption = nullptr;
    for (auto& object : objects) {
        auto* button = dynamic_cast<TSkinStdButtonObject*>(object.get());
        if (!button) {
            caption = object.get();
            continue;
        }
        const bool available = !input.HideCaptionButtons && CommandAvailable(button->Command, input.BorderIcons);
        button->Enabled = button->Visible = available;
        if (!available) continue;
        const QSize size = kPlainButtonSize;
        right -= size.width();
        button->ObjectRect = QRect(QPoint(right, strip.top() + (strip.height() - size.height()) / 2), size);
        right -= 2;
    }
    if (caption)
        caption->ObjectRect = QRect(strip.left(), strip.top(), std::max(0, right - strip.left()), strip.height());
}

}  // namespace

void LayoutFrameObjects(TFrameObjects& objects, const TFrameLayoutInput& input) {
    if (!input.Info) {
        LayoutPlain(objects, input);
        return;
    }
    const TFrameFit& fit = input.Fit;
    const skin::TSkinGeometry geometry = FrameGeometry(*input.Info, input.PictureSize);
    const auto onFrame = [&](const skin::TRect& r) {
        return skin::TranslateSkinRect(geometry, 1, fit.WindowSize, r).ToQRect();
    };

    std::vector<TSkinStdButtonObject*> strip;
    TSkinStdButtonObject* sysMenu = nullptr;
    TSkinCaptionObject* caption = nullptr;
    for (auto& object : objects) {
        if (auto* c = dynamic_cast<TSkinCaptionObject*>(object.get())) {
            if (!caption) caption = c;
            c->ObjectRect = onFrame(c->Data()->skinrect);
            continue;
        }
        auto* button = static_cast<TSkinStdButtonObject*>(object.get());
        const bool available = !input.HideCaptionButtons && CommandAvailable(button->Command, input.BorderIcons);
        button->Enabled = available;
        // A button drawn into the frame picture stays visible, showing its disabled image.
        button->Visible = available || !button->InOwnPicture();
        if (!button->InOwnPicture()) {
            button->ObjectRect = onFrame(button->Data()->skinrect);
        } else if (available) {
            if (button->Command == TStdCommand::cmSysMenu) sysMenu = button;
            else strip.push_back(button);
        }
    }
    std::stable_sort(strip.begin(), strip.end(),
                     [](auto* a, auto* b) { return LineUpOrder(a->Command) < LineUpOrder(b->Command); });

    const bool inButtonsRect = !fit.ButtonsRect.IsEmpty();
    const QRect area = (inButtonsRect ? fit.ButtonsRect : fit.CaptionRect).ToQRect();
    const int offset = HeldSkinInteger(input.Info->buttonsoffset);
    int captionLeft = fit.CaptionRect.Left, captionRight = fit.CaptionRect.Right;
    if (sysMenu) {
        QSize size = input.ShowIcon ? QSize(16, 16) : SkinRectSize(*sysMenu);
        const QRect captionArea = fit.CaptionRect.ToQRect();
        sysMenu->ObjectRect =
            QRect(QPoint(captionArea.left(), captionArea.top() + (captionArea.height() - size.height()) / 2), size);
        captionLeft = sysMenu->ObjectRect.right() + 1;
    }
    if (fit.ButtonsInLeft) {
        int x = area.left() + (!inButtonsRect && sysMenu ? sysMenu->ObjectRect.width() : 0);
        for (TSkinStdButtonObject* button : strip) {
            button->ObjectRect = QRect(QPoint(x, area.top()), SkinRectSize(*button));
            x += button->ObjectRect.width() + offset;
            if (!inButtonsRect) captionLeft = button->ObjectRect.right() + 1;
        }
    } else {
        int x = area.left() + area.width();
        for (TSkinStdButtonObject* button : strip) {
            const QSize size = SkinRectSize(*button);
            x -= size.width();
            button->ObjectRect = QRect(QPoint(x, area.top()), size);
            if (!inButtonsRect) captionRight = x;
            x -= offset;
        }
    }
    if (caption && caption->InOwnPicture()) {
        const int height =
            caption->Data()->skinrect.IsEmpty() ? fit.CaptionRect.Height() : SkinRectSize(*caption).height();
        caption->ObjectRect = QRect(captionLeft, fit.CaptionRect.Top, std::max(0, captionRight - captionLeft), height);
    }
}

skin::TRect ButtonStateRect(const TSkinStdButtonObject& button, bool active, bool toggled, bool hotImage) {
    const skin::TDataSkinStdButton* b = button.Button();
    const bool restore = toggled && !b->restorerect.IsEmpty();
    const skin::TRect& normal = restore ? b->restorerect : b->skinrect;
    const skin::TRect& hot = restore ? b->restoreactiverect : b->activeskinrect;
    const skin::TRect& down = restore ? b->restoredownrect : b->downrect;
    const skin::TRect& inactive = restore ? b->restoreinactiverect : b->inactiveskinrect;
    if (!button.Enabled && !b->disableskinrsect.IsEmpty()) return b->disableskinrsect;
    if (button.Pressed && button.Hot && !down.IsEmpty()) return down;
    if (!active && !inactive.IsEmpty()) return inactive;
    if (hotImage && !hot.IsEmpty()) return hot;
    // The normal image of a button drawn into the frame picture is already on the frame.
    if (!button.InOwnPicture() && !restore) return {};
    return normal;
}

}  // namespace dorvanel::skinctrls
