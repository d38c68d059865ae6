#include "blend/BlendProblem.h"

#include "base/NumberText.h"

#include <string>

namespace {

// A coefficient the model text writes by the value text rule: the number of
// its two-decimal text.
std::optional<double> WrittenValue(const QString& text)
{
    std::string written;
    AppendIndexText(written, text);
    if (written.empty())
        return std::nullopt;
    return ReadNumberText(QString::fromLatin1(written.data(), static_cast<qsizetype>(written.size())));
}

double WrittenPrice(double price)
{
    std::string written;
    AppendIndexValue(written, price);
    return ReadNumberText(QString::fromLatin1(written.data(), static_cast<qsizetype>(written.size()))).value_or(0.0);
}

// Coal j's coefficient in a bound row of index i: value * weight; for an
// index averaged on its basis the model text's two sides, "v*f*w*X > b*f*w*X",
// moved to one.
double BoundCoefficient(const BlendProblem& p, int i, int j, double bound)
{
    if (!p.weighted(i))
        return p.value[i][j] * p.weight[j];
    const double f = p.factor[i][j];
    return p.value[i][j] * f * p.weight[j] - bound * f * p.weight[j];
}

LinearRow BoundLimits(const BlendProblem& p, int i, BoundSide side, double bound, int n)
{
    const double limit = p.weighted(i) ? 0.0 : bound * n;
    return side == BoundSide::Lower ? LinearRow{limit, kNoBound} : LinearRow{-kNoBound, limit};
}

}  // namespace

Result<BlendProblem> MakeBlendProblem(const ModelInput& input)
{
    BlendProblem p;
    const int k = static_cast<int>(input.coals.size());
    p.coalCount = k;
    p.shovelMode = input.shovelMode;
    p.weight.assign(k, 1.0);
    p.price.assign(k, 0.0);
    p.mustInclude.assign(k, false);
    for (int j = 0; j < k; ++j) {
        const Mei& coal = input.coals[j];
        if (input.shovelMode) {
            const auto w = ReadNumberText(coal.MeiChan);
            if (!w)
                return Invalid(CoreText::tr("第%1种煤的每铲重量不是数字", QString::number(j + 1)));
            p.weight[j] = *w;
        }
        p.price[j] = WrittenPrice(coal.JiaGe);
        p.mustInclude[j] = j < input.mustInclude.size() && input.mustInclude[j];
    }
    for (int i = 0; i < kIndexCount; ++i) {
        const Text label = Text::Source(QualityIndices()[i].coverageLabel);
        if (!input.lower[i].isEmpty()) {
            p.lower[i] = ReadNumberText(input.lower[i]);
            if (!p.lower[i])
                return Invalid(CoreText::tr("%1的指标下限不是数字", label));
        }
        if (!input.upper[i].isEmpty()) {
            p.upper[i] = ReadNumberText(input.upper[i]);
            if (!p.upper[i])
                return Invalid(CoreText::tr("%1的指标上限不是数字", label));
        }
        std::vector<double> values(k, 0.0);
        bool complete = true;
        for (int j = 0; j < k && complete; ++j) {
            const auto v = WrittenValue(IndexValue(input.coals[j], i));
            complete = v.has_value();
            if (complete)
                values[j] = *v;
        }
        if (complete)
            p.value[i] = std::move(values);
        else if (p.bounded(i))
            return Invalid(CoreText::tr("有煤没有填写%1的值", label));
        const Basis basis = input.weighting.of(i);
        if (basis == Basis::AsReceived || p.value[i].empty())
            continue;
        std::vector<double> factors(k, 0.0);
        for (int j = 0; j < k && complete; ++j) {
            const auto f = BasisFactor(basis, input.coals[j]);
            complete = f.has_value();
            factors[j] = f.value_or(0.0);
        }
        if (complete)
            p.factor[i] = std::move(factors);
        else
            p.value[i].clear();
    }
    std::array<bool, kIndexCount> bounded{};
    for (int i = 0; i < kIndexCount; ++i)
        bounded[i] = p.bounded(i);
    if (Status figures = CheckBasisFigures(input.coals, input.weighting, bounded); !figures)
        return figures.failure();
    if (!input.tonnage.isEmpty()) {
        p.tonnage = ReadNumberText(input.tonnage);
        if (!p.tonnage)
            return Invalid(CoreText::tr("配多少吨不是数字"));
        p.stock.assign(k, 0.0);
        for (int j = 0; j < k; ++j) {
            const auto s = ReadNumberText(input.coals[j].Kucun);
            if (!s)
                return Invalid(CoreText::tr("第%1种煤的库存不是数字", QString::number(j + 1)));
            p.stock[j] = *s;
        }
    }
    return p;
}

