// What the skinned controls tell assistive technology through Qt's accessibility layer: role, name, state,
// actions and values, read the way a screen reader reads them.
#include "skinctrls/skin_accessible.h"
#include "skinctrls/program_skin.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_combobox.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_popup_menu.h"
#include "skinctrls/skin_scrollbar.h"
#include "skinctrls/skin_status.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTest>
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

    // An action runs once the request that asked for it has returned (a press may open a modal dialog).
    Read(button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }));
    QAccessibleInterface* check = Read(box);
    EXPECT_FALSE(check->state().checked);
    check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->Checked(); }));
    EXPECT_TRUE(check->state().checked);
    Read(link)->actionInterface()->doAction(QStringLiteral("jump"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return jumps == 1; }));
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

// The children of an accessible object, found by role and name.
QAccessibleInterface* Find(QAccessibleInterface* parent, QAccessible::Role role, const QString& name) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* c = parent->child(i);
        if (c && c->role() == role && c->text(QAccessible::Name) == name) return c;
    }
    return nullptr;
}

TEST(SkinAccessible, EditsAndComboBoxesAreNamedByTheirLabelsAndScrollBarsGiveTheirPosition) {
    QWidget form;
    form.resize(400, 200);
    auto* above = new TSkinStdLabel(&form);
    above->SetCaption(QStringLiteral("Please type the &main keyword:"));
    above->SetBounds(10, 10, 200, 16);
    auto* edit = new TSkinEdit(&form);
    edit->SetBounds(10, 30, 200, 18);
    edit->SetText(QStringLiteral("golf"));
    auto* before = new TSkinStdLabel(&form);
    before->SetCaption(QStringLiteral("Files of type:"));
    before->SetBounds(10, 80, 80, 16);
    auto* combo = new TSkinComboBox(&form);
    combo->SetBounds(95, 78, 150, 20);
    combo->AddItem({QStringLiteral("Text files"), {}, 0, {}});
    combo->SetItemIndex(0);
    auto* far = new TSkinEdit(&form);  // nothing reads as its label
    far->SetBounds(300, 150, 80, 18);
    auto* bar = new TSkinScrollBar(&form);
    bar->SetRange(0, 100, 10, 20);
    form.show();

    QAccessibleInterface* e = Read(edit);
    EXPECT_EQ(e->role(), QAccessible::EditableText);
    EXPECT_EQ(e->text(QAccessible::Name), "Please type the main keyword:");
    EXPECT_EQ(e->childCount(), 0);
    ASSERT_NE(e->textInterface(), nullptr);
    EXPECT_EQ(e->textInterface()->text(0, 4), "golf");
    ASSERT_NE(e->editableTextInterface(), nullptr);
    e->editableTextInterface()->insertText(4, QStringLiteral(" clubs"));
    EXPECT_EQ(edit->Text(), "golf clubs");
    // The inner edit, where a screen reader lands when the box has the focus, is read by the same label.
    EXPECT_EQ(Read(edit->LineEdit())->text(QAccessible::Name), "Please type the main keyword:");
    EXPECT_EQ(Read(far)->text(QAccessible::Name), "");

    QAccessibleInterface* c = Read(combo);
    EXPECT_EQ(c->role(), QAccessible::ComboBox);
    EXPECT_EQ(c->text(QAccessible::Name), "Files of type:");
    EXPECT_EQ(c->text(QAccessible::Value), "Text files");

    QAccessibleInterface* b = Read(bar);
    EXPECT_EQ(b->role(), QAccessible::ScrollBar);
    ASSERT_NE(b->valueInterface(), nullptr);
    EXPECT_EQ(b->valueInterface()->currentValue().toInt(), 20);
    b->valueInterface()->setCurrentValue(300);  // kept in range, as dragging keeps it
    EXPECT_GT(bar->Position(), 20);
    EXPECT_LE(bar->Position(), bar->Max());
    EXPECT_EQ(b->valueInterface()->currentValue().toInt(), bar->Position());
}

TEST(SkinAccessible, AFramedWindowListsItsCaptionButtonsNamedAsItsSystemMenuNamesThem) {
    auto skin = test::ProgramSkin();
    QWidget form;
    TSkinFrame frame(&form, TFormBorderStyle::bsSizeable);
    frame.SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    frame.SetSkinData(skin.get());
    frame.SetClientSize(400, 300);
    form.setWindowTitle(QStringLiteral("Dorvanel"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QAccessibleInterface* window = Read(&form);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Dorvanel");
    for (const char* name : {"Close", "Maximize", "Minimize", "System menu"}) {
        QAccessibleInterface* button = Find(window, QAccessible::Button, QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(window->child(window->indexOfChild(button)), button);
        EXPECT_EQ(button->parent(), window);
        EXPECT_FALSE(button->state().invisible) << name;
        EXPECT_TRUE(button->rect().isValid()) << name;
        EXPECT_TRUE(window->rect().contains(button->rect())) << name;
    }
    // Pressed through its action, a caption button runs its command; the maximise button is then "Restore".
    Find(window, QAccessible::Button, QStringLiteral("Maximize"))->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.WindowState() == TFrameWindowState::wsMaximized; }));
    EXPECT_NE(Find(window, QAccessible::Button, QStringLiteral("Restore")), nullptr);
    Find(window, QAccessible::Button, QStringLiteral("Close"))->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }));
}

