#include "skindialogs/skin_message.h"

#include "skinctrls/skin_button.h"
#include "skinctrls/skin_labels.h"
#include "defaultskin/default_skin.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace dorvanel::skin;
using namespace dorvanel::skindialogs;
using dorvanel::skinctrls::TSkinButton;

namespace {

// Shows the message and, once the dialog runs, does what the user would.
int Answer(TSkinMessage& msg, TMsgDlgButtons buttons, const std::function<void(TMessageForm*)>& user,
           TMsgDlgType kind = TMsgDlgType::mtInformation) {
    TSkinMessage::OnDialogShown = [&](TMessageForm* form) {
        QTimer::singleShot(0, form, [form, user] {
            user(form);
            // Nothing closed it: close it through the frame so that the test never hangs.
            QTimer::singleShot(50, form, [form] {
                if (form->isVisible()) form->close();
            });
        });
    };
    const int result = msg.ShowSkinMessage(QStringLiteral("Are you sure?"), kind, buttons, 0);
    TSkinMessage::OnDialogShown = nullptr;
    return result;
}

void Key(TMessageForm* form, int key) {
    QWidget* target = form->focusWidget() ? form->focusWidget() : form;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

}  // namespace

TEST(SkinMessage, EnterAndEscapeOnOkCancel) {
    TSkinMessage msg;
    EXPECT_EQ(Answer(msg, 12, [](TMessageForm* f) { Key(f, Qt::Key_Return); }), mrOk);
    EXPECT_EQ(Answer(msg, 12, [](TMessageForm* f) { Key(f, Qt::Key_Escape); }), mrCancel);
    EXPECT_EQ(Answer(msg, 4, [](TMessageForm* f) { Key(f, Qt::Key_Escape); }), mrOk);
    EXPECT_EQ(Answer(msg, 4, [](TMessageForm* f) { Key(f, Qt::Key_Return); }), mrOk);
}

TEST(SkinMessage, ClickingAButtonReturnsItsResult) {
    TSkinMessage msg;
    const int result = Answer(msg, 12, [](TMessageForm* f) {
        auto* cancel = f->findChild<TSkinButton*>(QStringLiteral("Cancel"));
        ASSERT_NE(cancel, nullptr);
        QTest::mouseClick(cancel, Qt::LeftButton, {}, QPoint(10, 10));
    });
    EXPECT_EQ(result, mrCancel);
}

TEST(SkinMessage, YesNoAndSetsWithoutCancel) {
    TSkinMessage msg;
    EXPECT_EQ(Answer(msg, MsgButtons({mbYes, mbNo}), [](TMessageForm* f) { Key(f, Qt::Key_Escape); }), mrNo);
    EXPECT_EQ(Answer(msg, MsgButtons({mbYes, mbNo}), [](TMessageForm* f) { Key(f, Qt::Key_Return); }), mrYes);
    // Abort and Ignore: Escape closes nothing; the frame's close gives 2.
    EXPECT_EQ(Answer(msg, MsgButtons({mbAbort, mbIgnore}), [](TMessageForm* f) { Key(f, Qt::Key_Escape); }), mrCancel);
    // No buttons at all: only the frame closes it.
    EXPECT_EQ(Answer(msg, 0, [](TMessageForm*) {}), mrCancel);
}

TEST(SkinMessage, WindowPartsArePlacedByTheLayout) {
    TSkinMessage msg;
    std::unique_ptr<TMessageForm> form(msg.CreateMessageForm(QStringLiteral("Hello"), TMsgDlgType::mtInformation, 12));
    EXPECT_EQ(form->windowTitle(), "Information");
    auto* label = form->findChild<dorvanel::skinctrls::TSkinStdLabel*>(QStringLiteral("Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x(), 50);
    EXPECT_EQ(label->y(), 15);
    auto* image = form->findChild<QLabel*>(QStringLiteral("Image"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->geometry(), QRect(5, std::max(10, 15 + label->height() / 2 - 16), 32, 32));
    auto* ok = form->findChild<TSkinButton*>(QStringLiteral("OK"));
    auto* cancel = form->findChild<TSkinButton*>(QStringLiteral("Cancel"));
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(cancel->x() - ok->x(), 80);
    EXPECT_EQ(ok->width(), 70);
    EXPECT_EQ(ok->height(), 25);  // no skin: 25 high
    const int clientHeight = form->SkinFrame1->ClientSize().height();
    EXPECT_EQ(clientHeight, 25 + label->height() + 50);
    EXPECT_EQ(ok->y(), clientHeight - 25 - 10);
    EXPECT_TRUE(ok->Default());
    EXPECT_TRUE(cancel->Cancel());

    // A multi-line text grows the label per line and never wraps.
    std::unique_ptr<TMessageForm> tall(
        msg.CreateMessageForm(QStringLiteral("one\ntwo\nthree"), TMsgDlgType::mtInformation, 4));
    auto* tallLabel = tall->findChild<dorvanel::skinctrls::TSkinStdLabel*>(QStringLiteral("Message"));
    EXPECT_GT(tallLabel->height(), label->height() * 2);
}

TEST(SkinMessage, CustomKindHasNoIconAndTheApplicationTitle) {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Dorvanel"));
    TSkinMessage msg;
    std::unique_ptr<TMessageForm> form(msg.CreateMessageForm(QStringLiteral("x"), TMsgDlgType::mtCustom, 4));
    EXPECT_EQ(form->windowTitle(), "Dorvanel");
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Image")), nullptr);
    EXPECT_EQ(form->findChild<dorvanel::skinctrls::TSkinStdLabel*>(QStringLiteral("Message"))->x(), 50);
}

TEST(SkinMessage, AKindPastTheTableIsACustomMessage) {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Dorvanel"));
    TSkinMessage msg;
    for (int code : {5, 9, 255}) {
        std::unique_ptr<TMessageForm> form(msg.CreateMessageForm(QStringLiteral("x"), TMsgDlgType(code), 4));
        EXPECT_EQ(form->windowTitle(), "Dorvanel");
        EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Image")), nullptr);
    }
}

TEST(SkinMessage, AnAmpersandInTheTextIsShown) {
    // "R&D" keeps its "&": the label is as wide as the three characters, not as "RD" with an underline.
    TSkinMessage msg;
    auto labelWidth = [&msg](const char* text) {
        std::unique_ptr<TMessageForm> form(
            msg.CreateMessageForm(QString::fromLatin1(text), TMsgDlgType::mtInformation, 4));
        return form->findChild<dorvanel::skinctrls::TSkinStdLabel*>(QStringLiteral("Message"))->width();
    };
    EXPECT_GT(labelWidth("R&D"), labelWidth("RD"));
    EXPECT_EQ(labelWidth("/tmp/a&b.csv"), labelWidth("/tmp/a&b.csv"));
    EXPECT_GT(labelWidth("/tmp/a&b.csv"), labelWidth("/tmp/ab.csv"));
}

TEST(SkinMessage, ASkinnedMessageIsNoNarrowerThanTheSkinsFramePicture) {
    TSkinData skin;
    TCompressedStoredSkin stored;
    stored.CompressedData = dorvanel::defaultskin::DefaultSkinData();
    skin.ApplyStoredSkin(stored);
    ASSERT_GT(skin.MainPicture().width(), 0);
    TSkinMessage msg;
    msg.SetSkinData(&skin);
    msg.SetCtrlSkinData(&skin);
    std::unique_ptr<TMessageForm> form(msg.CreateMessageForm(QStringLiteral("x"), TMsgDlgType::mtCustom, 0));
    EXPECT_GE(form->width(), skin.MainPicture().width());
    // The buttons take the skin's button height.
    std::unique_ptr<TMessageForm> ok(msg.CreateMessageForm(QStringLiteral("x"), TMsgDlgType::mtCustom, 4));
    EXPECT_EQ(ok->findChild<TSkinButton*>(QStringLiteral("OK"))->height(), 21);
}

TEST(SkinMessage, ResourceStringsReplaceCaptionsAndAMissingKeyGivesNone) {
    TSkinData skin;
    TResourceStrData strings;
    strings.SetResStr(QStringLiteral("MSG_BTN_CANCEL"), QStringLiteral("Abbrechen"));
    strings.SetResStr(QStringLiteral("MSG_CAP_INFORMATION"), QStringLiteral("Hinweis"));
    skin.SetResourceStrData(&strings);
    TSkinMessage msg;
    msg.SetCtrlSkinData(&skin);
    std::unique_ptr<TMessageForm> form(msg.CreateMessageForm(QStringLiteral("x"), TMsgDlgType::mtInformation, 12));
    EXPECT_EQ(form->windowTitle(), "Hinweis");
    EXPECT_EQ(form->findChild<TSkinButton*>(QStringLiteral("Cancel"))->Caption(), "Abbrechen");
    EXPECT_EQ(form->findChild<TSkinButton*>(QStringLiteral("OK"))->Caption(), "");
}
