#include "blend/BlendProblem.h"
#include "blend/Diagnose.h"
#include "base/NumberText.h"

#include <QRegularExpression>
#include <QtTest>

#include <functional>
#include <random>

Q_DECLARE_METATYPE(ModelInput)

namespace {

using Parts = std::vector<double>;

// A mix meets a row when it misses the row's bound by at most this much, in
// the row's scale (bound * n against the index sum): the solver's notion.
constexpr double kTolerance = 1e-7;

struct Limit {
    int index;
    BoundSide side;
    double value;
};

// A whole mix and its total.
struct Mix {
    Parts x;
    int n;
};

double Sum(const BlendProblem& p, int index, const Parts& x)
{
    double s = 0.0;
    for (int j = 0; j < p.coalCount; ++j)
        s += p.value[index][j] * p.factorOf(index, j) * p.weight[j] * x[j];
    return s;
}

// What an index averages over: n, or on its basis the coals' weighed tons.
double Mass(const BlendProblem& p, int index, const Mix& m)
{
    if (!p.weighted(index))
        return m.n;
    double mass = 0.0;
    for (int j = 0; j < p.coalCount; ++j)
        mass += p.factor[index][j] * p.weight[j] * m.x[j];
    return mass;
}

double Blend(const BlendProblem& p, int index, const Mix& m)
{
    return Sum(p, index, m.x) / Mass(p, index, m);
}

// How far the mix misses the limit, in blend units; 0 when it meets it.
double Miss(const BlendProblem& p, const Limit& b, const Mix& m)
{
    const double mass = Mass(p, b.index, m);
    const double gap = b.side == BoundSide::Lower ? b.value * mass - Sum(p, b.index, m.x) : Sum(p, b.index, m.x) - b.value * mass;
    return gap > kTolerance ? gap / mass : 0.0;
}

// Every whole mix of the totals from..to that the sum and must-use rules allow.
std::vector<Mix> Enumerate(const BlendProblem& p, int from, int to)
{
    std::vector<Mix> out;
    Parts x(p.coalCount, 0.0);
    std::function<void(int, int, double)> walk = [&](int n, int j, double left) {
        if (j == p.coalCount) {
            if (std::fabs(left) > kTolerance)
                return;
            for (int q = 0; q < p.coalCount; ++q)
                if (p.mustInclude[q] && p.weight[q] * x[q] < 1.0 - kTolerance)
                    return;
            out.push_back({x, n});
            return;
        }
        for (x[j] = 0; p.weight[j] * x[j] <= left + kTolerance; ++x[j])
            walk(n, j + 1, left - p.weight[j] * x[j]);
        x[j] = 0;
    };
    for (int n = from; n <= to; ++n)
        walk(n, 0, n);
    return out;
}

// The stock rows at a tonnage (none without one).
bool Stocked(const BlendProblem& p, const Mix& m, std::optional<double> tonnage)
{
    for (int q = 0; tonnage && q < p.coalCount; ++q)
        if (*tonnage * p.weight[q] * m.x[q] > p.stock[q] * m.n + kTolerance)
            return false;
    return true;
}

bool AnyPlan(const BlendProblem& p, const std::vector<Mix>& mixes, const std::vector<Limit>& limits,
             std::optional<double> tonnage)
{
    return std::any_of(mixes.begin(), mixes.end(), [&](const Mix& m) {
        return Stocked(p, m, tonnage)
            && std::all_of(limits.begin(), limits.end(), [&](const Limit& b) { return Miss(p, b, m) == 0.0; });
    });
}

double Scale(const BlendProblem& p, int index)
{
    const auto [lo, hi] = std::minmax_element(p.value[index].begin(), p.value[index].end());
    return *hi > *lo ? *hi - *lo : 1.0;
}

// A random run of 2 to 6 coals with heat, sulphur, ash, caking index and an
// index all coals share; 1 to 6 bounds around the coals' values.
ModelInput RandomInput(std::mt19937& random, bool shovel, bool stock, bool must, bool weighted = false)
{
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const int indices[] = {2, 5, 6, 9, 12};
    const double low[] = {4000, 0.3, 6, 0, 70}, high[] = {6500, 1.5, 20, 90, 70};
    const int decimals[] = {2, 2, 2, 0, 2};
    const char* weights[] = {"1", "1.5", "2", "2.5", "3", "1.3", "2.7"};
    ModelInput input;
    input.shovelMode = shovel;
    const int k = pick(2, 6);
    for (int j = 0; j < k; ++j) {
        Mei coal;
        coal.MingCheng = QStringLiteral("煤%1").arg(j + 1);
        coal.JiaGe = pick(300, 800);
        coal.Kucun = QString::number(pick(0, 12) * 100);
        coal.MeiChan = QString::fromLatin1(weights[pick(0, 6)]);
        for (int t = 0; t < 5; ++t)
            IndexValue(coal, indices[t]) = QString::number(uniform(low[t], high[t]), 'f', decimals[t]);
        if (weighted) {
            coal.ShuiFen = QString::number(uniform(3, 30), 'f', 2);
            coal.neishui = QString::number(uniform(0.5, 3), 'f', 2);
        }
        input.coals << coal;
        input.mustInclude << (must && pick(0, 2) == 0);
    }
    for (int count = pick(1, 6); count > 0; --count) {
        const int t = pick(0, 4);
        // Mostly inside the coals' values, so that bounds often clash only together.
        double lo = 1e300, hi = -1e300;
        for (const Mei& coal : input.coals) {
            lo = std::min(lo, IndexValue(coal, indices[t]).toDouble());
            hi = std::max(hi, IndexValue(coal, indices[t]).toDouble());
        }
        const double margin = pick(0, 3) == 0 ? (hi - lo) * 0.2 + 1 : 0.0;
        const QString value = QString::number(uniform(lo - margin, hi + margin), 'f', t == 0 ? 0 : 1);
        (pick(0, 1) ? input.upper : input.lower)[indices[t]] = value;
    }
    if (stock)
        input.tonnage = QString::number(pick(1, 10) * 100);
    input.weighting.on = weighted;
    return input;
}

std::vector<Limit> Limits(const NoPlanDiagnosis& d, bool fromTexts)
{
    std::vector<Limit> limits;
    for (const BoundChange& c : d.relaxation)
        limits.push_back({c.bound.index, c.bound.side,
                          fromTexts ? ReadNumberText(c.suggestedText).value_or(NAN) : c.suggested});
    return limits;
}

QStringList Chinese(const std::vector<Text>& texts)
{
    QStringList out;
    for (const Text& text : texts)
        out << text.chinese();
    return out;
}

ModelInput Situation(const QVector<std::array<const char*, 4>>& coals, bool shovel = false)
{
    ModelInput input;
    input.shovelMode = shovel;
    for (const auto& [name, ash, heat, stock] : coals) {
        Mei coal;
        coal.MingCheng = QString::fromUtf8(name);
        coal.JiaGe = 500;
        coal.HuiFen = QString::fromLatin1(ash);
        coal.ReLiang = QString::fromLatin1(heat);
        coal.Kucun = QString::fromLatin1(stock);
        coal.MeiChan = QStringLiteral("3");
        input.coals << coal;
        input.mustInclude << false;
    }
    return input;
}

}  // namespace

class DiagnoseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void agreesWithEnumeration_data();
    void agreesWithEnumeration();
    void situations_data();
    void situations();
    void refusesInput_data();
    void refusesInput();
    void progressAndCancel();
    void onTheBases();
};

void DiagnoseTest::agreesWithEnumeration_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<bool>("stock");
    QTest::addColumn<bool>("must");
    for (int form = 0; form < 8; ++form)
        QTest::addRow("%s%s%s", form & 1 ? "shovel" : "plain", form & 2 ? "+stock" : "", form & 4 ? "+must" : "")
            << bool(form & 1) << bool(form & 2) << bool(form & 4);
}

// Random models without a plan at any total 2 ... N, each checked against
// every whole mix of every total.
void DiagnoseTest::agreesWithEnumeration()
{
    QFETCH(bool, shovel);
    QFETCH(bool, stock);
    QFETCH(bool, must);
    std::mt19937 random(7919u + shovel + 2u * stock + 4u * must);
    const QRegularExpression typed(QStringLiteral("^-?\\d+(\\.\\d?[1-9])?$"));
    // Totals above N looked at for the larger count.
    constexpr int kBeyond = 3;
    int explained = 0, joint = 0, larger = 0, tonnage = 0;
    for (int models = 0; models < 40;) {
        const ModelInput input = RandomInput(random, shovel, stock, must);
        const int N = std::uniform_int_distribution<int>(4, 12)(random);
        const BlendProblem p = *MakeBlendProblem(input);
        const std::vector<Mix> every = Enumerate(p, 2, N + kBeyond);
        std::vector<Mix> upToN, all;  // the totals 2 ... N; those with the run's stock
        for (const Mix& m : every)
            if (m.n <= N)
                upToN.push_back(m);
        for (const Mix& m : upToN)
            if (Stocked(p, m, p.tonnage))
                all.push_back(m);
        std::vector<Limit> limits;
        for (int i = 0; i < kIndexCount; ++i) {
            if (p.lower[i])
                limits.push_back({i, BoundSide::Lower, *p.lower[i]});
            if (p.upper[i])
                limits.push_back({i, BoundSide::Upper, *p.upper[i]});
        }
        if (AnyPlan(p, all, limits, p.tonnage))
            continue;
        ++models;
        const QByteArray context = QStringLiteral("model %1, N %2").arg(models).arg(N).toUtf8();
        const char* where = context.constData();
        const Result<NoPlanDiagnosis> result = DiagnoseNoPlan(input, N);
        QVERIFY2(result.ok(), qPrintable(result.message()));
        const NoPlanDiagnosis& d = *result;
        QVERIFY2(!d.planExists, where);
        QCOMPARE(d.rulesLeaveMix, !all.empty());

        // The smallest larger count with a plan, as far as it is enumerated.
        std::optional<int> beyond;
        for (const Mix& m : every)
            if (m.n > N && (!beyond || m.n < *beyond) && AnyPlan(p, {m}, limits, p.tonnage))
                beyond = m.n;
        if (d.largerCount && *d.largerCount <= N + kBeyond)
            QCOMPARE(d.largerCount, beyond);
        else
            QVERIFY2(!beyond && (!d.largerCount || *d.largerCount > N + kBeyond), where);
        larger += d.largerCount.has_value();
        // The largest tonnage any plan's stock allows, to the cent below.
        std::optional<double> most;
        for (const Mix& m : upToN) {
            if (!p.tonnage || !AnyPlan(p, {m}, limits, std::nullopt))
                continue;
            double allows = 1e300;
            for (int q = 0; q < p.coalCount; ++q)
                if (m.x[q] > 0)
                    allows = std::min(allows, p.stock[q] * m.n / (p.weight[q] * m.x[q]));
            most = std::max(most.value_or(0.0), allows);
        }
        if (d.smallerTonnage) {
            QVERIFY2(most && *most >= *d.smallerTonnage - 1e-9 && *most < *d.smallerTonnage + 0.01 + 1e-9, where);
            QVERIFY2(AnyPlan(p, upToN, limits, *d.smallerTonnage), where);
            ++tonnage;
        } else {
            QVERIFY2(!most || *most < 0.01 + 1e-9, where);
        }

        if (all.empty()) {
            QVERIFY2(d.conflict.empty() && d.ranges.empty() && !d.rulesSentence.isEmpty(), where);
            continue;
        }
        ++explained;
        for (const ReachableRange& r : d.ranges) {
            double lo = 1e300, hi = -1e300;
            for (const Mix& m : all) {
                lo = std::min(lo, Blend(p, r.index, m));
                hi = std::max(hi, Blend(p, r.index, m));
            }
            QVERIFY2(std::fabs(r.lowest - lo) <= 1e-9 * std::max(1.0, std::fabs(lo)), where);
            QVERIFY2(std::fabs(r.highest - hi) <= 1e-9 * std::max(1.0, std::fabs(hi)), where);
            QCOMPARE(Blend(p, r.index, {r.lowestParts, r.lowestTotal}), r.lowest);
            QCOMPARE(Blend(p, r.index, {r.highestParts, r.highestTotal}), r.highest);
        }
        // The conflict has no plan, and each of its bounds is needed for that.
        std::vector<Limit> conflict;
        for (const BoundKey& key : d.conflict)
            conflict.push_back(*std::find_if(limits.begin(), limits.end(), [&](const Limit& b) {
                return b.index == key.index && b.side == key.side;
            }));
        QVERIFY2(!conflict.empty() && !AnyPlan(p, all, conflict, p.tonnage), where);
        for (std::size_t drop = 0; drop < conflict.size(); ++drop) {
            std::vector<Limit> rest = conflict;
            rest.erase(rest.begin() + drop);
            QVERIFY2(AnyPlan(p, all, rest, p.tonnage), where);
        }
        // The suggestion gives a plan at its total, by its exact values and by
        // its texts, and none of its moves can be halved at any total.
        std::vector<Mix> atTotal;
        for (const Mix& m : all)
            if (m.n == d.relaxedTotal)
                atTotal.push_back(m);
        QVERIFY2(AnyPlan(p, atTotal, Limits(d, false), p.tonnage), where);
        QVERIFY2(AnyPlan(p, atTotal, Limits(d, true), p.tonnage), where);
        QVERIFY2(AnyPlan(p, {{d.relaxedParts, d.relaxedTotal}}, Limits(d, true), p.tonnage), where);
        QCOMPARE(d.relaxation.size(), limits.size());
        // The least measure over every mix of every total, and the smallest
        // total that reaches it.
        auto measureOf = [&](const Mix& m) {
            double measure = 0.0;
            for (const Limit& b : limits)
                measure += Miss(p, b, m) / Scale(p, b.index);
            return measure;
        };
        double best = 1e300;
        for (const Mix& m : all)
            best = std::min(best, measureOf(m));
        int smallest = N + 1;
        for (const Mix& m : all)
            if (measureOf(m) <= best + 1e-9 * std::max(1.0, best))
                smallest = std::min(smallest, m.n);
        QVERIFY2(std::fabs(d.relaxationMeasure - best) <= 1e-9 * std::max(1.0, best), where);
        QCOMPARE(d.relaxedTotal, smallest);
        QVERIFY2(d.suggestionSentence.chinese().contains(QStringLiteral("比例数为%1时").arg(smallest)), where);
        for (std::size_t b = 0; b < limits.size(); ++b) {
            const BoundChange& c = d.relaxation[b];
            if (!c.moved) {
                QVERIFY2(c.suggested == limits[b].value && c.suggestedText == c.typed, where);
                continue;
            }
            const double outward = c.bound.side == BoundSide::Upper ? 1.0 : -1.0;
            QVERIFY2((c.suggested - c.value) * outward > 0, where);
            QVERIFY2((ReadNumberText(c.suggestedText).value() - c.suggested) * outward * d.relaxedTotal >= -kTolerance, where);
            QVERIFY2(typed.match(c.suggestedText).hasMatch(), qPrintable(c.suggestedText));
            std::vector<Limit> halved = Limits(d, false);
            halved[b].value = (c.value + c.suggested) / 2;
            QVERIFY2(!AnyPlan(p, all, halved, p.tonnage), where);
        }
        // One sentence per bound no mix meets alone; otherwise one for the set.
        int alone = 0;
        for (const Limit& b : limits)
            alone += AnyPlan(p, all, {b}, p.tonnage) ? 0 : 1;
        QCOMPARE(int(d.conflictSentences.size()), std::max(alone, 1));
        joint += alone == 0;
        QVERIFY2(!d.suggestionSentence.isEmpty(), where);
    }
    // Enough models get past the rules other than the bounds, some to a
    // joint conflict; the other ways out occur.
    QVERIFY(explained >= 15 && joint >= 1);
    if (stock)
        QVERIFY(tonnage >= 1);
    qInfo("%d explained, %d joint, %d larger counts, %d tonnages", explained, joint, larger, tonnage);
}

