#pragma once

#include "base/AppFolder.h"

#include <QRect>
#include <QString>

#include <functional>

class QWidget;

// Where top-level windows open and how they close from the keyboard.
namespace TopLevel {

// The section of config.ini that keeps where each window was last left.
inline const QString kPlacesSection = QStringLiteral("windows");

// Where a window of frame size wanted opens: at saved (when it still lies on
// one of the screens' available areas, keeping its size), else centred on
// anchor (or on the first area when anchor is empty); in every case shrunk to
// an area it lies on and moved inside it.
QRect Fit(const QRect& saved, const QRect& anchor, const QSize& wanted, const QList<QRect>& areas);

// "x y width height" of a window's inner rectangle, and back; an empty
// rectangle for text that is not four whole numbers with a positive size.
QString PlaceText(const QRect& inner);
QRect ParsePlace(const QString& text);

// Places window when it is first shown: where it was last left (read from
// config.ini under the window's object name), else centred on anchor's
// window (or on the screen), always inside the available screen area. Where
// it was left is written back whenever it hides.
void Place(QWidget* window, const AppFolder& folder, QWidget* anchor = nullptr);

// Esc closes window, unless losesSomething says that closing now would drop
// what the user typed.
void CloseOnEscape(QWidget* window, std::function<bool()> losesSomething = {});

}  // namespace TopLevel
