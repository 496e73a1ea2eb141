#pragma once
// The report list: a QTreeView over the list's TListItems (the only store of its rows), with check boxes,
// grid lines and a header it paints itself. Its own scroll bars stay hidden; two skinned scroll bars
// beside it (HScrollBar, VScrollBar) show and move its scroll state instead.
#include "skinctrls/list_items.h"
#include "skinctrls/skin_control.h"
#include "skinctrls/skin_scrollbar.h"

#include <QHeaderView>
#include <QPointer>
#include <QTreeView>

namespace dorvanel::skinctrls {

class TSkinListView;

// The list's header: 4 pixels taller than Qt makes it, painted section by section by the list's look.
class TSkinListHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TSkinListHeader(TSkinListView* list);

    QSize sizeHint() const override;
    int ActiveSection() const { return FActiveSection; }
    bool HeaderPressed() const { return FPressed; }
    // Whether x (in header coordinates) lies on the divider between two sections.
    bool OnDivider(int x) const;
    // The section the keyboard is on (logical index): Left and Right move it, Space or Enter clicks it as
    // the mouse does; it shows a focus rectangle while the header has the focus.
    int KeySection() const { return FKeySection; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void PaintSection(QPainter& p, int logical, const QRect& r);
    // Moves the keyboard's section to the visible one step sections away in the order they stand.
    void MoveKeySection(int step);

    TSkinListView* FList;
    int FActiveSection = -1;
    bool FPressed = false;
    int FKeySection = 0;
};

class TSkinListView : public QTreeView, public TSkinClient, public platform::TControlBounds {
    Q_OBJECT
public:
    explicit TSkinListView(QWidget* parent = nullptr);

    void SetSkinData(skin::TSkinData* data) override;
    void SetSkinDataName(const QString& name) { FSkinDataName = name; }
    const QString& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const QString& name) { FHeaderSkinDataName = name; }
    // The section whose check images the rows' check boxes show.
    const QString& CheckBoxSkinDataName() const { return FCheckBoxSkinDataName; }
    // That section, or null without a skin or without such a check box description.
    const skin::TDataSkinCheckRadioControl* CheckBoxDescription() const;
    // The height of every row: the font's line height plus 2, or the check picture when that is taller.
    int ItemHeight() const;
    // The colour of the grid lines: the platform's without a skin, else the list's background moved a
    // quarter of the way toward its text colour.
    QColor GridLineColor() const;
    virtual void RefreshSkinDescription();

    void SetBounds(int left, int top, int width, int height) override;
    void SetAlign(platform::TAlign align) { platform::SetAlign(this, align); }
    void SetAnchors(platform::TAnchors anchors) { platform::SetAnchors(this, anchors); }

    // The rows and columns the list shows; owned by the list.
    TListItems& Items() { return *FItems; }
    const TListItems& Items() const { return *FItems; }
    void AddColumn(const QString& caption, int width, Qt::Alignment alignment = Qt::AlignLeft) {
        FItems->AddColumn(caption, width, alignment);
    }

    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool on);
    const QFont& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const QFont& font);
    const QColor& DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(const QColor& color);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool on);

    TSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TSkinScrollBar* bar);
    TSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TSkinScrollBar* bar);

    // Brings the two skinned bars in step with the list's scroll state (their visibility, range and
    // position). Runs by itself after sizing, painting, keys, clicks, row changes and bar assignments.
    void Synchronise();
    // Rows that fit wholly on one page of the list.
    int RowsPerPage() const;
    // The first row shown.
    int TopRow() const;

    TSkinListHeader* Header() const { return FHeader; }

    std::function<void(int column)> OnColumnClick;
    // Set to draw a header section's caption instead of the list (rect in header coordinates).
    std::function<void(QPainter& p, int column, const QRect& rect, bool pressed)> OnDrawHeaderSection;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ScheduleSynchronise();
    void ApplyColumnWidths(int first, int last);
    void ApplyLook();
    int RowHeight() const;
    QSize ListViewportSize() const;
    void VBarChanged();
    void HBarChanged();
    // Makes bar the list's bar in slot: enabled, hidden until needed, its changes scrolling the list.
    void AttachBar(QPointer<TSkinScrollBar>& slot, TSkinScrollBar* bar, void (TSkinListView::*changed)());

    TListItems* FItems;
    TSkinListHeader* FHeader;
    QString FHeaderSkinDataName = QStringLiteral("resizebutton");
    QString FCheckBoxSkinDataName = QStringLiteral("checkbox");
    QFont FDefaultFont;
    QColor FDefaultColor;
    bool FUseSkinFont = true;
    bool FGridLines = false;
    QPointer<TSkinScrollBar> FHScrollBar;
    QPointer<TSkinScrollBar> FVScrollBar;
    int FLastVPosition = 0;
    int FLastHPosition = 0;
    bool FSynchronising = false;
    bool FScrollingFromBar = false;
    bool FSyncPending = false;
    bool FWidthFromModel = false;
};

}  // namespace dorvanel::skinctrls
