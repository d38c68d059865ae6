#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's pictures, drawn at run time so that nothing is taken from
// elsewhere: the splash picture, the banner, the about icon and toolbar icons.
namespace Artwork {

QPixmap SplashPicture();
QPixmap LoadingDot(bool lit);
QPixmap Banner(const QSize& size);
QIcon AppIcon();

// A toolbar icon: a coloured tile with one or two characters on it.
QIcon ToolIcon(const QString& glyph, const QColor& colour);

}  // namespace Artwork
