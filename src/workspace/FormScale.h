#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// Proportional resizing of a window whose controls sit at fixed positions: each
// control keeps its design geometry, and every resize computes the new geometry
// from it (never from the current one), so repeated resizing cannot drift.

struct DesignGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    double fontSize = 0.0;  // 0 = the control has no font of its own
    bool operator==(const DesignGeometry&) const = default;
};

// The geometry as a control's Tag text: "L T W H F " (each number followed by
// one blank; without a font size only the four positions).
QString GeometryTag(const DesignGeometry& geometry);

// Reads a Tag back. A field that is missing or not followed by a blank is 0.
DesignGeometry ParseGeometryTag(const QString& tag);

struct ScaleFactors {
    double rx = 1.0;
    double ry = 1.0;
    double font() const { return rx < ry ? rx : ry; }
};

// Current client size over design client size; 1 where the design is empty.
ScaleFactors ScaleFor(const QSize& current, const QSize& design);

// Position and size scaled by rx and ry, rounded to whole pixels.
QRect ScaledRect(const DesignGeometry& geometry, const ScaleFactors& scale);

// Font size scaled by min(rx, ry); never below 1 point when the design has one.
double ScaledFontSize(const DesignGeometry& geometry, const ScaleFactors& scale);
