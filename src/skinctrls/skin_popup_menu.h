#pragma once
// Stand-in for the skinned popup menu, which is being written beside the frame: shows nothing yet.
#include "skin/skin_data.h"
#include <QWidget>
#include <QImage>
#include <functional>
#include <vector>
namespace dorvanel::skinctrls {
struct TSkinMenuItem {
    QString Caption;
    bool Enabled = true;
    bool Separator = false;
    std::function<void()> OnClick;
};
class TSkinPopupMenu : public QWidget {
public:
    explicit TSkinPopupMenu(QWidget* owner) : QWidget(owner, Qt::Popup) {}
    void SetSkinData(skin::TSkinData*) {}
    void Clear() { FItems.clear(); }
    void Add(TSkinMenuItem item) { FItems.push_back(std::move(item)); }
    const std::vector<TSkinMenuItem>& Items() const { return FItems; }
    void Popup(QPoint p) { move(p); resize(100, 100); show(); }
    int ItemAt(QPoint) const { return -1; }
    QRect ItemRect(int) const { return {}; }
    int HotItem() const { return -1; }
    QImage RenderImage() { return {}; }
private:
    std::vector<TSkinMenuItem> FItems;
};
}
