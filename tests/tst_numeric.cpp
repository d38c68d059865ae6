#include "workspace/CommonFunction.h"

#include <QtTest>

class NumericTest : public QObject {
    Q_OBJECT
private slots:
    void numericText_data();
    void numericText();
    void formatIndexValue_data();
    void formatIndexValue();
    void toRoundedDouble_data();
    void toRoundedDouble();
    void toLongOrZero_data();
    void toLongOrZero();
    void weightedSum_data();
    void weightedSum();
    void divideAndFormat_data();
    void divideAndFormat();
};

void NumericTest::numericText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("integer") << "12" << true;
    QTest::newRow("decimal") << "12.3" << true;
    QTest::newRow("signs") << "-1.5" << true;
    QTest::newRow("plus") << "+7" << true;
    QTest::newRow("leading point") << ".5" << true;
    QTest::newRow("trailing point") << "5." << true;
    QTest::newRow("exponent") << "1e20" << true;
    QTest::newRow("signed exponent") << "2.5E-3" << true;
    QTest::newRow("blanks around") << "  42  " << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("one blank") << " " << false;
    QTest::newRow("percent") << "12.3%" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("bare exponent") << "1e" << false;
    QTest::newRow("inner blank") << "1 2" << false;
    QTest::newRow("comma decimal") << "12,3" << false;
    QTest::newRow("infinity") << "inf" << false;
    QTest::newRow("nan") << "nan" << false;
    QTest::newRow("hex") << "0x1F" << false;
}

void NumericTest::numericText()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(IsNumericText(text), numeric);
    QCOMPARE(IsNumeric(QVariant(text)), numeric);
}

void NumericTest::formatIndexValue_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty text") << QVariant(QString("")) << "";
    QTest::newRow("letters") << QVariant(QString("abc")) << "";
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("text 0") << QVariant(QString("0")) << "0";
    QTest::newRow("text 0.00") << QVariant(QString("0.00")) << "0";
    QTest::newRow("text 0.0") << QVariant(QString("0.0")) << "0";
    QTest::newRow("text 7") << QVariant(QString("7")) << "7.00";
    QTest::newRow("number 12.345") << QVariant(12.345) << "12.35";
    QTest::newRow("text 12.345") << QVariant(QString("12.345")) << "12.35";
    QTest::newRow("12.3") << QVariant(QString("12.3")) << "12.30";
    QTest::newRow("5.236") << QVariant(5.236) << "5.24";
    QTest::newRow("0.5") << QVariant(0.5) << "0.50";
    QTest::newRow("0.004 rounds to zero decimals") << QVariant(0.004) << "0.00";
    QTest::newRow("0.005 rounds up") << QVariant(0.005) << "0.01";
    QTest::newRow("negative") << QVariant(-1.5) << "-1.50";
    QTest::newRow("negative half away") << QVariant(-2.345) << "-2.35";
    QTest::newRow("carry") << QVariant(9.995) << "10.00";
    QTest::newRow("large") << QVariant(1234567.891) << "1234567.89";
    QTest::newRow("no grouping") << QVariant(QString("1e6")) << "1000000.00";
    QTest::newRow("integer value") << QVariant(650) << "650.00";
    QTest::newRow("blanks") << QVariant(QString(" 3 ")) << "3.00";
}

void NumericTest::formatIndexValue()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(FormatIndexValue(value), text);
}

void NumericTest::toRoundedDouble_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("result");
    QTest::newRow("650") << QVariant(QString("650")) << 0 << 650.0;
    QTest::newRow("abc") << QVariant(QString("abc")) << 0 << 0.0;
    QTest::newRow("empty") << QVariant(QString()) << 0 << 0.0;
    QTest::newRow("12.345") << QVariant(12.345) << 0 << 12.35;
    QTest::newRow("350.456") << QVariant(QString("350.456")) << 0 << 350.46;
    QTest::newRow("half away negative") << QVariant(-0.125) << 0 << -0.13;
    QTest::newRow("483.3333") << QVariant(483.3333) << 0 << 483.33;
    QTest::newRow("more decimals asked") << QVariant(1.23456) << 3 << 1.235;
}

void NumericTest::toRoundedDouble()
{
    QFETCH(QVariant, value);
    QFETCH(int, decimals);
    QFETCH(double, result);
    QCOMPARE(ToRoundedDouble(value, decimals), result);
}

void NumericTest::toLongOrZero_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("result");
    QTest::newRow("2.5 to even") << QVariant(2.5) << 2;
    QTest::newRow("3.5 to even") << QVariant(3.5) << 4;
    QTest::newRow("-2.5 to even") << QVariant(-2.5) << -2;
    QTest::newRow("33.5") << QVariant(QString("33.5")) << 34;
    QTest::newRow("32.5") << QVariant(QString("32.5")) << 32;
    QTest::newRow("2.6") << QVariant(2.6) << 3;
    QTest::newRow("empty") << QVariant(QString("")) << 0;
    QTest::newRow("null") << QVariant() << 0;
    QTest::newRow("letters") << QVariant(QString("x")) << 0;
    QTest::newRow("too large clamps") << QVariant(QString("1e20")) << 2147483647;
}

void NumericTest::toLongOrZero()
{
    QFETCH(QVariant, value);
    QFETCH(int, result);
    QCOMPARE(ToLongOrZero(value), result);
}

void NumericTest::weightedSum_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sum");
    QTest::addColumn<double>("weight");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty value loses the sum") << "" << "12" << 3.0 << "";
    QTest::newRow("empty sum counts 0") << "2" << "" << 3.0 << "6";
    QTest::newRow("half weight") << "2" << "6" << 0.5 << "7";
    QTest::newRow("shortest form") << "8.3" << "" << 3.0 << "24.9";
    QTest::newRow("fraction") << "12.5" << "100" << 1.0 << "112.5";
}

void NumericTest::weightedSum()
{
    QFETCH(QString, value);
    QFETCH(QString, sum);
    QFETCH(double, weight);
    QFETCH(QString, result);
    QCOMPARE(AddWeighted(value, sum, weight), result);
}

void NumericTest::divideAndFormat_data()
{
    QTest::addColumn<QString>("sum");
    QTest::addColumn<double>("divisor");
    QTest::addColumn<QString>("result");
    QTest::newRow("empty sum") << "" << 2.0 << "";
    QTest::newRow("30 / 2") << "30" << 2.0 << "15.00";
    QTest::newRow("0 / 2") << "0" << 2.0 << "0";
    QTest::newRow("60 / 5") << "60" << 5.0 << "12.00";
}

void NumericTest::divideAndFormat()
{
    QFETCH(QString, sum);
    QFETCH(double, divisor);
    QFETCH(QString, result);
    QCOMPARE(DivideAndFormat(sum, divisor), result);
}

QTEST_GUILESS_MAIN(NumericTest)
#include "tst_numeric.moc"
