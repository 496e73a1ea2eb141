#pragma once
// The column header of a report list, drawn section by section from a button description of the skin (the
// list view's "resizebutton") or in the plain look. The keyword table and the file dialog's file list both
// draw their headers through these two functions.
#include "skin/skin_data.h"

#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace dorvanel::skinctrls {

struct THeaderSection {
    QString Caption;
    Qt::Alignment Alignment = Qt::AlignLeft;
    bool Pressed = false;
};

// One section into r: its image (the description's down image while pressed) and its caption, inset 5
// pixels, shortened with "..." and placed as the column is aligned. With drawCaption false only the image.
void PaintHeaderSection(QPainter& p, const QRect& r, const skin::TSkinData* data, const QString& headerName,
                        const THeaderSection& section, const QFont& font, bool drawCaption = true);
// The strip right of the last section.
void PaintHeaderRest(QPainter& p, const QRect& r, const skin::TSkinData* data, const QString& headerName);

}  // namespace dorvanel::skinctrls