void DiagnoseTest::situations_data()
{
    QTest::addColumn<ModelInput>("input");
    QTest::addColumn<int>("n");
    QTest::addColumn<QStringList>("conflict");
    QTest::addColumn<QStringList>("stock");
    QTest::addColumn<QString>("suggestion");
    QTest::addColumn<QStringList>("alternatives");

    ModelInput ash = Situation({{"甲", "8.5", "5200", "100"}, {"乙", "9.2", "5800", "100"}, {"丙", "10", "5500", "100"}});
    ash.upper[6] = QStringLiteral("8.0");
    QTest::addRow("all coals above the ash upper bound")
        << ash << 10 << QStringList{QStringLiteral("灰分上限 8.0 低于所选煤能达到的最低值 8.50")} << QStringList()
        << QStringLiteral("把灰分上限改为 8.5，比例数为2时就有配比方案") << QStringList();
    ModelInput heat = ash;
    heat.upper[6].clear();
    heat.lower[2] = QStringLiteral("6000");
    QTest::addRow("heat lower bound above every coal")
        << heat << 10 << QStringList{QStringLiteral("热量下限 6000 高于所选煤能达到的最高值 5800.00")} << QStringList()
        << QStringLiteral("把热量下限改为 5800，比例数为2时就有配比方案") << QStringList();
    ModelInput crossed = ash;
    crossed.lower[6] = QStringLiteral("9.5");
    crossed.upper[6] = QStringLiteral("9");
    QTest::addRow("lower above upper")
        << crossed << 10 << QStringList{QStringLiteral("所选煤在比例数2到10下都没有同时满足灰分下限 9.5 和灰分上限 9 的配比")}
        << QStringList() << QString() << QStringList();
    // Ash from 8 and 12 between 10.76 and 10.84 needs 3 parts in 10 of the
    // first coal: no total up to 6 has such a share.
    ModelInput coarse = Situation({{"甲", "8", "5200", "100"}, {"乙", "12", "5800", "100"}});
    coarse.lower[6] = QStringLiteral("10.76");
    coarse.upper[6] = QStringLiteral("10.84");
    QTest::addRow("whole parts too coarse")
        << coarse << 6 << QStringList{QStringLiteral("所选煤在比例数2到6下都没有同时满足灰分下限 10.76 和灰分上限 10.84 的配比")}
        << QStringList() << QString()
        << QStringList{QStringLiteral("不改指标范围，只把比例数改为10，也有配比方案（比例数小，整份太粗，配不出来）")};
    // Ash at most 8.6 takes at least 6 parts in 7 of 甲, of which 50 t are
    // in stock: 58.33 t at most.
    ModelInput short_ = ash;
    short_.upper[6] = QStringLiteral("8.6");
    short_.tonnage = QStringLiteral("100");
    short_.coals[0].Kucun = QStringLiteral("50");
    QTest::addRow("stock short for the tonnage")
        << short_ << 10 << QStringList{QStringLiteral("灰分上限 8.6 低于所选煤能达到的最低值 8.85")} << QStringList()
        << QStringLiteral("把灰分上限改为 8.85，比例数为2时就有配比方案")
        << QStringList{QStringLiteral("不改指标范围，只把配多少吨改为58.33吨或更少，也有配比方案（所选煤的库存不够配100吨）")};
    ModelInput noStock = ash;
    noStock.upper[6] = QStringLiteral("20");
    noStock.tonnage = QStringLiteral("100");
    noStock.coals[1].Kucun = QStringLiteral("0");
    noStock.coals[1].MingCheng = QStringLiteral("乙%5");  // a name is text, not a pattern
    noStock.mustInclude[1] = true;
    QTest::addRow("must-use coal without stock")
        << noStock << 10 << QStringList()
        << QStringList{QStringLiteral("必选的第2种煤（乙%5）库存只有0吨，配100吨、比例数10时至少用1份也要10吨")} << QString()
        << QStringList();
    ModelInput tons = noStock;
    tons.mustInclude[1] = false;
    tons.tonnage = QStringLiteral("250");
    QTest::addRow("tonnage above the stock")
        << tons << 10 << QStringList() << QStringList{QStringLiteral("您想配250吨煤，但是所选煤的库存加起来只有200吨")}
        << QString()
        << QStringList{QStringLiteral("不改指标范围，只把配多少吨改为200吨或更少，也有配比方案（所选煤的库存不够配250吨）")};
    ModelInput shovels = Situation({{"甲", "8.5", "5200", "100"}, {"乙", "9.2", "5800", "100"}}, true);
    shovels.coals[0].MeiChan = QStringLiteral("4");
    shovels.coals[1].MeiChan = QStringLiteral("6");
    shovels.upper[6] = QStringLiteral("9");
    QTest::addRow("shovels cannot make any total")
        << shovels << 3 << QStringList() << QStringList{QStringLiteral("按所选煤的每铲重量，凑不出合计为2到3之间整数的铲数")}
        << QString() << QStringList{QStringLiteral("不改指标范围，只把比例数改为4，也有配比方案（比例数小，整份太粗，配不出来）")};
}

