// The look of the Qt window: a skin, a cursor and the pointer shapes, made from the plain
// descriptions that the core reads from the files.
#pragma once

#include <QCursor>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "look/CursorFile.h"
#include "look/Skin.h"

// The cursor that `image` describes, hot spot included; raises CursorError when the picture it
// holds cannot be shown.
QCursor CursorFromImage(const CursorImage& image);

// Paints the window, its frames, buttons and path boxes as the skin says; what the skin leaves
// out keeps its design.
void PaintSkin(QWidget& window, const QList<QGroupBox*>& frames, const QList<QPushButton*>& buttons,
               const QList<QLineEdit*>& boxes, const Skin& skin);

// Sets the background (Window role) of each widget to the system's button-face colour.
void PaintButtonFace(const QList<QWidget*>& widgets);
