#include "workspace/FormScale.h"

#include "base/NumberText.h"

#include <QStringList>

#include <cmath>

QString GeometryTag(const DesignGeometry& geometry)
{
    QString tag = QStringLiteral("%1 %2 %3 %4 ")
                      .arg(geometry.left)
                      .arg(geometry.top)
                      .arg(geometry.width)
                      .arg(geometry.height);
    if (geometry.fontSize > 0.0)
        tag += ShortestNumberText(geometry.fontSize) + QLatin1Char(' ');
    return tag;
}

DesignGeometry ParseGeometryTag(const QString& tag)
{
    double fields[5] = {0, 0, 0, 0, 0};
    int start = 0;
    for (double& field : fields) {
        const int blank = tag.indexOf(QLatin1Char(' '), start);
        if (blank < 0)
            break;
        field = tag.mid(start, blank - start).toDouble();
        start = blank + 1;
    }
    return {int(fields[0]), int(fields[1]), int(fields[2]), int(fields[3]), fields[4]};
}

ScaleFactors ScaleFor(const QSize& current, const QSize& design)
{
    ScaleFactors scale;
    if (design.width() > 0)
        scale.rx = double(current.width()) / design.width();
    if (design.height() > 0)
        scale.ry = double(current.height()) / design.height();
    return scale;
}

QRect ScaledRect(const DesignGeometry& g, const ScaleFactors& scale)
{
    const int left = int(std::lround(g.left * scale.rx));
    const int top = int(std::lround(g.top * scale.ry));
    // Right and bottom edges are rounded on their own so that neighbours that
    // touch in the design still touch after scaling.
    const int right = int(std::lround((g.left + g.width) * scale.rx));
    const int bottom = int(std::lround((g.top + g.height) * scale.ry));
    return QRect(left, top, qMax(0, right - left), qMax(0, bottom - top));
}

double ScaledFontSize(const DesignGeometry& g, const ScaleFactors& scale)
{
    if (g.fontSize <= 0.0)
        return 0.0;
    return qMax(1.0, g.fontSize * scale.font());
}
