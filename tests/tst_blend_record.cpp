// The record of a mixture: weighted indices and price, shovel weights, and
// the rules for missing values and an empty mix.

#include "blend/BlendRecord.h"
#include "base/QualityIndex.h"

#include <QtTest>

namespace {

Mei Coal(double price, const QString& ash, const QString& shovel = {}, const QString& sulphur = {})
{
    Mei coal;
    coal.MingCheng = QStringLiteral("煤");
    coal.Kucun = QStringLiteral("100");
    coal.JiaGe = price;
    coal.HuiFen = ash;
    coal.Liu = sulphur;
    coal.MeiChan = shovel;
    return coal;
}

// Two coals of different moisture: total moisture 10 and 30, inherent
// moisture 2 and 5, ash 8 and 20; tons per shovel 1.5 and 3.
QVector<Mei> WetAndDry()
{
    const char* figures[2][7] = {{"2", "10", "5000", "6000", "0.52", "8", "30"},
                                 {"5", "30", "4000", "5500", "1.14", "20", "40"}};
    const int indices[7] = {0, 1, 2, 3, 5, 6, 8};
    QVector<Mei> coals;
    for (int j = 0; j < 2; ++j) {
        Mei coal = Coal(500, QString(), j == 0 ? "1.5" : "3");
        for (int t = 0; t < 7; ++t)
            IndexValue(coal, indices[t]) = QString::fromLatin1(figures[j][t]);
        coals << coal;
    }
    return coals;
}

}  // namespace

Q_DECLARE_METATYPE(BasisWeighting)

class TestBlendRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void blend_data()
    {
        QTest::addColumn<QVector<Mei>>("coals");
        QTest::addColumn<QVector<double>>("amounts");
        QTest::addColumn<bool>("shovel");
        QTest::addColumn<QString>("ash");
        QTest::addColumn<QString>("sulphur");
        QTest::addColumn<double>("price");

        const QVector<Mei> pair = {Coal(500, "10", "2", "0.5"), Coal(450, "15", "3", "1")};
        QTest::newRow("by weight") << pair << QVector<double>{3, 2} << false << "12.00" << "0.70" << 480.0;
        QTest::newRow("objective after the amounts is ignored")
            << pair << QVector<double>{3, 2, 2400} << false << "12.00" << "0.70" << 480.0;
        QTest::newRow("by shovel") << pair << QVector<double>{3, 2} << true << "12.50" << "0.75" << 475.0;
        QTest::newRow("price rounded to two decimals")
            << QVector<Mei>{Coal(500, "1"), Coal(450, "1"), Coal(500, "1")} << QVector<double>{1, 1, 1} << false
            << "1.00" << "" << 483.33;
        QTest::newRow("zero average is 0") << QVector<Mei>{Coal(1, "0"), Coal(1, "0")} << QVector<double>{1, 1}
                                           << false << "0" << "" << 1.0;
        QTest::newRow("a coal in the mix without a value blanks the index")
            << QVector<Mei>{Coal(500, "10", "", "0.5"), Coal(450, "15")} << QVector<double>{1, 1} << false
            << "12.50" << "" << 475.0;
        QTest::newRow("a coal left out does not")
            << QVector<Mei>{Coal(500, "10", "", "0.5"), Coal(450, "15")} << QVector<double>{2, 0} << false
            << "10.00" << "0.50" << 500.0;
        QTest::newRow("blank coal first, then valued coals")
            << QVector<Mei>{Coal(450, "15"), Coal(500, "10", "", "0.5"), Coal(500, "10", "", "0.5")}
            << QVector<double>{1, 1, 1} << false << "11.67" << "" << 483.33;
        QTest::newRow("nothing in the mix") << pair << QVector<double>{0, 0} << false << "" << "" << 0.0;
        QTest::newRow("shovel weights missing") << pair.mid(0, 1) + QVector<Mei>{Coal(450, "15")}
                                                << QVector<double>{0, 4} << true << "" << "" << 0.0;
    }

    void blend()
    {
        QFETCH(QVector<Mei>, coals);
        QFETCH(QVector<double>, amounts);
        QFETCH(bool, shovel);
        QFETCH(QString, ash);
        QFETCH(QString, sulphur);
        QFETCH(double, price);

        const Mei blend = ComputeBlend(coals, amounts, shovel);
        QCOMPARE(blend.HuiFen, ash);
        QCOMPARE(blend.Liu, sulphur);
        QCOMPARE(blend.JiaGe, price);
        // Only the indices and the price are set.
        QVERIFY(blend.MingCheng.isEmpty());
        QVERIFY(blend.Kucun.isEmpty());
        QVERIFY(blend.MeiChan.isEmpty());
        QVERIFY(blend.G.isEmpty());
    }

    // Worked by hand. Factors: dry 0.9 and 0.7; air-dried 0.9/0.98 = 0.918367
    // and 0.7/0.95 = 0.736842; dry ash-free 0.9 x 0.92 = 0.828 and 0.7 x 0.8 =
    // 0.56. Ash 1:1 is (8 x 0.9 + 20 x 0.7) / 1.6 = 13.25; 3:1 it is
    // (3 x 7.2 + 14) / 3.4 = 10.47; vdaf 1:1 (30 x 0.828 + 40 x 0.56) / 1.388 = 34.03.
    void basisWeights_data()
    {
        QTest::addColumn<QVector<Mei>>("coals");
        QTest::addColumn<QVector<double>>("amounts");
        QTest::addColumn<bool>("shovel");
        QTest::addColumn<BasisWeighting>("weighting");
        // 内水, 全水, 热量, 高位, 硫分, 灰分, 挥vdaf
        QTest::addColumn<QStringList>("values");

        const BasisWeighting on{true};
        const QVector<Mei> coals = WetAndDry();
        QTest::newRow("1:1") << coals << QVector<double>{1, 1} << false << on
                             << QStringList{"3.34", "20.00", "4500.00", "5777.42", "0.79", "13.25", "34.03"};
        QTest::newRow("3:1") << coals << QVector<double>{3, 1} << false << on
                             << QStringList{"2.63", "15.00", "4750.00", "5894.49", "0.65", "10.47", "31.84"};
        QTest::newRow("shovels: 3 t each") << coals << QVector<double>{2, 1} << true << on
                                           << QStringList{"3.34", "20.00", "4500.00", "5777.42", "0.79", "13.25", "34.03"};
        QTest::newRow("off: tons as loaded") << coals << QVector<double>{1, 1} << false << BasisWeighting{}
                                             << QStringList{"3.50", "20.00", "4500.00", "5750.00", "0.83", "14.00", "35.00"};
        BasisWeighting ashAsReceived = on;
        ashAsReceived.basis[6] = Basis::AsReceived;
        QTest::newRow("ash chosen as received") << coals << QVector<double>{1, 1} << false << ashAsReceived
                                                << QStringList{"3.34", "20.00", "4500.00", "5777.42", "0.79", "14.00", "34.03"};
        QVector<Mei> noMoisture = coals;
        noMoisture[1].ShuiFen.clear();
        QTest::newRow("a coal without 全水 blanks every basis needing it")
            << noMoisture << QVector<double>{1, 1} << false << on
            << QStringList{"", "", "4500.00", "", "", "", ""};
        QTest::newRow("unless it is left out") << noMoisture << QVector<double>{1, 0} << false << on
                                               << QStringList{"2.00", "10.00", "5000.00", "6000.00", "0.52", "8.00", "30.00"};
        QVector<Mei> noInherent = coals;
        noInherent[1].neishui.clear();
        QTest::newRow("a coal without 内水 blanks the air-dried basis")
            << noInherent << QVector<double>{1, 1} << false << on
            << QStringList{"", "20.00", "4500.00", "", "0.79", "13.25", "34.03"};
        QVector<Mei> soaked = coals;
        soaked[1].ShuiFen = QStringLiteral("100");
        QTest::newRow("全水 100 leaves no dry mass") << soaked << QVector<double>{1, 1} << false << on
                                                   << QStringList{"", "55.00", "4500.00", "", "", "", ""};
    }

    void basisWeights()
    {
        QFETCH(QVector<Mei>, coals);
        QFETCH(QVector<double>, amounts);
        QFETCH(bool, shovel);
        QFETCH(BasisWeighting, weighting);
        QFETCH(QStringList, values);
        const Mei blend = ComputeBlend(coals, amounts, shovel, weighting);
        const int indices[7] = {0, 1, 2, 3, 5, 6, 8};
        QStringList shown;
        for (const int i : indices)
            shown << IndexValue(blend, i);
        QCOMPARE(shown, values);
        QCOMPARE(blend.JiaGe, 500.0);  // the price stays an average over tons
    }

    void everyIndexIsBlended()
    {
        Mei a;
        Mei b;
        for (int i = 0; i < kIndexCount; ++i) {
            IndexValue(a, i) = QString::number(i + 1);
            IndexValue(b, i) = QString::number(3 * (i + 1));
        }
        const Mei blend = ComputeBlend({a, b}, {1, 1}, false);
        for (int i = 0; i < kIndexCount; ++i)
            QCOMPARE(IndexValue(blend, i), QStringLiteral("%1.00").arg(2 * (i + 1)));
    }
};

QTEST_GUILESS_MAIN(TestBlendRecord)
#include "tst_blend_record.moc"
