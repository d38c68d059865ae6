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

}  // namespace

class TestBlendRecord : public QObject {
    Q_OBJECT

private slots:
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
