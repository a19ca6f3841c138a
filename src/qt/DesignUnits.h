// The core's window designs in Qt's units: twips become logical pixels (96 to the inch, which
// Qt scales to the screen), font designs become QFonts.
#pragma once

#include <QFont>
#include <QRect>
#include <cmath>

#include "app/Composition.h"

inline int Twips(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

inline QRect TwipsRect(const TwipRect& place) {
    return QRect(Twips(place.left), Twips(place.top), Twips(place.width), Twips(place.height));
}

inline QFont FontOf(const FontDesign& design) {
    QFont font(design.family);
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    return font;
}
