#include "base/NumberText.h"

#include <QtTest>

#include <limits>

class NumericTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numericText_data();
    void numericText();
    void formatIndexValue_data();
    void formatIndexValue();
    void toRoundedDouble_data();
    void toRoundedDouble();
    void toLongOrZero_data();
    void toLongOrZero();
    void fixedText_data();
    void fixedText();
    void decimalsBeside_data();
    void decimalsBeside();
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
    QTest::newRow("beyond a double") << "1e400" << false;
    QTest::newRow("beyond a double, negative") << "-1e400" << false;
    QTest::newRow("tiny is zero") << "1e-400" << true;
    QTest::newRow("full-width digits") << "１２" << false;
    QTest::newRow("long digit string") << QString(500, QLatin1Char('1')).prepend(QStringLiteral("0.")) << true;
}

void NumericTest::numericText()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(IsNumericText(text), numeric);
    QCOMPARE(ToNumber(QVariant(text)).has_value(), numeric);
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
    // Near a half cent the rounding works on the 15-digit decimal form.
    QTest::newRow("2.675") << QVariant(2.675) << "2.68";
    QTest::newRow("1.005") << QVariant(1.005) << "1.01";
    QTest::newRow("-1.005") << QVariant(-1.005) << "-1.01";
    QTest::newRow("1.0049999") << QVariant(1.0049999) << "1.00";
    QTest::newRow("half cent beyond 1e9") << QVariant(1234567890.125) << "1234567890.13";
    QTest::newRow("beyond 15 digits") << QVariant(1e20) << "100000000000000000000.00";
    QTest::newRow("stored form kept") << QVariant(QString("12.50")) << "12.50";
    QTest::newRow("leading zero re-formed") << QVariant(QString("012.50")) << "12.50";
    QTest::newRow("infinite") << QVariant(std::numeric_limits<double>::infinity()) << "";
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
    QTest::addColumn<double>("result");
    QTest::newRow("650") << QVariant(QString("650")) << 650.0;
    QTest::newRow("abc") << QVariant(QString("abc")) << 0.0;
    QTest::newRow("empty") << QVariant(QString()) << 0.0;
    QTest::newRow("12.345") << QVariant(12.345) << 12.35;
    QTest::newRow("350.456") << QVariant(QString("350.456")) << 350.46;
    QTest::newRow("half away negative") << QVariant(-0.125) << -0.13;
    QTest::newRow("483.3333") << QVariant(483.3333) << 483.33;
    QTest::newRow("beyond a double") << QVariant(QString("1e400")) << 0.0;
}

void NumericTest::toRoundedDouble()
{
    QFETCH(QVariant, value);
    QFETCH(double, result);
    QCOMPARE(ToRoundedDouble(value), result);
    if (const auto number = ToNumber(value))
        QCOMPARE(ToRoundedDouble(*number), result);
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

void NumericTest::fixedText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero keeps its decimals") << 0.0 << 2 << "0.00";
    QTest::newRow("tons share") << 1000.0 / 3 << 2 << "333.33";
    QTest::newRow("half away") << 0.125 << 2 << "0.13";
    QTest::newRow("negative zero") << -0.001 << 2 << "0.00";
    QTest::newRow("no decimals") << 2.5 << 0 << "3";
    QTest::newRow("three decimals") << 1.2345 << 3 << "1.235";
    QTest::newRow("carry through") << 99.9999 << 3 << "100.000";
    QTest::newRow("not finite") << std::numeric_limits<double>::quiet_NaN() << 2 << "";
}

void NumericTest::fixedText()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(FixedText(value, decimals), text);
}

void NumericTest::decimalsBeside_data()
{
    const double none = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<QString>("text");
    QTest::newRow("between bounds of three and four decimals") << 0.0293 << 0.029 << 0.0295 << "0.0293";
    QTest::newRow("a hair above a four-decimal bound") << 0.02951 << 0.029 << 0.0295 << "0.02951";
    QTest::newRow("a hair below it, not rounded onto it") << 0.0294999 << 0.029 << 0.0295 << "0.0294999";
    QTest::newRow("on it but for the sums' noise") << 0.0295 + 1e-13 << 0.029 << 0.0295 << "0.0295";
    QTest::newRow("two decimals beside whole bounds") << 11.5 << 10.0 << 12.0 << "11.50";
    QTest::newRow("just inside a whole bound") << 11.996 << none << 12.0 << "11.996";
    QTest::newRow("just outside it") << 12.004 << none << 12.0 << "12.004";
    QTest::newRow("on it within a billionth") << 12.0000000001 << none << 12.0 << "12.00";
    QTest::newRow("heat a hundred-thousandth below") << 4999.99999 << 5000.0 << none << "4999.99999";
    QTest::newRow("heat within a billionth of its size") << 5000.0 - 1e-6 << 5000.0 << none << "5000.00";
    QTest::newRow("no bounds") << 1.23456 << none << none << "1.23";
}

// A value shows with the decimals that put it on the same side of each bound
// as it lies.
void NumericTest::decimalsBeside()
{
    QFETCH(double, value);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(QString, text);
    QCOMPARE(FixedText(value, DecimalsBeside(value, {lower, upper})), text);
}

QTEST_GUILESS_MAIN(NumericTest)
#include "tst_numeric.moc"
