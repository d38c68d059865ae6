#include "ui/widgets/TopLevel.h"

#include "base/Settings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStringList>
#include <QWidget>

namespace TopLevel {

namespace {

// The frame a window manager adds before the window is mapped, when Qt does
// not know it yet: a title bar and thin borders.
QMargins GuessedFrame(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    if (frame != inner)
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    const int border = 4;
    return QMargins(border, window->fontMetrics().height() + 12, border, border);
}

QList<QRect> AvailableAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

// Keeps the window's place in config.ini whenever it hides, and places it the
// first time it shows.
class Placer : public QObject {
public:
    Placer(QWidget* window, const AppFolder& folder, QWidget* anchor)
        : QObject(window), window_(window), folder_(folder), anchor_(anchor)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        if (event->type() == QEvent::Show && !placed_) {
            placed_ = true;
            place();
        } else if (event->type() == QEvent::Hide && placed_ && !window_->isMinimized()) {
            save();
        }
        return false;
    }

private:
    QString key() const { return window_->objectName(); }

    void place()
    {
        const QMargins frame = GuessedFrame(window_);
        const QSize wanted = window_->size().grownBy(frame);
        QRect anchor;
        if (anchor_ && anchor_->isVisible())
            anchor = anchor_->window()->frameGeometry();
        // Kept as the inner rectangle, which comes back exactly whatever
        // frame the window manager draws.
        QRect saved = ParsePlace(ReadIni(folder_, kPlacesSection, key()));
        if (saved.isValid())
            saved = saved.marginsAdded(frame);
        const QRect fitted = Fit(saved, anchor, wanted, AvailableAreas());
        if (fitted.isEmpty())
            return;
        // The inner rectangle: before the window is mapped, a window manager
        // may take a frame position for the inner one and push the title
        // bar off the screen.
        window_->setGeometry(QRect(fitted.topLeft() + QPoint(frame.left(), frame.top()),
                                   fitted.size().shrunkBy(frame).expandedTo(window_->minimumSize())));
    }

    void save()
    {
        // A window that cannot keep its place opens centred next time.
        (void)WriteIniValues(folder_, kPlacesSection, {{key(), PlaceText(window_->geometry())}});
    }

    QWidget* window_;
    AppFolder folder_;
    QPointer<QWidget> anchor_;
    bool placed_ = false;
};

}  // namespace

QRect Fit(const QRect& saved, const QRect& anchor, const QSize& wanted, const QList<QRect>& areas)
{
    if (areas.isEmpty())
        return QRect();
    // The area the window goes to: the one it was left on, else the anchor's,
    // else the first.
    auto areaOf = [&](const QRect& r) -> const QRect* {
        const QRect* best = nullptr;
        int bestShare = 0;
        for (const QRect& area : areas) {
            const QRect common = area.intersected(r);
            const int share = common.width() * common.height();
            if (share > bestShare) {
                best = &area;
                bestShare = share;
            }
        }
        return best;
    };
    QRect frame;
    const QRect* area = nullptr;
    if (saved.isValid() && (area = areaOf(saved))) {
        frame = saved;
    } else {
        area = anchor.isValid() ? areaOf(anchor) : nullptr;
        if (!area)
            area = &areas.first();
        frame = QRect(QPoint(0, 0), wanted);
        frame.moveCenter(anchor.isValid() && areaOf(anchor) ? anchor.center() : area->center());
    }
    frame.setSize(frame.size().boundedTo(area->size()));
    frame.moveLeft(qBound(area->left(), frame.left(), area->right() + 1 - frame.width()));
    frame.moveTop(qBound(area->top(), frame.top(), area->bottom() + 1 - frame.height()));
    return frame;
}

QString PlaceText(const QRect& inner)
{
    return QStringLiteral("%1 %2 %3 %4").arg(inner.x()).arg(inner.y()).arg(inner.width()).arg(inner.height());
}

QRect ParsePlace(const QString& text)
{
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() != 4)
        return QRect();
    int numbers[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        if (!ok)
            return QRect();
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return QRect();
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

void Place(QWidget* window, const AppFolder& folder, QWidget* anchor)
{
    window->installEventFilter(new Placer(window, folder, anchor));
}

void CloseOnEscape(QWidget* window, std::function<bool()> losesSomething)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setObjectName(QStringLiteral("scEscape"));
    QObject::connect(escape, &QShortcut::activated, window, [window, losesSomething] {
        if (!losesSomething || !losesSomething())
            window->close();
    });
}

}  // namespace TopLevel
