#include "ui/widgets/PlanCharts.h"

#include "base/NumberText.h"

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// Ten colours that stay apart from each other, one per coal of a plan.
const QColor kCoalColours[] = {
    QColor(0x2E, 0x6F, 0xB0), QColor(0xE0, 0x8A, 0x1E), QColor(0x3A, 0x9A, 0x5B), QColor(0xC0, 0x3B, 0x3B),
    QColor(0x7B, 0x5E, 0xA7), QColor(0x8C, 0x6D, 0x46), QColor(0xD2, 0x6F, 0xB4), QColor(0x6E, 0x6E, 0x6E),
    QColor(0xA8, 0xA8, 0x2A), QColor(0x2A, 0xA8, 0xB8),
};

QFont SmallFont(const QWidget* widget, int delta = -1)
{
    QFont font = widget->font();
    font.setPointSizeF(std::max(7.0, font.pointSizeF() + delta));
    return font;
}

QChart* PlainChart(const QWidget* widget)
{
    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    chart->setTitleFont(SmallFont(widget, 0));
    chart->legend()->setFont(SmallFont(widget));
    return chart;
}

// Round limits a little outside the values, at most maxTicks ticks a round
// step (1, 2 or 5 times a power of ten) apart, so the line never runs
// along the frame and every label is a short number.
void SetRange(QValueAxis* axis, double low, double high, int maxTicks)
{
    if (!(high > low)) {
        const double pad = std::max(1.0, std::fabs(low) * 0.01);
        low -= pad;
        high += pad;
    }
    // A little room beyond the values, but no negative totals or prices.
    const double pad = (high - low) * 0.03;
    low = low >= 0.0 ? std::max(0.0, low - pad) : low - pad;
    high += pad;
    const double rough = (high - low) / std::max(1, maxTicks - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    const double from = std::floor(low / step) * step;
    const double to = std::ceil(high / step) * step;
    axis->setRange(from, to);
    axis->setTickCount(static_cast<int>(std::lround((to - from) / step)) + 1);
}

}  // namespace

PriceChartView::PriceChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    QChart* chart = PlainChart(this);
    // The marks are named in a line under the chart, which has room for words.
    chart->legend()->hide();

    price_ = new QLineSeries(chart);
    price_->setObjectName(QStringLiteral("seriesPrice"));
    price_->setName(tr("各配比单价"));
    price_->setPen(QPen(kCoalColours[0], 1.6));
    nearLimit_ = new QLineSeries(chart);
    nearLimit_->setObjectName(QStringLiteral("seriesNearLimit"));
    nearLimit_->setName(tr("最低价+0.5%"));
    nearLimit_->setPen(QPen(QColor(0x3A, 0x9A, 0x5B), 1.2, Qt::DashLine));
    fineEnough_ = new QScatterSeries(chart);
    fineEnough_->setObjectName(QStringLiteral("seriesFineEnough"));
    fineEnough_->setName(tr("0.5%以内的最小总数"));
    fineEnough_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    fineEnough_->setMarkerSize(10);
    fineEnough_->setColor(QColor(0x3A, 0x9A, 0x5B));
    fineEnough_->setBorderColor(Qt::white);
    fineEnough_->setPointLabelsVisible(true);
    fineEnough_->setPointLabelsClipping(false);
    fineEnough_->setPointLabelsFont(SmallFont(this));
    fineEnough_->setPointLabelsColor(QColor(0x23, 0x6B, 0x3C));
    selected_ = new QScatterSeries(chart);
    selected_->setObjectName(QStringLiteral("seriesSelected"));
    selected_->setName(tr("所选配比"));
    selected_->setMarkerSize(12);
    selected_->setColor(QColor(0xC0, 0x3B, 0x3B));
    selected_->setBorderColor(Qt::white);
    selected_->setPointLabelsVisible(true);
    selected_->setPointLabelsClipping(false);
    selected_->setPointLabelsFont(SmallFont(this));
    selected_->setPointLabelsColor(QColor(0x90, 0x2A, 0x2A));

    x_ = new QValueAxis(chart);
    y_ = new QValueAxis(chart);
    x_->setLabelFormat(QStringLiteral("%.0f"));
    y_->setLabelFormat(QStringLiteral("%.2f"));
    x_->setTickCount(5);
    y_->setTickCount(4);
    for (QValueAxis* axis : {x_, y_}) {
        axis->setLabelsFont(SmallFont(this));
        axis->setTitleFont(SmallFont(this));
    }
    chart->addAxis(x_, Qt::AlignBottom);
    chart->addAxis(y_, Qt::AlignLeft);
    for (QXYSeries* series : std::initializer_list<QXYSeries*>{price_, nearLimit_, fineEnough_, selected_}) {
        chart->addSeries(series);
        series->attachAxis(x_);
        series->attachAxis(y_);
    }
    setChart(chart);
    showChart(PriceChart{});
}

