#include "workspace/DiagnoseJob.h"

#include "blend/LinearSolver.h"


#include <algorithm>
#include <cmath>

namespace {

// Two decimals, rounded up (or down); a value a hair off a whole cent counts
// as that cent, so that 8.4999999999 reads 8.50.
double CentsToward(double value, bool up)
{
    double cents = value * 100.0;
    const double nearest = std::nearbyint(cents);
    if (std::fabs(cents - nearest) < 1e-6)
        cents = nearest;
    return (up ? std::ceil(cents) : std::floor(cents)) / 100.0;
}

QString Cents(double value)
{
    QString text = QString::number(value, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text;
}

const BoundChange* ChangeOf(const NoPlanDiagnosis& d, int index, BoundSide side)
{
    for (const BoundChange& c : d.relaxation)
        if (c.bound.index == index && c.bound.side == side)
            return &c;
    return nullptr;
}

const ReachableRange* RangeOf(const NoPlanDiagnosis& d, int index)
{
    for (const ReachableRange& r : d.ranges)
        if (r.index == index)
            return &r;
    return nullptr;
}

// One row per bounded index. Without a diagnosis (or without any mix to
// reach) only the bounds as typed are known.
void FillReasons(ListData& list, const ModelInput& input, const NoPlanDiagnosis* d)
{
    for (int i = 0; i < kIndexCount; ++i) {
        const QString lower = input.lower[i].trimmed();
        const QString upper = input.upper[i].trimmed();
        const ReachableRange* range = d ? RangeOf(*d, i) : nullptr;
        if (!range && lower.isEmpty() && upper.isEmpty())
            continue;
        QString lowest, highest;
        if (range) {
            // Inward, so that a bound typed as shown can be met; a range
            // narrower than a cent reads at its nearest cents instead.
            double lo = CentsToward(range->lowest, true);
            double hi = CentsToward(range->highest, false);
            if (lo > hi) {
                lo = std::round(range->lowest * 100.0) / 100.0;
                hi = std::round(range->highest * 100.0) / 100.0;
            }
            lowest = Cents(lo);
            highest = Cents(hi);
        }
        const BoundChange* lowerChange = d ? ChangeOf(*d, i, BoundSide::Lower) : nullptr;
        const BoundChange* upperChange = d ? ChangeOf(*d, i, BoundSide::Upper) : nullptr;
        ListRow row;
        row.text = QString::fromUtf8(QualityIndices()[i].describeLabel);
        row.subItems = {lowest,
                        highest,
                        lower,
                        upper,
                        lowerChange ? lowerChange->suggestedText : QString(),
                        upperChange ? upperChange->suggestedText : QString()};
        list.rows << row;
    }
}

}  // namespace

bool BoundEdits::empty() const
{
    auto none = [](const auto& texts) {
        return std::none_of(texts.begin(), texts.end(), [](const auto& t) { return t.has_value(); });
    };
    return none(lower) && none(upper);
}

ListData ReasonColumns()
{
    ListData list;
    list.addColumn(QStringLiteral("指标"), 1300);
    for (const char* header : {"可达最低", "可达最高", "下限", "上限", "建议下限", "建议上限"})
        list.addColumn(QString::fromUtf8(header), 1150);
    return list;
}

QString DiagnosingText()
{
    return QStringLiteral("正在分析没有配比方案的原因……");
}

NoPlanReport PendingNoPlanReport(const ModelInput& input)
{
    NoPlanReport report;
    report.summary = DiagnosingText();
    report.reasons = ReasonColumns();
    FillReasons(report.reasons, input, nullptr);
    return report;
}

NoPlanReport MakeNoPlanReport(const ModelInput& input, int total, const Result<NoPlanDiagnosis>& diagnosis)
{
    NoPlanReport report;
    report.reasons = ReasonColumns();
    if (total < 2) {
        // No total was tried at all: the proportion count is the reason.
        report.summary = QStringLiteral("比例数小于2，没有计算任何配比。");
        report.conflictLines << QStringLiteral("请把比例数改为2到1000之间的整数，或者不填（按100计算），再计算一次。");
        FillReasons(report.reasons, input, nullptr);
        return report;
    }
    report.summary = QStringLiteral("按现在的指标范围，比例数从2到%1都没有配比方案，以下分析涵盖这些比例数。").arg(total);
    if (!diagnosis) {
        report.conflictLines << diagnosis.message();
        FillReasons(report.reasons, input, nullptr);
        return report;
    }
    const NoPlanDiagnosis& d = *diagnosis;
    FillReasons(report.reasons, input, &d);
    for (const Text& sentence : d.stockSentences)
        report.stockLines << sentence.words();
    report.rulesLine = d.rulesSentence.words();
    // Beside a suggestion for the bounds they are the other way; alone, they
    // are the suggestion.
    const bool suggestion = d.rulesLeaveMix && !d.planExists && !d.suggestionSentence.isEmpty();
    for (const Text& sentence : d.alternativeSentences)
        report.alternativeLines << (suggestion ? QStringLiteral("或者：") : QStringLiteral("建议：")) + sentence.words()
                                       + QStringLiteral("。");
    if (!d.rulesLeaveMix)
        return report;
    if (d.planExists) {
        report.conflictLines << QStringLiteral("再次分析时，比例数%1下找到了符合全部指标的配比，请再计算一次。").arg(d.relaxedTotal);
        return report;
    }
    for (const Text& sentence : d.conflictSentences)
        report.conflictLines << sentence.words();
    for (const BoundChange& c : d.relaxation) {
        if (!c.moved)
            continue;
        (c.bound.side == BoundSide::Lower ? report.edits.lower : report.edits.upper)[c.bound.index] = c.suggestedText;
    }
    report.canApply = !report.edits.empty();
    if (report.canApply)
        report.suggestionLine = QStringLiteral("建议：") + d.suggestionSentence.words() + QStringLiteral("。");
    return report;
}

DiagnoseJob::DiagnoseJob(const ModelInput& input, int total, QObject* parent)
    : QObject(parent), input_(input), total_(total), outcome_(Fail(DiagnosingText()))
{
}

DiagnoseJob::~DiagnoseJob() = default;

void DiagnoseJob::start()
{
    worker_.start(
        this,
        [this] {
            Result<NoPlanDiagnosis> diagnosis = DiagnoseNoPlan(input_, total_, [this](int done, int steps) {
                if (worker_.cancelled())
                    return false;
                Q_EMIT progressed(done, steps);
                return true;
            });
            ReleaseSolverForThread();
            return diagnosis;
        },
        [this] {
            outcome_ = std::move(worker_.value());
            Q_EMIT finished();
        });
}
