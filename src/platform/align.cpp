#include "platform/align.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace dorvanel::platform {

namespace {

struct ChildRule {
    TAlign align = TAlign::alNone;
    TAnchors anchors = DefaultAnchors;
    int order = 0;          // when the rule was first given: breaks ties between equally placed controls
    int rightDistance = 0;  // to the parent's right and bottom edges, for the anchors
    int bottomDistance = 0;
    // Where the program last put the control itself: the order of aligned controls comes from these, so
    // that laying out the first few while a window is being built does not reorder the later ones.
    QRect placed;
};

class Registry : public QObject {
public:
    using QObject::QObject;

    QHash<const QObject*, ChildRule> rules;
    QSet<const QObject*> busy;  // parents being laid out right now
    int nextOrder = 0;

    ChildRule& RuleOf(QWidget* control) {
        auto it = rules.find(control);
        if (it != rules.end()) return *it;
        ChildRule rule;
        rule.order = nextOrder++;
        rule.placed = control->geometry();
        control->installEventFilter(this);
        connect(control, &QObject::destroyed, this, [this](QObject* gone) { rules.remove(gone); });
        if (QWidget* parent = control->parentWidget()) parent->installEventFilter(this);
        return *rules.insert(control, rule);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Resize:
                if (auto* w = qobject_cast<QWidget*>(watched)) AlignControls(w);
                break;
            case QEvent::ParentChange:
                if (auto* w = qobject_cast<QWidget*>(watched); w && w->parentWidget() && rules.contains(w))
                    w->parentWidget()->installEventFilter(this);
                break;
            case QEvent::ShowToParent:
            case QEvent::HideToParent:
                if (auto* w = qobject_cast<QWidget*>(watched); w && w->parentWidget() && rules.contains(w))
                    AlignControls(w->parentWidget());
                break;
            default:
                break;
        }
        return false;
    }
};

Registry& TheRegistry() {
    static QPointer<Registry> registry;
    if (!registry) registry = new Registry(QCoreApplication::instance());
    return *registry;
}

const ChildRule* FindRule(const QWidget* control) {
    const auto& rules = TheRegistry().rules;
    auto it = rules.find(control);
    return it == rules.end() ? nullptr : &*it;
}

void RecordAnchorDistances(QWidget* control, ChildRule& rule) {
    if (const QWidget* parent = control->parentWidget()) {
        rule.rightDistance = parent->width() - (control->x() + control->width());
        rule.bottomDistance = parent->height() - (control->y() + control->height());
    }
}

// The edge a control of this alignment is measured from; the smaller key goes first.
int EdgeKey(TAlign align, const QRect& r) {
    switch (align) {
        case TAlign::alTop:
            return r.y();
        case TAlign::alBottom:
            return -(r.y() + r.height());
        case TAlign::alLeft:
            return r.x();
        case TAlign::alRight:
            return -(r.x() + r.width());
        default:
            return 0;
    }
}

}  // namespace

void SetBounds(QWidget* control, int left, int top, int width, int height) {
    if (auto* own = dynamic_cast<TControlBounds*>(control)) {
        own->SetBounds(left, top, width, height);
        return;
    }
    control->setGeometry(left, top, std::max(0, width), std::max(0, height));
    BoundsSet(control);
}

void BoundsSet(QWidget* control) {
    Registry& registry = TheRegistry();
    QWidget* parent = control->parentWidget();
    const bool placedByParent = parent && registry.busy.contains(parent);
    if (!placedByParent) {
        auto it = registry.rules.find(control);
        if (it != registry.rules.end()) {
            it->placed = control->geometry();
            if (it->align == TAlign::alNone) RecordAnchorDistances(control, *it);
            else if (parent) AlignControls(parent);
        }
    }
    AlignControls(control);
}

void SetAlign(QWidget* control, TAlign align) {
    ChildRule& rule = TheRegistry().RuleOf(control);
    if (rule.align == align) return;
    rule.align = align;
    if (QWidget* parent = control->parentWidget()) AlignControls(parent);
}

TAlign Align(const QWidget* control) {
    const ChildRule* rule = FindRule(control);
    return rule ? rule->align : TAlign::alNone;
}

void SetAnchors(QWidget* control, TAnchors anchors) {
    ChildRule& rule = TheRegistry().RuleOf(control);
    rule.anchors = anchors;
    RecordAnchorDistances(control, rule);
}

TAnchors Anchors(const QWidget* control) {
    const ChildRule* rule = FindRule(control);
    return rule ? rule->anchors : DefaultAnchors;
}

void AlignControls(QWidget* parent) {
    if (!parent) return;
    Registry& registry = TheRegistry();
    if (registry.busy.contains(parent)) return;

    struct Entry {
        QWidget* widget;
        ChildRule rule;
    };
    std::vector<Entry> entries;
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow()) continue;
        auto it = registry.rules.find(w);
        if (it != registry.rules.end()) entries.push_back({w, *it});
    }
    if (entries.empty()) return;

    registry.busy.insert(parent);
    QRect rest = parent->contentsRect();
    static constexpr TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                                       TAlign::alClient};
    for (TAlign align : order) {
        std::vector<Entry*> group;
        for (Entry& e : entries)
            if (e.rule.align == align && !e.widget->isHidden()) group.push_back(&e);
        std::stable_sort(group.begin(), group.end(), [align](const Entry* a, const Entry* b) {
            const int ka = EdgeKey(align, a->rule.placed), kb = EdgeKey(align, b->rule.placed);
            return ka != kb ? ka < kb : a->rule.order < b->rule.order;
        });
        for (Entry* e : group) {
            QWidget* w = e->widget;
            const int width = std::max(0, rest.width()), height = std::max(0, rest.height());
            switch (align) {
                case TAlign::alTop:
                    SetBounds(w, rest.left(), rest.top(), width, w->height());
                    rest.setTop(rest.top() + w->height());
                    break;
                case TAlign::alBottom:
                    SetBounds(w, rest.left(), rest.top() + height - w->height(), width, w->height());
                    rest.setBottom(rest.bottom() - w->height());
                    break;
                case TAlign::alLeft:
                    SetBounds(w, rest.left(), rest.top(), w->width(), height);
                    rest.setLeft(rest.left() + w->width());
                    break;
                case TAlign::alRight:
                    SetBounds(w, rest.left() + width - w->width(), rest.top(), w->width(), height);
                    rest.setRight(rest.right() - w->width());
                    break;
                default:
                    SetBounds(w, rest.left(), rest.top(), width, height);
                    break;
            }
        }
    }
    for (Entry& e : entries) {
        if (e.rule.align != TAlign::alNone || e.rule.anchors == DefaultAnchors) continue;
        QWidget* w = e.widget;
        QRect r = w->geometry();
        const TAnchors a = e.rule.anchors;
        if ((a & akRight) && (a & akLeft)) r.setWidth(std::max(0, parent->width() - e.rule.rightDistance - r.left()));
        else if (a & akRight) r.moveLeft(parent->width() - e.rule.rightDistance - r.width());
        if ((a & akBottom) && (a & akTop)) r.setHeight(std::max(0, parent->height() - e.rule.bottomDistance - r.top()));
        else if (a & akBottom) r.moveTop(parent->height() - e.rule.bottomDistance - r.height());
        if (r != w->geometry()) SetBounds(w, r);
    }
    registry.busy.remove(parent);
}

}  // namespace dorvanel::platform