TEST(SkinAccessible, MenuItemsAreTheMenusChildrenAndPressingOneChoosesIt) {
    QWidget owner;
    auto* menu = new TSkinPopupMenu(&owner);
    std::vector<int> runs;
    const struct {
        const char* caption;
        bool enabled, separator;
    } items[] = {{"Mi&nimize", true, false}, {"Ma&ximize", false, false}, {"", true, true}, {"&Close", true, false}};
    for (int i = 0; i < 4; ++i)
        menu->Add({QString::fromLatin1(items[i].caption), items[i].enabled, items[i].separator,
                   [&runs, i] { runs.push_back(i); }});
    std::vector<std::pair<QAccessible::Event, int>> heard;
    const auto previous = AnnounceTo;
    AnnounceTo = [&](QAccessibleEvent* event) { heard.emplace_back(event->type(), event->child()); };
    menu->Popup(QPoint(50, 50));
    QTest::keyClick(menu, Qt::Key_Down);
    AnnounceTo = previous;
    EXPECT_EQ(heard, (std::vector<std::pair<QAccessible::Event, int>>{{QAccessible::PopupMenuStart, -1},
                                                                       {QAccessible::Focus, 0}}));

    QAccessibleInterface* m = Read(menu);
    EXPECT_EQ(m->role(), QAccessible::PopupMenu);
    ASSERT_EQ(m->childCount(), 4);
    const QAccessible::Role roles[] = {QAccessible::MenuItem, QAccessible::MenuItem, QAccessible::Separator,
                                       QAccessible::MenuItem};
    const char* names[] = {"Minimize", "Maximize", "", "Close"};
    for (int i = 0; i < 4; ++i) {
        QAccessibleInterface* item = m->child(i);
        EXPECT_EQ(item->role(), roles[i]);
        EXPECT_EQ(item->text(QAccessible::Name), names[i]);
        EXPECT_EQ(item->state().disabled, !items[i].enabled);
        EXPECT_EQ(m->indexOfChild(item), i);
        EXPECT_EQ(item->parent(), m);
    }
    EXPECT_EQ(m->focusChild(), m->child(0));
    EXPECT_TRUE(m->child(0)->state().focused);
    // A disabled item offers nothing to press; pressing "Close" closes the menu and runs it once.
    EXPECT_TRUE(m->child(1)->actionInterface()->actionNames().isEmpty());
    m->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !runs.empty(); }));
    EXPECT_EQ(runs, std::vector<int>{3});
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(m->child(0)->state().invisible);
}

TEST(SkinAccessible, ADialogIsAnnouncedWhenItOpensAndAMessageBoxAsAnAlertWithItsText) {
    std::vector<std::pair<QAccessible::Event, QObject*>> heard;
    const auto previous = AnnounceTo;
    AnnounceTo = [&](QAccessibleEvent* event) { heard.emplace_back(event->type(), event->object()); };
    TSkinForm dialog, message;
    message.SetAlertText(QStringLiteral("Please add a Main Keyword."));
    dialog.show();
    message.show();
    AnnounceTo = previous;
    EXPECT_EQ(heard, (std::vector<std::pair<QAccessible::Event, QObject*>>{{QAccessible::DialogStart, &dialog},
                                                                          {QAccessible::Alert, &message}}));
    EXPECT_EQ(Read(&dialog)->role(), QAccessible::Dialog);
    EXPECT_EQ(Read(&message)->role(), QAccessible::AlertMessage);
    EXPECT_EQ(Read(&message)->text(QAccessible::Description), "Please add a Main Keyword.");
}

TEST(SkinKeyboard, TheArrowsMoveTheFocusBetweenTheBoxesThatStandTogetherAndSpaceChooses) {
    QWidget form;
    TSkinCheckRadioBox* boxes[3];
    for (int i = 0; i < 3; ++i) {
        boxes[i] = new TSkinCheckRadioBox(&form);
        boxes[i]->SetBounds(10, 10 + 25 * i, 200, 20);
    }
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    boxes[0]->setFocus(Qt::TabFocusReason);
    const struct {
        Qt::Key key;
        int focused;
    } steps[] = {{Qt::Key_Down, 1}, {Qt::Key_Right, 2}, {Qt::Key_Down, 0}, {Qt::Key_Up, 2}, {Qt::Key_Left, 1}};
    for (const auto& step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_TRUE(boxes[step.focused]->hasFocus()) << step.focused;
    }
    QTest::keyClick(boxes[1], Qt::Key_Space);
    EXPECT_TRUE(boxes[1]->Checked());
    EXPECT_FALSE(boxes[0]->Checked());
    EXPECT_EQ(boxes[0]->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
}

TEST(SkinKeyboard, AltSpaceOpensTheSystemMenuBelowTheCaption) {
    QWidget form;
    TSkinFrame frame(&form, TFormBorderStyle::bsSizeable);
    frame.SetClientSize(300, 200);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Space, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.SystemMenu()->isVisible(); }));
    EXPECT_EQ(frame.SystemMenu()->Items().back().Caption, "&Close");
    EXPECT_GE(frame.SystemMenu()->y(), form.y() + frame.Fit().CaptionRect.ToQRect().bottom());
    frame.SystemMenu()->close();
}

}  // namespace
}  // namespace dorvanel::skinctrls
