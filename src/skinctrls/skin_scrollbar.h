#pragma once
// The scroll bar: a thumb between a "down" button (left or top end, decreases Position) and an "up" button
// (right or bottom end, increases it), with page steps in the track, dragging, and auto-repeat while a
// button or the track is held (a first pause of 500 ms, then a step every 50 ms).
#include "skinctrls/skin_control.h"

class QTimer;

namespace dorvanel::skinctrls {

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TSkinScrollBar : public TSkinCustomControl {
    Q_OBJECT
public:
    explicit TSkinScrollBar(QWidget* parent = nullptr);

    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    void SetRange(int min, int max, int pageSize, int position);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool on);
    bool Both() const { return FBoth; }
    void SetBoth(bool on);
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int width);
    const QString& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(const QString& name) { FBothSkinDataName = name; }

    // ---- geometry (plain look), recomputed before every paint and press ----
    enum Part { ptThumb = 0, ptUpButton = 1, ptDownButton = 2, ptNone = -1 };
    QRect PartRect(Part part) const;
    QRect TrackRect() const;
    bool PartHot(Part part) const { return part >= 0 && FHot[part]; }
    bool PartPressed(Part part) const { return part >= 0 && FPressed[part]; }

    std::function<void()> OnChange;
    std::function<void()> OnPageUp;
    std::function<void()> OnPageDown;
    std::function<void()> OnUpButtonClick;
    std::function<void()> OnDownButtonClick;
    std::function<void()> OnLastChange;

    static constexpr int FirstRepeatDelay = 500;
    static constexpr int RepeatInterval = 50;

protected:
    void MouseLeave() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class TRepeat { None, DownButton, UpButton, PageBack, PageForward };

    struct TLayout {
        QRect Track, Up, Down, Thumb;
        int TravelStart = 0, TravelLength = 0;  // where the thumb's start may go, along the bar
    };
    TLayout ComputeLayout() const;
    const skin::TDataSkinScrollBarControl* BarDescription() const;
    double ThumbFraction() const;
    bool Horizontal() const { return FKind == TScrollBarKind::sbHorizontal; }
    int Along(const QPoint& p) const { return Horizontal() ? p.x() : p.y(); }
    Part PartAt(const QPoint& p) const;
    void SetHot(Part part);
    void Step(TRepeat what);
    void RepeatTick();
    void StartRepeat(TRepeat what);
    void StopRepeat();
    // Clamped to [Min, Max - PageSize + 1] with a page size, else [Min, Max].
    int Clamp(int value) const;

    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
    int FSmallChange = 1, FLargeChange = 1;
    bool FCanFocused = false;
    bool FBoth = false;
    int FBothMarkerWidth = 19;
    QString FBothSkinDataName = QStringLiteral("bothhscrollbar");
    QString FSavedSkinDataName;

    bool FHot[3] = {false, false, false};
    bool FPressed[3] = {false, false, false};
    bool FDragging = false;
    int FDragPressAlong = 0;
    int FDragThumbOffset = 0;
    TRepeat FRepeat = TRepeat::None;
    QTimer* FTimer = nullptr;
    QPoint FLastMouse;
};

}  // namespace dorvanel::skinctrls