LinearProgram BlendProgram(const BlendProblem& p, int n, BlendRows* rows)
{
    LinearProgram program;
    const int k = p.coalCount;
    program.columns.reserve(k);
    for (int j = 0; j < k; ++j) {
        LinearColumn column;
        column.integer = true;
        column.cost = p.price[j] * p.weight[j];
        program.addColumn(column);
    }
    BlendRows where;
    where.lower.fill(-1);
    where.upper.fill(-1);
    where.mustInclude.assign(k, -1);
    where.stock.assign(k, -1);

    for (int i = 0; i < kIndexCount; ++i) {
        if (!p.bounded(i))
            continue;
        auto addBound = [&](BoundSide side, double bound) {
            const int row = program.addRow(BoundLimits(p, i, side, bound, n));
            for (int j = 0; j < k; ++j)
                program.addTerm(row, j, BoundCoefficient(p, i, j, bound));
            return row;
        };
        if (p.lower[i])
            where.lower[i] = addBound(BoundSide::Lower, *p.lower[i]);
        if (p.upper[i])
            where.upper[i] = addBound(BoundSide::Upper, *p.upper[i]);
    }
    for (int j = 0; j < k; ++j) {
        if (!p.mustInclude[j])
            continue;
        where.mustInclude[j] = program.addRow(LinearRow{1.0, kNoBound});
        program.addTerm(where.mustInclude[j], j, p.weight[j]);
    }
    where.sum = program.addRow(LinearRow{double(n), double(n)});
    for (int j = 0; j < k; ++j)
        program.addTerm(where.sum, j, p.weight[j]);
    if (p.tonnage) {
        for (int j = 0; j < k; ++j) {
            where.stock[j] = program.addRow(LinearRow{-kNoBound, p.stock[j] * n});
            program.addTerm(where.stock[j], j, *p.tonnage * p.weight[j]);
        }
    }
    if (rows)
        *rows = std::move(where);
    return program;
}

void SetBoundRow(const BlendProblem& p, LinearProgram& program, int row, int index, BoundSide side,
                 std::optional<double> bound, int n)
{
    if (!bound) {
        program.rows[row] = LinearRow{};
        return;
    }
    program.rows[row] = BoundLimits(p, index, side, *bound, n);
    if (!p.weighted(index))
        return;  // the terms do not depend on the bound
    for (LinearTerm& term : program.terms)
        if (term.row == row)
            term.value = BoundCoefficient(p, index, term.column, *bound);
}

double IndexSum(const BlendProblem& p, int index, const std::vector<double>& parts)
{
    double sum = 0.0;
    for (int j = 0; j < p.coalCount; ++j)
        sum += p.value[index][j] * p.factorOf(index, j) * p.weight[j] * parts[j];
    return sum;
}

double IndexMass(const BlendProblem& p, int index, const std::vector<double>& parts, double n)
{
    if (!p.weighted(index))
        return n;
    double mass = 0.0;
    for (int j = 0; j < p.coalCount; ++j)
        mass += p.factor[index][j] * p.weight[j] * parts[j];
    return mass;
}

double BlendIndexValue(const BlendProblem& p, int index, const std::vector<double>& parts, double n)
{
    return IndexSum(p, index, parts) / IndexMass(p, index, parts, n);
}
