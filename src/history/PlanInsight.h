#pragma once

#include "base/Result.h"
#include "history/PlanAnalysis.h"
#include "history/PlanHistory.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// A stored plan made ready for the questions the history window answers
// about it: the model of its runs built again from the stored targets and
// coals, every stored row's unit price against its total, and the analysis of
// one row when it is asked for (kept, so that coming back to a row, or
// showing it in tons, costs nothing).
//
// A plan stored without targets still has its prices against totals (its
// shovel mode read from the information text); it only has no row analysis.
class PlanInsight {
public:
    PlanInsight() = default;  // no plan shown
    explicit PlanInsight(const PlanView& plan);

    bool hasTargets() const { return targets_.has_value(); }
    const std::optional<PlanTargets>& targets() const { return targets_; }
    bool shovelMode() const { return shovelMode_; }

    // Why the rows cannot be analysed, for the window: "此方案没有保存指标范围"
    // for a plan stored without targets, or what keeps the stored model from
    // being built; "" when they can.
    const Text& note() const { return note_; }

    // Every stored row's unit price against its total; a failure when the rows
    // do not fit the plan (the message names the row).
    const Result<PlanPrices>& prices() const { return prices_; }

    // Position of a stored row in the plan's rows by its record number; -1.
    int rowOf(int id) const;
    int rowCount() const { return static_cast<int>(parts_.size()); }
    // The stored parts of a row by position (plan's coal order).
    const std::vector<double>& parts(int row) const { return parts_[row]; }
    // A part's weight: 1, or the coal's tons per shovel in a shovel plan.
    double weight(int coal) const;
    // The names of the plan's coals (at most ten), in the plan's order.
    const QStringList& coalNames() const { return coalNames_; }
    // What one off is in the one-shovel check of this plan's rows: a shovel
    // in a shovel plan; in a plan by weight one shovel of each coal's weight
    // against the tonnage when the plan keeps both, else one part.
    OffUnit offUnit() const;

    // The analysis of the row with that record number. Fails with the message
    // to show when the plan has no targets, the row is unknown or does not fit
    // the plan. An analysis whose prices were all found is kept for later.
    Result<RowInsight> analyse(int id, const AnalysisOptions& options = {});

private:
    std::optional<PlanTargets> targets_;
    std::optional<BlendProblem> problem_;   // with the targets, or prices only
    bool shovelMode_ = false;
    Text note_;
    Result<PlanPrices> prices_ = Fail(CoreText::tr("没有显示方案"));
    QStringList coalNames_;
    std::vector<double> shovelTons_;        // every coal's, when all are numbers above 0
    QHash<int, int> rowById_;
    std::vector<std::vector<double>> parts_;
    QHash<int, RowInsight> analysed_;
};

// The note for a plan stored without targets.
Text NoTargetsNote();