// Cases as a user meets them: the sentences say what is wrong.
void DiagnoseTest::situations()
{
    QFETCH(ModelInput, input);
    QFETCH(int, n);
    QFETCH(QStringList, conflict);
    QFETCH(QStringList, stock);
    QFETCH(QString, suggestion);
    QFETCH(QStringList, alternatives);
    const Result<NoPlanDiagnosis> d = DiagnoseNoPlan(input, n);
    QVERIFY2(d.ok(), qPrintable(d.message()));
    QCOMPARE(Chinese(d->conflictSentences), conflict);
    QCOMPARE(Chinese(d->stockSentences), stock);
    QCOMPARE(d->rulesLeaveMix, stock.isEmpty());
    QCOMPARE(d->rulesSentence.isEmpty(), stock.isEmpty());
    if (!suggestion.isEmpty())
        QCOMPARE(d->suggestionSentence.chinese(), suggestion);
    QCOMPARE(Chinese(d->alternativeSentences), alternatives);
}

void DiagnoseTest::refusesInput_data()
{
    QTest::addColumn<ModelInput>("input");
    QTest::addColumn<int>("n");
    ModelInput good = Situation({{"甲", "8.5", "5200", "100"}, {"乙", "9.2", "5800", "100"}});
    good.upper[6] = QStringLiteral("8");
    QTest::addRow("count below 2") << good << 1;
    QTest::addRow("count above 1000") << good << 1001;
    ModelInput one = good;
    one.coals.removeLast();
    QTest::addRow("one coal") << one << 10;
    ModelInput text = good;
    text.upper[6] = QStringLiteral("8%");
    QTest::addRow("bound no number") << text << 10;
    ModelInput weightless = good;
    weightless.shovelMode = true;
    weightless.coals[0].MeiChan = QStringLiteral("0");
    QTest::addRow("zero shovel weight") << weightless << 10;
}

