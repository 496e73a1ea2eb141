// The Security image dialog as the user meets it: its caption fits, an empty answer is refused, Cancel still
// answers, and the image shows (or fails quietly) from the page's address.
#include "harvest/captcha_dialog.h"

#include "skin/skin_data.h"
#include "support/plain/scripted_server.h"
#include "support/qt/modal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace dorvanel;
using harvest::TfrmCaptcha;

namespace {

std::string PageWithImage(const std::string& src) {
    return "<input type=\"hidden\" name=\"random\" value=\"42\"><input type=\"hidden\" name=\"seed\" value=\"abc\">"
           "<img src=\"" +
           src + "\">";
}

void ClickButton(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); }

// The dialog with the message component its checks speak through, on a page whose image never loads.
struct CaptchaWithMessages {
    skin::TSkinData skin;
    skindialogs::TSkinMessage messages;
    TfrmCaptcha dialog{&skin, &messages};
    CaptchaWithMessages() {
        messages.SetSkinData(&skin);
        dialog.FPageText = PageWithImage("http://127.0.0.1:1/none.png");
    }
};

// Reads the text of the message box that refused an answer, closes it, and then does `next`.
std::function<void(QWidget*)> ReadRefusal(QString& text, std::function<void()> next) {
    return [&text, next](QWidget* box) {
        text = box->findChild<skinctrls::TSkinStdLabel*>(QStringLiteral("Message"))->Caption();
        test::PressKey(box, Qt::Key_Return);
        QTimer::singleShot(0, next);
    };
}

}  // namespace

TEST(CaptchaDialog, CaptionFitsItsLabel) {
    skin::TSkinData skin;
    TfrmCaptcha dialog(&skin, nullptr);
    dialog.show();
    const QFontMetrics metrics(dialog.SkinStdLabel2->TextFont());
    EXPECT_LE(metrics.horizontalAdvance(dialog.SkinStdLabel2->Caption()), dialog.SkinStdLabel2->width());
}

TEST(CaptchaDialog, EmptyAnswerIsRefusedAndCancelStillAnswers) {
    CaptchaWithMessages c;
    TfrmCaptcha& dialog = c.dialog;
    QString refused;
    test::WhenModals({[&](QWidget* dlg) {
                          ClickButton(static_cast<TfrmCaptcha*>(dlg)->btnOk);  // nothing typed: a message, still open
                      },
                      ReadRefusal(refused, [&] { ClickButton(dialog.btnCancel); })});
    EXPECT_EQ(dialog.ShowModal(), skinctrls::mrCancel);
    EXPECT_EQ(refused, "Please enter a password.");
    // What the harvest sends after Cancel: the page's hidden values, whatever was typed (here nothing).
    EXPECT_EQ(dialog.FRandom, "42");
    EXPECT_EQ(dialog.FSeed, "abc");
    EXPECT_TRUE(dialog.edtPassword->Text().isEmpty());
}

TEST(CaptchaDialog, EnterInTheAnswerFieldPressesOk) {
    // As in the keyword entry dialogs: an empty answer is refused, a typed one closes the dialog with OK.
    CaptchaWithMessages c;
    TfrmCaptcha& dialog = c.dialog;
    QString refused;
    test::WhenModals({[&](QWidget*) { test::PressKey(dialog.edtPassword->LineEdit(), Qt::Key_Return); },
                      ReadRefusal(refused, [&] {
                          dialog.edtPassword->SetText(QStringLiteral("x7k"));
                          test::PressKey(dialog.edtPassword->LineEdit(), Qt::Key_Enter);
                      })});
    EXPECT_EQ(dialog.ShowModal(), skinctrls::mrOk);
    EXPECT_EQ(refused, "Please enter a password.");
    EXPECT_EQ(dialog.edtPassword->Text(), "x7k");
}

TEST(CaptchaDialog, TabGoesFromTheAnswerToOkToCancel) {
    skin::TSkinData skin;
    TfrmCaptcha dialog(&skin, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.edtPassword->LineEdit()->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.edtPassword->LineEdit()->hasFocus(); }));
    QStringList reached;
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(reached, QStringList({"btnOk", "btnCancel"}));
}

TEST(CaptchaDialog, ImageLoadsFromThePageAndAFailedOneLeavesTheViewEmpty) {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG"));
    test::ScriptedServer server;
    server.AddConnection(test::AnswerAndClose("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                                              std::to_string(png.size()) + "\r\n\r\n" + png.toStdString()));
    server.Start();
    skin::TSkinData skin;
    // A refused connection on loopback stands for an address that cannot be loaded.
    for (const std::string& src : {server.Url("/image.png?a=1&amp;b=2"), std::string("http://127.0.0.1:1/none.png")}) {
        const bool good = src.find(":1/") == std::string::npos;
        TfrmCaptcha dialog(&skin, nullptr);
        dialog.FPageText = PageWithImage(src);
        QSignalSpy loaded(dialog.WebBrowser1, &harvest::TImageView::Loaded);
        dialog.PrepareImage();
        ASSERT_TRUE(loaded.wait(10000)) << src;
        EXPECT_EQ(loaded.first().first().toBool(), good) << src;
        EXPECT_EQ(dialog.WebBrowser1->Picture().size(), good ? QSize(40, 20) : QSize(0, 0)) << src;
    }
}
