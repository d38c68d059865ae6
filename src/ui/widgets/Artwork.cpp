#include "ui/widgets/Artwork.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// The characters the windows draw on their toolbar tiles. A tile shows its
// glyph's translation, so that in English it reads as a Latin letter or a
// sign instead of a Chinese character.
const char* const kToolGlyphs[] = {
    QT_TRANSLATE_NOOP("ToolGlyph", "库"), QT_TRANSLATE_NOOP("ToolGlyph", "史"), QT_TRANSLATE_NOOP("ToolGlyph", "算"),
    QT_TRANSLATE_NOOP("ToolGlyph", "退"), QT_TRANSLATE_NOOP("ToolGlyph", "计"), QT_TRANSLATE_NOOP("ToolGlyph", "选"),
    QT_TRANSLATE_NOOP("ToolGlyph", "清"), QT_TRANSLATE_NOOP("ToolGlyph", "配"), QT_TRANSLATE_NOOP("ToolGlyph", "添"),
    QT_TRANSLATE_NOOP("ToolGlyph", "编"), QT_TRANSLATE_NOOP("ToolGlyph", "删"), QT_TRANSLATE_NOOP("ToolGlyph", "导"),
    QT_TRANSLATE_NOOP("ToolGlyph", "网"), QT_TRANSLATE_NOOP("ToolGlyph", "表"), QT_TRANSLATE_NOOP("ToolGlyph", "装"),
    QT_TRANSLATE_NOOP("ToolGlyph", "印"), QT_TRANSLATE_NOOP("ToolGlyph", "原"), QT_TRANSLATE_NOOP("ToolGlyph", "精"),
};

QString TranslatedGlyph(const char* glyph)
{
    return QCoreApplication::translate("ToolGlyph", glyph);
}

bool HoldsHan(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.script() == QChar::Script_Han; });
}

QFont BoldFont(int pixelSize)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// A heap of coal: three dark lumps on a yard line.
void DrawCoalHeap(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    const QColor shades[] = {QColor(40, 40, 46), QColor(62, 62, 70), QColor(28, 28, 32)};
    const QRectF lumps[] = {
        {r.left(), r.top() + r.height() * 0.35, r.width() * 0.55, r.height() * 0.65},
        {r.left() + r.width() * 0.4, r.top() + r.height() * 0.2, r.width() * 0.6, r.height() * 0.8},
        {r.left() + r.width() * 0.2, r.top(), r.width() * 0.45, r.height() * 0.7},
    };
    for (int i = 0; i < 3; ++i) {
        p.setBrush(shades[i]);
        p.drawEllipse(lumps[i]);
    }
}

}  // namespace

namespace Artwork {

QPixmap SplashPicture()
{
    QPixmap pixmap(420, 180);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 180);
    sky.setColorAt(0, QColor(22, 74, 126));
    sky.setColorAt(1, QColor(12, 38, 70));
    p.fillRect(pixmap.rect(), sky);
    DrawCoalHeap(p, QRectF(24, 60, 120, 90));
    p.setPen(Qt::white);
    p.setFont(BoldFont(34));
    p.drawText(QRectF(160, 40, 250, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora"));
    p.setFont(BoldFont(24));
    p.drawText(QRectF(160, 95, 250, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QCoreApplication::translate("Artwork", "配煤软件 5.0"));
    return pixmap;
}

QPixmap LoadingDot(bool lit)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? QColor(240, 160, 30) : QColor(200, 200, 200));
    p.drawEllipse(QRectF(2, 2, 12, 12));
    return pixmap;
}

QPixmap Banner(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, size.width(), 0);
    band.setColorAt(0, QColor(16, 56, 98));
    band.setColorAt(1, QColor(38, 110, 170));
    p.fillRect(pixmap.rect(), band);
    const qreal h = size.height();
    DrawCoalHeap(p, QRectF(8, h * 0.2, h * 1.1, h * 0.7));
    p.setPen(Qt::white);
    p.setFont(BoldFont(qMax(10, int(h * 0.45))));
    p.drawText(QRectF(h * 1.3, 0, size.width() - h * 1.4, h), Qt::AlignLeft | Qt::AlignVCenter,
               QCoreApplication::translate("Artwork", "Velmora配煤软件 · 最低成本配煤"));
    return pixmap;
}

QIcon AppIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 74, 126));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    DrawCoalHeap(p, QRectF(10, 20, 44, 34));
    return QIcon(pixmap);
}

QString ToolGlyph(const QString& glyph)
{
    const QByteArray source = glyph.toUtf8();
    const QString shown = TranslatedGlyph(source.constData());
    if (shown != glyph || !HoldsHan(glyph))
        return shown;
    // The interface speaks Chinese when the glyphs it knows are untranslated;
    // in any other language a Chinese glyph it does not know stays off the tile.
    const bool chinese = TranslatedGlyph(kToolGlyphs[0]) == QString::fromUtf8(kToolGlyphs[0]);
    return chinese ? glyph : QString();
}

QIcon ToolIcon(const QString& glyph, const QColor& colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
    p.setPen(Qt::white);
    const QString shown = ToolGlyph(glyph);
    p.setFont(BoldFont(shown.size() > 1 ? 12 : 18));
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, shown);
    return QIcon(pixmap);
}

}  // namespace Artwork
