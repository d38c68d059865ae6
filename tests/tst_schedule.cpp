#include "blend/Schedule.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>

// The schedule against every per-day mix: small random yards whose cheapest
// schedule, or the reason there is none, is found here by enumeration.

namespace {

constexpr int kAsh = 6;
constexpr int kSulphur = 5;
constexpr double kNone = std::numeric_limits<double>::infinity();

struct Case {
    ScheduleInput input;
    std::vector<double> weight;
    std::vector<double> ash, sulphur;
    double ashMax = kNone, sulphurMin = -kNone;
};

// One decimal throughout, so that no mix meets a bound by a hair.
QString Tenths(int tenths) { return QString::number(tenths / 10.0, 'f', 1); }

Case RandomCase(quint32 seed, bool shovel, bool sameMix)
{
    QRandomGenerator rng(seed);
    Case c;
    const int k = 2 + rng.bounded(2);
    ScheduleInput& in = c.input;
    in.days = 2 + rng.bounded(3);
    in.parts = 2 + rng.bounded(5);
    in.tonsPerDay = 10.0 * (1 + rng.bounded(3));
    in.sameMix = sameMix;
    in.model.shovelMode = shovel;
    const double dayTons = in.tonsPerDay;
    for (int j = 0; j < k; ++j) {
        Mei coal;
        coal.MingCheng = QStringLiteral("煤%1").arg(j + 1);
        coal.JiaGe = 300 + rng.bounded(400);
        const int ash = 80 + rng.bounded(120);
        const int sulphur = 3 + rng.bounded(10);
        coal.HuiFen = Tenths(ash);
        coal.Liu = Tenths(sulphur);
        c.ash.push_back(ash / 10.0);
        c.sulphur.push_back(sulphur / 10.0);
        const double w = shovel ? QList<double>{1.0, 1.0, 1.5, 2.0}[rng.bounded(4)] : 1.0;
        coal.MeiChan = QString::number(w);
        c.weight.push_back(w);
        // From nothing to more than the whole horizon needs.
        coal.Kucun = QString::number(rng.bounded(static_cast<int>(dayTons * in.days * 1.5) + 1));
        in.model.coals << coal;
        in.model.mustInclude << (rng.bounded(5) == 0);
    }
    const int ashMax = 115 + rng.bounded(75);
    c.ashMax = ashMax / 10.0;
    in.model.upper[kAsh] = Tenths(ashMax);
    if (rng.bounded(3) == 0) {
        const int sulphurMin = 3 + rng.bounded(8);
        c.sulphurMin = sulphurMin / 10.0;
        in.model.lower[kSulphur] = Tenths(sulphurMin);
    }
    for (int n = rng.bounded(3); n > 0; --n)
        in.deliveries.push_back(Delivery{static_cast<int>(rng.bounded(k)), 1 + static_cast<int>(rng.bounded(in.days)),
                                         5.0 * (1 + rng.bounded(6))});
    return c;
}

// Every mix of one day that meets the sum, must-use and bound rules.
std::vector<std::vector<int>> DayMixes(const Case& c)
{
    const int k = c.weight.size();
    const int N = c.input.parts;
    std::vector<std::vector<int>> mixes;
    std::vector<int> x(k, 0);
    std::function<void(int)> walk = [&](int j) {
        if (j == k) {
            double sum = 0, ash = 0, sulphur = 0;
            for (int i = 0; i < k; ++i) {
                sum += c.weight[i] * x[i];
                ash += c.ash[i] * c.weight[i] * x[i];
                sulphur += c.sulphur[i] * c.weight[i] * x[i];
                if (c.input.model.mustInclude[i] && x[i] == 0)
                    return;
            }
            if (std::fabs(sum - N) < 1e-9 && ash <= c.ashMax * N + 1e-9 && sulphur >= c.sulphurMin * N - 1e-9)
                mixes.push_back(x);
            return;
        }
        for (x[j] = 0; c.weight[j] * x[j] <= N + 1e-9; ++x[j])
            walk(j + 1);
        x[j] = 0;
    };
    walk(0);
    return mixes;
}

struct Brute {
    const Case& c;
    std::vector<std::vector<int>> mixes;
    std::vector<std::vector<double>> supplied;  // [day][coal]

    explicit Brute(const Case& cs) : c(cs), mixes(DayMixes(cs))
    {
        const int k = c.weight.size();
        supplied.assign(c.input.days, std::vector<double>(k, 0.0));
        for (int j = 0; j < k; ++j)
            supplied[0][j] = c.input.model.coals[j].Kucun.toDouble();
        for (const Delivery& d : c.input.deliveries)
            supplied[d.day - 1][d.coal] += d.tons;
        for (int d = 1; d < c.input.days; ++d)
            for (int j = 0; j < k; ++j)
                supplied[d][j] += supplied[d - 1][j];
    }

