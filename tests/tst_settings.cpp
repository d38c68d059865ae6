#include "app/ui/Forms.h"
#include "app/ui/Prompt.h"
#include "data/iniFunction.h"
#include "data/ui/ConfigWindow.h"
#include "support/TestFolder.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QStringList kHideKeys = {"neishui", "fenxiji", "G", "Y", "gudingtan", "kemoxing", "huirongdian", "huishoulv"};

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Prompt::setTestMode(true); }
    void readMissingIsEmpty();
    void readMatchesAnyCase();
    void writeKeepsOtherLines();
    void writeCreatesFileAndSection();
    void folderJoinsWithOneSeparator_data();
    void folderJoinsWithOneSeparator();
    void truthValues_data();
    void truthValues();
    void windowReadsShovelModeAndWritesAllKeys();
    void windowTickWritesHideKey();
    void closingWithoutOkWritesNothing();
};

void SettingsTest::readMissingIsEmpty()
{
    TestFolder t;
    QCOMPARE(ReadIni(t.folder(), "config", "chan"), QString());
    QVERIFY(WriteBytes(t.path("config.ini"), "[config]\r\nneishui=1\r\n"));
    QCOMPARE(ReadIni(t.folder(), "config", "chan"), QString());
    QCOMPARE(ReadIni(t.folder(), "other", "neishui"), QString());
}

void SettingsTest::readMatchesAnyCase()
{
    TestFolder t;
    QVERIFY(WriteBytes(t.path("config.ini"), "[Config]\r\nCHAN = 1\r\ng=1\r\n"));
    QCOMPARE(ReadIni(t.folder(), "config", "chan"), QStringLiteral("1"));
    QCOMPARE(ReadIni(t.folder(), "config", "G"), QStringLiteral("1"));
}

void SettingsTest::writeKeepsOtherLines()
{
    TestFolder t;
    QVERIFY(WriteBytes(t.path("config.ini"), "; user note\r\n[other]\r\nchan=7\r\n[config]\r\nchan=0\r\nY=1\r\n"));
    QVERIFY(WriteIni(t.folder(), "config", "chan", "1"));
    QVERIFY(WriteIni(t.folder(), "config", "G", "1"));
    QCOMPARE(ReadBytes(t.path("config.ini")),
             QByteArray("; user note\r\n[other]\r\nchan=7\r\n[config]\r\nchan=1\r\nY=1\r\nG=1\r\n"));
}

void SettingsTest::writeCreatesFileAndSection()
{
    TestFolder t;
    QVERIFY(WriteIni(t.folder(), "config", "chan", "1"));
    QCOMPARE(ReadBytes(t.path("config.ini")), QByteArray("[config]\r\nchan=1\r\n"));
}

void SettingsTest::folderJoinsWithOneSeparator_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain folder") << "/opt/velmora" << "/opt/velmora/config.ini";
    QTest::newRow("root folder") << "/" << "/config.ini";
    QTest::newRow("drive root") << "C:\\" << "C:\\config.ini";
}

void SettingsTest::folderJoinsWithOneSeparator()
{
    QFETCH(QString, dir);
    QFETCH(QString, path);
    QCOMPARE(AppFolder{dir}.ConfigPath(), path);
}

void SettingsTest::truthValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("shovel");
    QTest::newRow("1") << QByteArray("[config]\nchan=1\n") << true;
    QTest::newRow("True") << QByteArray("[config]\nchan=True\n") << true;
    QTest::newRow("0") << QByteArray("[config]\nchan=0\n") << false;
    QTest::newRow("missing key") << QByteArray("[config]\n") << false;
    QTest::newRow("not a number") << QByteArray("[config]\nchan=yes please\n") << false;
}

void SettingsTest::truthValues()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, shovel);
    TestFolder t;
    QVERIFY(WriteBytes(t.path("config.ini"), file));
    ShovelMode = !shovel;
    LoadShovelMode(t.folder());
    QCOMPARE(ShovelMode, shovel);
}

void SettingsTest::windowReadsShovelModeAndWritesAllKeys()
{
    TestFolder t;
    Forms::setFolder(t.folder());
    QVERIFY(WriteBytes(t.path("config.ini"), "[config]\r\nchan=1\r\nkemoxing=1\r\n"));
    ShovelMode = false;
    auto* window = ConfigWindow::instance();
    QVERIFY(window->findChild<QRadioButton*>("optChan_0")->isChecked());
    QVERIFY(!window->findChild<QRadioButton*>("optChan_1")->isChecked());
    QVERIFY(window->findChild<QCheckBox*>("kemoxing")->isChecked());
    QVERIFY(!window->findChild<QCheckBox*>("G")->isChecked());

    QTest::mouseClick(window->findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    QVERIFY(ShovelMode);
    QCOMPARE(ReadIni(t.folder(), "config", "chan"), QStringLiteral("1"));
    for (const QString& key : kHideKeys)
        QCOMPARE(ReadIni(t.folder(), "config", key), key == "kemoxing" ? QStringLiteral("1") : QStringLiteral("0"));
    QTRY_VERIFY(ConfigWindow::instance() != window || !window->isVisible());
}

void SettingsTest::windowTickWritesHideKey()
{
    TestFolder t;
    Forms::setFolder(t.folder());
    auto* window = ConfigWindow::instance();
    QVERIFY(window->findChild<QRadioButton*>("optChan_1")->isChecked());
    window->findChild<QCheckBox*>("huishoulv")->setChecked(true);
    window->btnOk_Click();
    QCOMPARE(ReadIni(t.folder(), "config", "huishoulv"), QStringLiteral("1"));
    QCOMPARE(ReadIni(t.folder(), "config", "chan"), QStringLiteral("0"));
    QVERIFY(!ShovelMode);
}

void SettingsTest::closingWithoutOkWritesNothing()
{
    TestFolder t;
    Forms::setFolder(t.folder());
    auto* window = ConfigWindow::instance();
    window->show();
    window->findChild<QCheckBox*>("G")->setChecked(true);
    window->close();
    QVERIFY(!QFile::exists(t.path("config.ini")));
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
