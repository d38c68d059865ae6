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

// What a toolbar tile shows for glyph in the interface language: the glyph's
// translation. In a language other than Chinese, a Chinese glyph without one
// shows nothing rather than a character the user cannot read.
QString ToolGlyph(const QString& glyph);

// A toolbar icon: a coloured tile with one or two characters on it (glyph as
// ToolGlyph shows it).
QIcon ToolIcon(const QString& glyph, const QColor& colour);

}  // namespace Artwork
