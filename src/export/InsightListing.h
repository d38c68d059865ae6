#pragma once

#include "base/Settings.h"
#include "export/ListData.h"
#include "history/PlanInsight.h"

#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

// What the history window's insight panel shows of a plan and of its
// selected proportion row, as plain data: the rows of the target list, the
// sentence of the one-shovel check, the price chart's points and marks, and
// the selected row's coal shares.

// The target list: 指标, 方案值, 下限, 上限, 余量, 放宽1%后单价, 去掉此限后单价,
// 影子价格(每单位指标); the last three say in their tooltips how they are found.
inline constexpr int kLimitColumnCount = 8;
enum LimitColumn {
    kLimitIndex = 0,
    kLimitValue,
    kLimitLower,
    kLimitUpper,
    kLimitRoom,
    kLimitStepped,
    kLimitRemoved,
    kLimitShadow,
};
void SetupLimitColumns(ListData& list);

// One row per bounded index of the targets, in the index table's order. The
// bounds are shown as typed (blanks around dropped); without an analysed row
// only the index and its bounds are filled. With one: the blend value and the
// room to the nearer bound with the decimals that compare the value with its
// bounds (DecimalsBeside), a bound with no room at its own decimals marked
// "已达上限" / "已达下限" (a row beyond a bound "超出上限" / "低于下限"); for such
// a bound the cheapest unit price with it one step looser, the step named
// where it is not 1 % ("（放宽0.01）"), and without it (or why there is none),
// and its shadow price (change of unit price per unit the bound is raised, in
// the continuous relaxation). Where no bound of the index holds the mix, the
// three stay blank.
struct LimitRows {
    QVector<ListRow> rows;
    QVector<int> indices;     // each row's position in QualityIndices()
    QVector<bool> hidden;     // the settings hide the index's columns
    QVector<bool> binding;    // a bound of the index has no room
};
LimitRows MakeLimitRows(const PlanTargets& targets, const RowInsight* insight, const Settings& settings);

// A price cell: two decimals when found, otherwise why not.
QString RepricedText(const Repriced& repriced);
// A shadow price: "0" when nil, two decimals, or four when smaller than 0.01.
QString ShadowPriceText(double value);

// The label under the target list: the plan's note (no targets), a hint to
// select a row, the analysis's failure, or the one-shovel sentence.
QString MarginText(const PlanInsight& insight, bool rowSelected, const Result<RowInsight>* analysis);

// The price chart: one point per stored row, (total, unit price), by total.
struct PriceChart {
    QVector<QPointF> points;
    QVector<int> rows;           // each point's position in the plan's rows
    int selected = -1;           // the point of the selected row
    int cheapest = -1;
    int fineEnough = -1;         // smallest total within 0.5 % of the cheapest
    double nearLimit = 0.0;      // the cheapest unit price plus 0.5 %
    QString xTitle;
    QString yTitle;
    QString selectedLabel;
    QString fineEnoughLabel;
    QString failure;             // why there are no points
    // The marks in words, for a line under the chart: the "within 0.5 %"
    // total, then the selected row; or the failure.
    QString caption;
};
PriceChart MakePriceChart(const PlanInsight& insight, int selectedRow);

// The selected row's coals: each coal's share of the blend by weight (a
// shovel plan's counts weighted by the tons per shovel) from the stored
// parts, labelled with the amount as the list shows it (parts, shovels, or
// tons after a conversion).
struct ShareSegment {
    QString coal;
    double share = 0.0;          // 0 ... 1
    QString amount;              // "12份", "3铲", "300.00吨"
    QString label;               // "煤名 12份（36.4%）"
};
QVector<ShareSegment> MakeRowShares(const PlanInsight& insight, int row, const QStringList& shownCells, bool tonsShown);