void PriceChartView::showChart(const PriceChart& data)
{
    x_->setTitleText(data.xTitle);
    y_->setTitleText(data.yTitle);
    price_->replace(QList<QPointF>(data.points.cbegin(), data.points.cend()));
    // Markers on every point while they can still be told apart.
    price_->setPointsVisible(data.points.size() <= 60);

    double xLow = 0.0, xHigh = 1.0, yLow = 0.0, yHigh = 1.0;
    if (!data.points.isEmpty()) {
        const auto [xMin, xMax] = std::minmax_element(data.points.cbegin(), data.points.cend(),
                                                      [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
        const auto [yMin, yMax] = std::minmax_element(data.points.cbegin(), data.points.cend(),
                                                      [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        xLow = std::min(0.0, xMin->x());
        xHigh = xMax->x();
        yLow = yMin->y();
        yHigh = std::max(yMax->y(), data.nearLimit);
    }
    xRange_ = {xLow, xHigh};
    yRange_ = {yLow, yHigh};
    fitAxes();

    nearLimit_->clear();
    fineEnough_->clear();
    if (data.cheapest >= 0)
        nearLimit_->append({QPointF(x_->min(), data.nearLimit), QPointF(x_->max(), data.nearLimit)});
    if (data.fineEnough >= 0) {
        fineEnough_->append(data.points[data.fineEnough]);
        fineEnough_->setPointLabelsFormat(data.fineEnoughLabel);
    }
    markSelected(data);
}

void PriceChartView::fitAxes()
{
    // As many ticks as their labels have room for: labels closer than about
    // two lines are cut short by the chart.
    const int line = QFontMetrics(y_->labelsFont()).height();
    // Too low for labels that can be read: the line and its marks alone,
    // rather than labels cut to an ellipsis (the caption under the chart
    // carries the numbers).
    const bool labelled = height() >= 7 * line;
    for (QValueAxis* axis : {x_, y_}) {
        axis->setLabelsVisible(labelled);
        axis->setTitleVisible(labelled);
    }
    const int plot = std::max(0, height() - 3 * line - 24);
    SetRange(x_, std::max(0.0, xRange_.first), xRange_.second, std::clamp(width() / 80, 2, 8));
    SetRange(y_, yRange_.first, yRange_.second, std::clamp(plot / (2 * line + 6) + 1, 2, 6));
    if (nearLimit_->count() == 2)
        nearLimit_->replace({QPointF(x_->min(), nearLimit_->at(0).y()), QPointF(x_->max(), nearLimit_->at(0).y())});
}

void PriceChartView::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    fitAxes();
}

void PriceChartView::markSelected(const PriceChart& data)
{
    selected_->clear();
    if (data.selected >= 0 && data.selected < data.points.size()) {
        selected_->append(data.points[data.selected]);
        selected_->setPointLabelsFormat(data.selectedLabel);
    }
}

ShareBar::ShareBar(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ShareBar::sizeHint() const
{
    return QSize(200, fontMetrics().height() + 10);
}

QSize ShareBar::minimumSizeHint() const
{
    return QSize(60, fontMetrics().height() + 10);
}

void ShareBar::showShares(const QVector<ShareSegment>& shares)
{
    shares_ = shares;
    QStringList tip;
    for (const ShareSegment& segment : shares_)
        tip << segment.label;
    setToolTip(tip.join(QLatin1Char('\n')));
    update();
}

void ShareBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF bar = QRectF(rect()).adjusted(0.5, 2.5, -0.5, -2.5);
    painter.setPen(QPen(palette().color(QPalette::Mid)));
    painter.setBrush(Qt::NoBrush);
    if (shares_.isEmpty()) {
        painter.drawRect(bar);
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(bar, Qt::AlignCenter, tr("所选配比的煤种占比"));
        return;
    }
    double left = bar.left();
    for (int j = 0; j < shares_.size(); ++j) {
        const double width = bar.width() * shares_[j].share;
        if (width <= 0.0)
            continue;
        const QRectF part(left, bar.top(), width, bar.height());
        const QColor colour = kCoalColours[j % std::size(kCoalColours)];
        painter.fillRect(part, colour);
        const QString text = QStringLiteral("%1 %2 %3%").arg(shares_[j].coal, shares_[j].amount,
                                                            FixedText(100.0 * shares_[j].share, 1));
        const QRectF inner = part.adjusted(3, 0, -3, 0);
        const QString shown = fontMetrics().elidedText(text, Qt::ElideRight, int(inner.width()));
        // A part too narrow for more than the ellipsis stays without words.
        if (shown.size() > 2) {
            painter.setPen(colour.lightnessF() > 0.6 ? Qt::black : Qt::white);
            painter.drawText(inner, Qt::AlignCenter, shown);
        }
        left += width;
    }
    painter.setPen(QPen(palette().color(QPalette::Mid)));
    painter.drawRect(bar);
}

LinesLabel::LinesLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void LinesLabel::setFullText(const QString& text)
{
    full_ = text;
    setToolTip(text);
    elide();
    updateGeometry();
}

QSize LinesLabel::minimumSizeHint() const
{
    const int lines = std::max<int>(1, static_cast<int>(full_.count(QLatin1Char('\n'))) + 1);
    return QSize(20, lines * fontMetrics().lineSpacing() + 2);
}

QSize LinesLabel::sizeHint() const
{
    return minimumSizeHint();
}

void LinesLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void LinesLabel::elide()
{
    QStringList lines = full_.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = fontMetrics().elidedText(line, Qt::ElideRight, std::max(0, contentsRect().width()));
    setText(lines.join(QLatin1Char('\n')));
}

