// What the skinned controls tell assistive technology through Qt's accessibility layer: role, name, state,
// actions and values, read the way a screen reader reads them.
#include "skinctrls/skin_accessible.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_status.h"

#include <QAccessible>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace dorvanel::skinctrls {
namespace {

QAccessibleInterface* Read(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }

TEST(SkinAccessible, RolesNamesAndTheActionsThatRunTheControls) {
    QWidget form;
    auto* button = new TSkinButton(&form);
    button->SetCaption(QStringLiteral("&Gather Keywords"));
    int clicks = 0;
    button->OnClick = [&] { ++clicks; };
    auto* box = new TSkinCheckRadioBox(&form);
    box->SetCaption(QStringLiteral("Precise && exact"));
    auto* radio = new TSkinCheckRadioBox(&form);
    radio->SetRadio(true);
    auto* label = new TSkinStdLabel(&form);
    label->SetCaption(QStringLiteral("Main keyword:"));
    auto* link = new TSkinLinkLabel(&form);
    link->SetCaption(QStringLiteral("Google"));
    int jumps = 0;
    link->OnClick = [&] { ++jumps; };
    auto* panel = new TSkinStatusPanel(&form);
    panel->SetCaption(QStringLiteral("Process completed"));

    const struct {
        QWidget* widget;
        QAccessible::Role role;
        QString name;
    } cases[] = {
        {button, QAccessible::Button, "Gather Keywords"}, {box, QAccessible::CheckBox, "Precise & exact"},
        {radio, QAccessible::RadioButton, ""},            {label, QAccessible::StaticText, "Main keyword:"},
        {link, QAccessible::Link, "Google"},              {panel, QAccessible::StatusBar, "Process completed"},
    };
    for (const auto& c : cases) {
        QAccessibleInterface* a = Read(c.widget);
        ASSERT_NE(a, nullptr) << c.name.toStdString();
        EXPECT_EQ(a->role(), c.role) << c.name.toStdString();
        EXPECT_EQ(a->text(QAccessible::Name), c.name);
    }
    EXPECT_EQ(Read(button)->text(QAccessible::Accelerator), QKeySequence(Qt::ALT | Qt::Key_G).toString());
    EXPECT_EQ(Read(panel)->text(QAccessible::Value), "Process completed");

    Read(button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);
    QAccessibleInterface* check = Read(box);
    EXPECT_FALSE(check->state().checked);
    check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(check->state().checked);
    Read(link)->actionInterface()->doAction(QStringLiteral("jump"));
    EXPECT_EQ(jumps, 1);
    // A disabled button offers no press.
    button->setEnabled(false);
    EXPECT_FALSE(Read(button)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

TEST(SkinAccessible, TheGaugeIsAProgressBarWithItsValue) {
    TSkinGauge gauge;
    gauge.SetMaxValue(8);
    gauge.SetValue(3);
    QAccessibleInterface* a = Read(&gauge);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::ProgressBar);
    ASSERT_NE(a->valueInterface(), nullptr);
    EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 3);
    EXPECT_EQ(a->valueInterface()->maximumValue().toInt(), 8);
    EXPECT_EQ(a->text(QAccessible::Value), "3");
}

TEST(SkinAccessible, ChangesAreAnnouncedWhileTheControlsAreShown) {
    QWidget form;
    auto* panel = new TSkinStatusPanel(&form);
    auto* gauge = new TSkinGauge(&form);
    auto* box = new TSkinCheckRadioBox(&form);
    form.show();
    std::vector<std::pair<QAccessible::Event, QObject*>> heard;
    const auto previous = AnnounceTo;
    AnnounceTo = [&](QAccessibleEvent* event) { heard.emplace_back(event->type(), event->object()); };
    // Nothing is announced while a control is being made or hidden.
    auto* hidden = new TSkinStatusPanel;
    hidden->SetCaption(QStringLiteral("not shown"));
    delete hidden;
    panel->SetCaption(QStringLiteral("Getting URL: http://127.0.0.1/"));
    gauge->SetValue(40);
    box->SetChecked(true);
    AnnounceTo = previous;
    const std::vector<std::pair<QAccessible::Event, QObject*>> expected = {{QAccessible::NameChanged, panel},
                                                                            {QAccessible::ValueChanged, panel},
                                                                            {QAccessible::ValueChanged, gauge},
                                                                            {QAccessible::StateChanged, box}};
    EXPECT_EQ(heard, expected);
}

}  // namespace
}  // namespace dorvanel::skinctrls
