#pragma once
// The drop-down list box: a box showing the chosen item (with its small icon), a button at its right end, and
// a list that drops down below it (skin_dropdown_list.h), drawn from the skin's list box description that
// the box's description names ("listbox" when it names none).
#include "skinctrls/skin_control.h"
#include "skinctrls/skin_dropdown_list.h"

#include <QList>
#include <QPointer>

namespace dorvanel::skinctrls {

class TSkinComboBox : public TSkinCustomControl {
    Q_OBJECT
public:
    explicit TSkinComboBox(QWidget* parent = nullptr);
    ~TSkinComboBox() override;

    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;

    // ---- items ----
    void Clear();
    void AddItem(const TComboItem& item);
    void InsertItem(int index, const TComboItem& item);
    int Count() const { return static_cast<int>(FItems.size()); }
    const TComboItem& Item(int i) const { return FItems.at(i); }
    // The chosen item, -1 for none. Setting it does not raise OnChange.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    QString Text() const { return FItemIndex >= 0 ? FItems.at(FItemIndex).Text : QString(); }
    // Chooses an item as the user does: sets it and raises OnChange when it differs.
    void ChooseItem(int index);

    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int count) { FDropDownCount = std::max(1, count); }
    // Pixels of one indentation step.
    static constexpr int IndentStep = TSkinDropDownList::IndentStep;

    void DropDown();
    void CloseUp();
    bool DroppedDown() const;
    // The open drop-down list, or null.
    TSkinDropDownList* DropDownList() const { return FList; }
    QRect ButtonRect() const;

    std::function<void()> OnChange;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    const skin::TDataSkinComboBox* ComboDescription() const;
    // The chosen item (icon and text) in the rectangle text.
    void PaintItem(QPainter& p, QRect text, const QFont& font, const QColor& color);

    QList<TComboItem> FItems;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    QPointer<TSkinDropDownList> FList;
};

}  // namespace dorvanel::skinctrls
