#pragma once

#include "export/InsightListing.h"

#include <QChartView>
#include <QLabel>

#include <utility>

class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The unit price of every stored row of a plan against its total: a line
// through the rows by total ("seriesPrice", one point per row), the selected
// row as a marked point ("seriesSelected"), the smallest total whose price is
// within 0.5 % of the cheapest as a labelled point ("seriesFineEnough"), and
// the level of the cheapest price plus 0.5 % as a dashed line
// ("seriesNearLimit").
class PriceChartView : public QChartView {
    Q_OBJECT
public:
    explicit PriceChartView(QWidget* parent = nullptr);

    // Draws a plan's chart; an empty chart (no plan) shows only its axes.
    void showChart(const PriceChart& chart);
    // Moves the mark to another point of the chart shown (-1: none).
    void markSelected(const PriceChart& chart);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitAxes();

    std::pair<double, double> xRange_{0.0, 1.0};
    std::pair<double, double> yRange_{0.0, 1.0};
    QLineSeries* price_;
    QScatterSeries* selected_;
    QScatterSeries* fineEnough_;
    QLineSeries* nearLimit_;
    QValueAxis* x_;
    QValueAxis* y_;
};

// The selected row's coals as one bar of their shares, one colour per coal in
// the plan's order, each part named inside when it is wide enough; its tool
// tip names every coal with its amount and share.
class ShareBar : public QWidget {
    Q_OBJECT
public:
    explicit ShareBar(QWidget* parent = nullptr);

    void showShares(const QVector<ShareSegment>& shares);
    const QVector<ShareSegment>& shares() const { return shares_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<ShareSegment> shares_;
};

// A label of a few lines that never wraps: each line too long for the width
// ends in an ellipsis, and the whole text is the tool tip. It takes no more
// height than its lines, so a narrow window cannot push it over its
// neighbours.
class LinesLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinesLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();
    QString full_;
};

