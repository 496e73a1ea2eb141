// The Make Money address, banner clicks and footer link clicks, with a recording browser as the desktop's
// default.
#include "app/outbound_links.h"

#include "skinctrls/skin_labels.h"
#include "support/qt/recording_browser.h"

#include <gtest/gtest.h>

#include <QTest>

namespace dorvanel::app {
namespace {

using Args = std::vector<std::string>;

TEST(OutboundLinks, MakeMoneyAddress) {
    EXPECT_EQ(MakeMoneyURL("127.0.0.1:8080", "12345"), "http://127.0.0.1:8080/likes/QOLVA12345");
    EXPECT_EQ(MakeMoneyURL("www.example.net", ""), "http://www.example.net/likes/QOLVA");
}

TEST(OutboundLinks, FooterLinkClickOpensItsAddressThroughTheDefaultHandler) {
    test::TRecordingBrowser browser("%u");
    RouteLinkLabelsToDefaultHandler();
    skinctrls::TSkinLinkLabel empty, link;
    empty.SetCaption("Nowhere");
    link.SetCaption("Partner");
    link.SetURL("http://127.0.0.1:9/partner?x='1'&y=$(id)");
    for (auto* label : {&empty, &link}) {
        label->show();
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    }
    EXPECT_EQ(browser.WaitForCalls(1), (std::vector<Args>{{"http://127.0.0.1:9/partner?x='1'&y=$(id)"}}));
    skinctrls::TSkinLinkLabel::OpenURL = nullptr;
}

}  // namespace
}  // namespace dorvanel::app