void DiagnoseTest::refusesInput()
{
    QFETCH(ModelInput, input);
    QFETCH(int, n);
    const Result<NoPlanDiagnosis> d = DiagnoseNoPlan(input, n);
    QVERIFY(!d.ok());
    QCOMPARE(d.kind(), FailureKind::Invalid);
    QVERIFY(!d.message().isEmpty());
}

// Progress counts up to its planned steps; a stop at any point cancels.
void DiagnoseTest::progressAndCancel()
{
    ModelInput input = Situation({{"甲", "8", "5000", "100"}, {"乙", "14", "6000", "100"}, {"丙", "11", "5300", "100"}});
    input.upper[6] = QStringLiteral("10");
    input.lower[2] = QStringLiteral("5800");
    QVector<QPair<int, int>> calls;
    const auto d = DiagnoseNoPlan(input, 10, [&](int done, int steps) {
        calls.append({done, steps});
        return true;
    });
    QVERIFY(d.ok());
    QCOMPARE(d->conflict.size(), std::size_t(2));
    QVERIFY(calls.size() > 3);
    for (int c = 1; c < calls.size(); ++c)
        QVERIFY(calls[c].first >= calls[c - 1].first && calls[c].second == calls[0].second);
    QCOMPARE(calls.last().first, calls.last().second);
    for (int stopAt : {0, 2, int(calls.size()) - 1}) {
        int seen = 0;
        const auto stopped = DiagnoseNoPlan(input, 10, [&](int, int) { return seen++ < stopAt; });
        QCOMPARE(stopped.kind(), FailureKind::Cancelled);
    }
}

