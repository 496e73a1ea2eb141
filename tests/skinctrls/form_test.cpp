// Dialogs: ModalResult closes them, Enter presses the default button, Escape the cancel button, closing
// through the frame answers Cancel.
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

struct Dialog {
    TSkinForm form;
    TSkinEdit* edit = new TSkinEdit(&form);
    TSkinButton* ok = new TSkinButton(&form);
    TSkinButton* cancel = new TSkinButton(&form);

    Dialog() {
        form.SetClientSize(309, 109);
        edit->SetBounds(13, 37, 280, 15);
        ok->SetBounds(68, 67, 82, 21);
        ok->SetCaption("Ok");
        cancel->SetBounds(157, 67, 82, 21);
        cancel->SetCaption("Cancel");
        cancel->SetModalResult(mrCancel);
    }

    // Runs the dialog modally while action acts on it; a dialog that does not close is closed with 99.
    int Run(const std::function<void()>& action) {
        QTimer::singleShot(0, &form, [this, action] {
            edit->setFocus();
            action();
        });
        QTimer::singleShot(300, &form, [this] {
            if (form.isVisible()) form.done(99);
        });
        return form.ShowModal();
    }
};

TEST(Form, ModalResultOfAButtonClosesWithoutHandler) {
    Dialog d;
    EXPECT_EQ(d.Run([&] { QTest::mouseClick(d.cancel, Qt::LeftButton, {}, QPoint(5, 5)); }), mrCancel);
}

TEST(Form, HandlerSettingTheResultClosesAfterItReturns) {
    Dialog d;
    bool visibleInHandler = false;
    d.ok->OnClick = [&] {
        d.form.SetModalResult(mrOk);
        visibleInHandler = d.form.isVisible();
    };
    EXPECT_EQ(d.Run([&] { QTest::mouseClick(d.ok, Qt::LeftButton, {}, QPoint(5, 5)); }), mrOk);
    EXPECT_TRUE(visibleInHandler);
}

TEST(Form, ResultSetBackToNoneKeepsTheDialogOpen) {
    Dialog d;
    d.ok->SetModalResult(mrOk);
    d.ok->OnClick = [&] { d.form.SetModalResult(mrNone); };  // a failed check
    EXPECT_EQ(d.Run([&] { QTest::mouseClick(d.ok, Qt::LeftButton, {}, QPoint(5, 5)); }), 99);
}

TEST(Form, EnterPressesTheDefaultButtonEscapeTheCancelButton) {
    {
        Dialog d;
        d.ok->SetDefault(true);
        d.ok->SetModalResult(mrOk);
        d.cancel->SetCancel(true);
        EXPECT_EQ(d.Run([&] { QTest::keyClick(d.edit->LineEdit(), Qt::Key_Return); }), mrOk);
    }
    {
        Dialog d;
        d.ok->SetDefault(true);
        d.ok->SetModalResult(mrOk);
        d.cancel->SetCancel(true);
        EXPECT_EQ(d.Run([&] { QTest::keyClick(d.edit->LineEdit(), Qt::Key_Escape); }), mrCancel);
    }
}

TEST(Form, EscapeWithoutACancelButtonDoesNothing) {
    Dialog d;
    EXPECT_EQ(d.Run([&] { QTest::keyClick(d.edit->LineEdit(), Qt::Key_Escape); }), 99);
}

TEST(Form, EditKeyDownSeesEnterFirstAndCanSwallowIt) {
    Dialog d;
    d.ok->SetDefault(true);
    d.ok->SetModalResult(mrOk);
    int enters = 0;
    d.edit->OnKeyDown = [&](int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ++enters;
            key = 0;
        }
    };
    EXPECT_EQ(d.Run([&] { QTest::keyClick(d.edit->LineEdit(), Qt::Key_Return, Qt::ShiftModifier); }), 99);
    EXPECT_EQ(enters, 1);
}

TEST(Form, AcceleratorCharacterClicksTheButton) {
    Dialog d;
    d.cancel->SetCaption("&Cancel");
    EXPECT_EQ(d.Run([&] {
        QApplication::setActiveWindow(&d.form);
        QTest::keyClick(d.edit->LineEdit(), Qt::Key_C, Qt::AltModifier);
    }),
              mrCancel);
}

TEST(Form, ClosingThroughTheFrameAnswersCancel) {
    Dialog d;
    EXPECT_EQ(d.Run([&] { d.form.close(); }), mrCancel);
}

}  // namespace
}  // namespace dorvanel::skinctrls