    double Tons(int j, int parts) const { return c.input.tonsPerDay * c.weight[j] * parts / c.input.parts; }

    // The least cost of days 1 ... days (infinity: none), the stock of coal
    // relaxed (if any) counted as unlimited.
    double Cheapest(int days, int relaxed = -1) const
    {
        const int k = c.weight.size();
        double best = kNone;
        std::vector<double> used(k, 0.0);
        std::function<void(int, double, const std::vector<int>*)> walk = [&](int d, double cost,
                                                                             const std::vector<int>* fixed) {
            if (d == days) {
                best = std::min(best, cost);
                return;
            }
            for (const auto& mix : mixes) {
                if (fixed && mix != *fixed)
                    continue;
                bool fits = true;
                double dayCost = 0;
                for (int j = 0; j < k; ++j) {
                    used[j] += Tons(j, mix[j]);
                    dayCost += Tons(j, mix[j]) * c.input.model.coals[j].JiaGe;
                    fits = fits && (j == relaxed || used[j] <= supplied[d][j] + 1e-9);
                }
                if (fits)
                    walk(d + 1, cost + dayCost, c.input.sameMix ? &mix : nullptr);
                for (int j = 0; j < k; ++j)
                    used[j] -= Tons(j, mix[j]);
            }
        };
        walk(0, 0.0, nullptr);
        return best;
    }

    NoScheduleReason Reason() const
    {
        NoScheduleReason r;
        if (mixes.empty())
            return r;
        r.kind = NoScheduleReason::Kind::Stock;
        r.day = 1;
        while (std::isfinite(Cheapest(r.day)))
            ++r.day;
        for (int j = 0; j < static_cast<int>(c.weight.size()) && r.coal < 0; ++j)
            if (std::isfinite(Cheapest(r.day, j))) {
                r.coal = j;
                r.supplied = supplied[r.day - 1][j];
            }
        return r;
    }
};

}  // namespace

class ScheduleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matchesEnumeration_data();
    void matchesEnumeration();
};

void ScheduleTest::matchesEnumeration_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<bool>("sameMix");
    QTest::newRow("parts") << false << false;
    QTest::newRow("parts, one mix") << false << true;
    QTest::newRow("shovels") << true << false;
    QTest::newRow("shovels, one mix") << true << true;
}

void ScheduleTest::matchesEnumeration()
{
    QFETCH(bool, shovel);
    QFETCH(bool, sameMix);
    int none = 0, bounds = 0, stock = 0;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        const Case c = RandomCase(seed * 7919 + (shovel ? 1 : 0) + (sameMix ? 2 : 0), shovel, sameMix);
        const Brute brute(c);
        const double best = brute.Cheapest(c.input.days);
        const Result<Schedule> solved = SolveSchedule(c.input);
        const QByteArray where = QByteArray("seed ") + QByteArray::number(seed);
        QVERIFY2(solved.ok(), where.constData());
        if (!std::isfinite(best)) {
            ++none;
            QCOMPARE(int(solved->status), int(Schedule::Status::None));
            QVERIFY2(solved->reason.has_value(), where.constData());
            const NoScheduleReason expected = brute.Reason();
            (expected.kind == NoScheduleReason::Kind::Bounds ? bounds : stock)++;
            QCOMPARE(int(solved->reason->kind), int(expected.kind));
            QCOMPARE(solved->reason->day, expected.day);
            QCOMPARE(solved->reason->coal, expected.coal);
            QCOMPARE(solved->reason->supplied, expected.supplied);
            continue;
        }
        QCOMPARE(int(solved->status), int(Schedule::Status::Optimal));
        QVERIFY2(std::fabs(solved->totalCost - best) < 1e-6 * std::max(1.0, best), where.constData());
        // The schedule itself keeps every rule: a valid mix each day, the
        // same one every day when asked, stock never below zero.
        QCOMPARE(int(solved->days.size()), c.input.days);
        for (const ScheduleDay& day : solved->days) {
            QVERIFY(std::find(brute.mixes.begin(), brute.mixes.end(), day.parts) != brute.mixes.end());
            if (sameMix)
                QCOMPARE(day.parts, solved->days.front().parts);
            for (double left : day.stockAfter)
                QVERIFY2(left >= -1e-9, where.constData());
        }
    }
    // The random yards reach every outcome.
    QVERIFY(none > 0 && stock > 0 && none < 40);
    QVERIFY(bounds > 0 || sameMix || shovel);
}

QTEST_GUILESS_MAIN(ScheduleTest)
#include "tst_schedule.moc"