// Each index averaged on its basis: over every total the reachable values
// are exact, the conflict is irreducible and the suggestion gives a plan at
// its total (its moves are not held to the least measure: the slack of a
// weighed row is not in the index's unit).
void DiagnoseTest::onTheBases()
{
    std::mt19937 random(4243u);
    int explained = 0;
    for (int models = 0; models < 30;) {
        const ModelInput input = RandomInput(random, models % 2 == 1, models % 3 == 0, false, true);
        const int N = std::uniform_int_distribution<int>(4, 12)(random);
        const BlendProblem p = *MakeBlendProblem(input);
        std::vector<Mix> all;
        for (const Mix& m : Enumerate(p, 2, N))
            if (Stocked(p, m, p.tonnage))
                all.push_back(m);
        std::vector<Limit> limits;
        for (int i = 0; i < kIndexCount; ++i)
            for (const BoundSide side : {BoundSide::Lower, BoundSide::Upper})
                if (const auto& bound = side == BoundSide::Lower ? p.lower[i] : p.upper[i])
                    limits.push_back({i, side, *bound});
        if (AnyPlan(p, all, limits, p.tonnage))
            continue;
        ++models;
        const Result<NoPlanDiagnosis> d = DiagnoseNoPlan(input, N);
        QVERIFY2(d.ok(), qPrintable(d.message()));
        if (all.empty())
            continue;
        ++explained;
        for (const ReachableRange& r : d->ranges) {
            double lo = 1e300, hi = -1e300;
            for (const Mix& m : all) {
                lo = std::min(lo, Blend(p, r.index, m));
                hi = std::max(hi, Blend(p, r.index, m));
            }
            QVERIFY(std::fabs(r.lowest - lo) <= 1e-9 * std::max(1.0, std::fabs(lo)));
            QVERIFY(std::fabs(r.highest - hi) <= 1e-9 * std::max(1.0, std::fabs(hi)));
        }
        std::vector<Limit> conflict;
        for (const BoundKey& key : d->conflict)
            conflict.push_back(*std::find_if(limits.begin(), limits.end(), [&](const Limit& b) {
                return b.index == key.index && b.side == key.side;
            }));
        QVERIFY(!conflict.empty() && !AnyPlan(p, all, conflict, p.tonnage));
        for (std::size_t drop = 0; drop < conflict.size(); ++drop) {
            std::vector<Limit> rest = conflict;
            rest.erase(rest.begin() + drop);
            QVERIFY(AnyPlan(p, all, rest, p.tonnage));
        }
        QVERIFY(AnyPlan(p, {{d->relaxedParts, d->relaxedTotal}}, Limits(*d, false), p.tonnage));
        QVERIFY(AnyPlan(p, {{d->relaxedParts, d->relaxedTotal}}, Limits(*d, true), p.tonnage));
    }
    QVERIFY(explained >= 10);
}

QTEST_GUILESS_MAIN(DiagnoseTest)
#include "tst_diagnose.moc"
