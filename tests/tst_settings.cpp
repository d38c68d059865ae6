#include "base/Files.h"
#include "base/Settings.h"
#include "support/TestFolder.h"
#include "ui/widgets/Prompt.h"
#include "ui/app/Startup.h"
#include "ui/windows/ConfigWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

namespace {

const QStringList kHideKeys = {"neishui", "fenxiji", "G", "Y", "gudingtan", "kemoxing", "huirongdian", "huishoulv"};

Status SetKeys(const AppFolder& folder, const QList<QPair<QString, QString>>& keys)
{
    QStringList lines = QString::fromUtf8(ReadBytes(folder.ConfigPath())).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (const auto& [key, value] : keys)
        SetIniValue(lines, kConfigSection, key, value);
    return WriteWholeFile(folder.ConfigPath(), lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Prompt::setTestMode(true);
        Prompt::clear();
    }
    void readMissingIsEmpty();
    void readMatchesAnyCase();
    void writeKeepsOtherLines();
    void writeCreatesFileAndSection();
    void folderJoinsWithOneSeparator_data();
    void folderJoinsWithOneSeparator();
    void truthValues_data();
    void truthValues();
    void windowReadsSettingsAndWritesAllKeys();
    void windowTickWritesHideKey();
    void closingWithoutOkWritesNothing();
    void unwritableSettingsChangeNothing_data();
    void unwritableSettingsChangeNothing();
    void backupCountsAreCheckedAndKept_data();
    void backupCountsAreCheckedAndKept();
    void basisKeys_data();
    void basisKeys();
    void windowChoosesBases();
    void languageIsKeptAndApplied_data();
    void languageIsKeptAndApplied();
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
    Expect(SetKeys(t.folder(), {{"chan", "1"}, {"G", "1"}}));
    QCOMPARE(ReadBytes(t.path("config.ini")),
             QByteArray("; user note\r\n[other]\r\nchan=7\r\n[config]\r\nchan=1\r\nY=1\r\nG=1\r\n"));

    // Saving the settings rewrites the keys where they stand, and adds the
    // missing ones to the section.
    Settings settings;
    settings.shovelMode = false;
    settings.hiddenIndexKeys = {"Y", "huishoulv"};
    Expect(SaveSettings(t.folder(), settings));
    QCOMPARE(ReadBytes(t.path("config.ini")),
             QByteArray("; user note\r\n[other]\r\nchan=7\r\n[config]\r\nchan=0\r\nY=1\r\nG=0\r\nneishui=0\r\n"
                        "fenxiji=0\r\ngudingtan=0\r\nkemoxing=0\r\nhuirongdian=0\r\nhuishoulv=1\r\n"));
    QCOMPARE(ReadSettings(t.folder()), settings);
}

void SettingsTest::writeCreatesFileAndSection()
{
    TestFolder t;
    Expect(SetKeys(t.folder(), {{"chan", "1"}}));
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
    QCOMPARE(ReadSettings(t.folder()).shovelMode, shovel);
}

void SettingsTest::windowReadsSettingsAndWritesAllKeys()
{
    TestFolder t;
    QVERIFY(WriteBytes(t.path("config.ini"), "[config]\r\nchan=1\r\nkemoxing=1\r\n"));
    auto* window = new ConfigWindow(WindowContext{t.folder()});
    QSignalSpy saved(window, &ConfigWindow::settingsSaved);
    QVERIFY(window->findChild<QRadioButton*>("optChan_0")->isChecked());
    QVERIFY(!window->findChild<QRadioButton*>("optChan_1")->isChecked());
    QVERIFY(window->findChild<QCheckBox*>("kemoxing")->isChecked());
    QVERIFY(!window->findChild<QCheckBox*>("G")->isChecked());
    window->show();

    QTest::mouseClick(window->findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    QCOMPARE(saved.count(), 1);
    QVERIFY(saved.first().first().value<Settings>().shovelMode);
    QCOMPARE(ReadIni(t.folder(), "config", "chan"), QStringLiteral("1"));
    for (const QString& key : kHideKeys)
        QCOMPARE(ReadIni(t.folder(), "config", key), key == "kemoxing" ? QStringLiteral("1") : QStringLiteral("0"));
    QVERIFY(!window->isVisible());
}

void SettingsTest::windowTickWritesHideKey()
{
    TestFolder t;
    auto* window = new ConfigWindow(WindowContext{t.folder()});
    QSignalSpy saved(window, &ConfigWindow::settingsSaved);
    QVERIFY(window->findChild<QRadioButton*>("optChan_1")->isChecked());
    window->findChild<QCheckBox*>("huishoulv")->setChecked(true);
    window->btnOk_Click();
    QCOMPARE(ReadIni(t.folder(), "config", "huishoulv"), QStringLiteral("1"));
    QCOMPARE(ReadIni(t.folder(), "config", "chan"), QStringLiteral("0"));
    QCOMPARE(saved.count(), 1);
    QVERIFY(!saved.first().first().value<Settings>().shovelMode);
}

void SettingsTest::closingWithoutOkWritesNothing()
{
    TestFolder t;
    auto* window = new ConfigWindow(WindowContext{t.folder()});
    window->show();
    window->findChild<QCheckBox*>("G")->setChecked(true);
    window->close();
    QVERIFY(!QFile::exists(t.path("config.ini")));
}

// When config.ini cannot take the new settings the user is told, the window
// stays open with the choices made, the file keeps every setting it had, and
// the session keeps its mode.
void SettingsTest::unwritableSettingsChangeNothing_data()
{
    QTest::addColumn<bool>("fullDisk");  // else: a folder stands where a new file would be written
    QTest::newRow("full disk") << true;
    QTest::newRow("folder cannot take a new file") << false;
}

void SettingsTest::unwritableSettingsChangeNothing()
{
    QFETCH(bool, fullDisk);
    TestFolder t;
    const QByteArray before("[config]\r\nchan=0\r\nkemoxing=1\r\nY=1\r\n");
    QVERIFY(WriteBytes(t.path("config.ini"), before));
    auto* window = new ConfigWindow(WindowContext{t.folder()});
    window->show();
    QSignalSpy saved(window, &ConfigWindow::settingsSaved);
    window->findChild<QRadioButton*>("optChan_0")->setChecked(true);
    window->findChild<QCheckBox*>("G")->setChecked(true);

    if (fullDisk) {
        SimulateFullDiskForWrites(1);
    } else {
        // config.ini is a folder here: nothing can be written in its place.
        QVERIFY(QFile::remove(t.path("config.ini")));
        QVERIFY(QDir(t.folder().dir).mkdir(QStringLiteral("config.ini")));
    }
    window->btnOk_Click();
    SimulateFullDiskForWrites(0);

    QCOMPARE(saved.count(), 0);
    QVERIFY(window->isVisible());
    QVERIFY(window->findChild<QRadioButton*>("optChan_0")->isChecked());
    QVERIFY(Prompt::lastText().contains(QStringLiteral("设置没有保存")));
    if (fullDisk) {
        QVERIFY(Prompt::lastText().contains(QStringLiteral("磁盘空间不足")));
        QCOMPARE(ReadBytes(t.path("config.ini")), before);
    }
    window->close();
}

// The switch and the bases as config.ini keeps them: a basis key only for an
// index off its default, an unknown code read as the default.
void SettingsTest::basisKeys_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("ash");      // the basis read for 灰分
    QTest::addColumn<QString>("sulphur");  // and for 硫分
    QTest::newRow("nothing kept") << QByteArray("[config]\r\n") << false << "d" << "d";
    QTest::newRow("on, ash as received")
        << QByteArray("[config]\r\njizhun=1\r\nJIZHUN_huifen=AR\r\n") << true << "ar" << "d";
    QTest::newRow("unknown code") << QByteArray("[config]\r\njizhun=0\r\njizhun_Liu=wet\r\n") << false << "d" << "d";
}

void SettingsTest::basisKeys()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, on);
    QFETCH(QString, ash);
    QFETCH(QString, sulphur);
    TestFolder t;
    QVERIFY(WriteBytes(t.path("config.ini"), file));
    Settings settings = ReadSettings(t.folder());
    QCOMPARE(settings.weighting.on, on);
    QCOMPARE(BasisCode(settings.weighting.basis[6]), ash);
    QCOMPARE(BasisCode(settings.weighting.basis[5]), sulphur);

    // Saved: ash back at its default loses its key, heat off its default gains
    // one, a code read as the default goes.
    settings.weighting.basis[6] = Basis::Dry;
    settings.weighting.basis[2] = Basis::Dry;
    Expect(SaveSettings(t.folder(), settings));
    const QString text = QString::fromUtf8(ReadBytes(t.path("config.ini")));
    QVERIFY2(!text.contains(QStringLiteral("huifen"), Qt::CaseInsensitive), qPrintable(text));
    QCOMPARE(ReadIni(t.folder(), "config", "jizhun_ReLiang"), QStringLiteral("d"));
    // The switch is written once it was on, or when the file had it.
    QCOMPARE(ReadIni(t.folder(), "config", "jizhun"),
             on ? QStringLiteral("1") : file.contains("jizhun=") ? QStringLiteral("0") : QString());
    QCOMPARE(text.count(QStringLiteral("jizhun_")), 1);
    QCOMPARE(ReadSettings(t.folder()), settings);

    // The workspace's switch alone.
    Expect(SaveBasisWeightingOn(t.folder(), !on));
    QCOMPARE(ReadSettings(t.folder()).weighting.on, !on);
    QCOMPARE(ReadIni(t.folder(), "config", "jizhun_ReLiang"), QStringLiteral("d"));
}

void SettingsTest::windowChoosesBases()
{
    TestFolder t;
    QVERIFY(WriteBytes(t.path("config.ini"), "[config]\r\njizhun=1\r\njizhun_Liu=ar\r\n"));
    auto* window = new ConfigWindow(WindowContext{t.folder()});
    QSignalSpy saved(window, &ConfigWindow::settingsSaved);
    auto* grid = window->findChild<QTableWidget*>("grdJizhun");
    QCOMPARE(grid->rowCount(), 15);
    auto basisBox = [&](int row) { return qobject_cast<QComboBox*>(grid->cellWidget(row, 1)); };
    QCOMPARE(grid->item(6, 0)->text(), QStringLiteral("灰分"));
    QCOMPARE(basisBox(6)->currentText(), QStringLiteral("干基"));
    QCOMPARE(basisBox(5)->currentText(), QStringLiteral("收到基"));
    QCOMPARE(basisBox(8)->currentText(), QStringLiteral("干燥无灰基"));
    QCOMPARE(basisBox(3)->count(), 4);

    basisBox(5)->setCurrentText(QStringLiteral("干基"));
    basisBox(3)->setCurrentText(QStringLiteral("干基"));
    window->btnOk_Click();
    QCOMPARE(saved.count(), 1);
    const BasisWeighting weighting = saved.first().first().value<Settings>().weighting;
    QVERIFY(weighting.on);  // the switch is the workspace's; the window keeps it
    QCOMPARE(weighting.basis[3], Basis::Dry);
    QCOMPARE(ReadIni(t.folder(), "config", "jizhun_Liu"), QString());
    QCOMPARE(ReadIni(t.folder(), "config", "jizhun_GaoWeiReLiang"), QStringLiteral("d"));
}

// The interface's language: the window shows and writes key lang (only once
// chosen), anything but "en" in the file means Chinese, and the English
// translation is found and used by the windows built after it.
void SettingsTest::languageIsKeptAndApplied_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QByteArray>("written");  // "": no lang line
    QTest::newRow("default stays out of the file") << QByteArray() << 0 << 0 << QByteArray();
    QTest::newRow("English chosen") << QByteArray() << 0 << 1 << QByteArray("lang=en");
    QTest::newRow("back to Chinese") << QByteArray("[config]\r\nlang=EN\r\n") << 1 << 0 << QByteArray("lang=zh");
    QTest::newRow("an unknown language is Chinese") << QByteArray("[config]\r\nlang=fr\r\n") << 0 << 0
                                                    << QByteArray("lang=zh");
}

void SettingsTest::languageIsKeptAndApplied()
{
    QFETCH(QByteArray, file);
    QFETCH(int, shown);
    QFETCH(int, chosen);
    QFETCH(QByteArray, written);
    TestFolder t;
    if (!file.isEmpty())
        QVERIFY(WriteBytes(t.path("config.ini"), file));
    auto* window = new ConfigWindow(WindowContext{t.folder()});
    QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("optLanguage_%1").arg(shown))->isChecked());
    window->findChild<QRadioButton*>(QStringLiteral("optLanguage_%1").arg(chosen))->setChecked(true);
    window->btnOk_Click();
    const QByteArray config = ReadBytes(t.path("config.ini"));
    QVERIFY2(written.isEmpty() ? !config.contains("lang") : config.contains(written), config.constData());

    const QString language = ReadSettings(t.folder()).language;
    QVERIFY(InstallLanguage(language));
    ConfigWindow next{WindowContext{t.folder()}};
    const QStringList titles = [&] {
        QStringList found;
        for (const QGroupBox* box : next.findChildren<QGroupBox*>())
            found << box->title();
        return found;
    }();
    QVERIFY2(titles.contains(chosen == 1 ? QStringLiteral("Interface language") : QStringLiteral("界面语言")),
             qPrintable(titles.join(", ")));
    InstallLanguage(Settings::kChinese);
}

// How many backups to keep: the window shows what config.ini holds (or the
// defaults for anything missing or wrong there), refuses a count out of its
// range naming the box, and writes a count only once it differs from the
// default or the file already had it.
void SettingsTest::backupCountsAreCheckedAndKept_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("shownDays");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("months");
    QTest::addColumn<QString>("refused");  // "": saved
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("defaults stay out of the file") << QByteArray() << "14" << "14" << "12" << "" << QByteArray("[config]\r\nchan=0");
    QTest::newRow("changed counts are written")
        << QByteArray() << "14" << " 30" << "0" << "" << QByteArray("bakupdays=30\r\nbakupmonths=0\r\n");
    QTest::newRow("a count the file had stays written")
        << QByteArray("[config]\r\nbakupdays=20\r\n") << "20" << "14" << "12" << ""
        << QByteArray("bakupdays=14\r\n");
    QTest::newRow("nonsense in the file shows the default")
        << QByteArray("[config]\r\nbakupdays=-3\r\n") << "14" << "14" << "12" << "" << QByteArray("bakupdays=14");
    QTest::newRow("no daily backup at all") << QByteArray() << "14" << "0" << "12" << "保留最近" << QByteArray();
    QTest::newRow("a fraction of a day") << QByteArray() << "14" << "1.5" << "12" << "保留最近" << QByteArray();
    QTest::newRow("months not a number") << QByteArray() << "14" << "14" << "一年" << "个月" << QByteArray();
}

void SettingsTest::backupCountsAreCheckedAndKept()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, shownDays);
    QFETCH(QString, days);
    QFETCH(QString, months);
    QFETCH(QString, refused);
    QFETCH(QByteArray, written);
    TestFolder t;
    if (!file.isEmpty())
        QVERIFY(WriteBytes(t.path("config.ini"), file));
    auto* window = new ConfigWindow(WindowContext{t.folder()});
    window->show();
    QCOMPARE(window->findChild<QLineEdit*>("txtBakupDays")->text(), shownDays);
    window->findChild<QLineEdit*>("txtBakupDays")->setText(days);
    window->findChild<QLineEdit*>("txtBakupMonths")->setText(months);
    QTest::mouseClick(window->findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    if (refused.isEmpty()) {
        QVERIFY(!window->isVisible());
        QVERIFY2(ReadBytes(t.path("config.ini")).contains(written), ReadBytes(t.path("config.ini")).constData());
        const Settings settings = ReadSettings(t.folder());
        QCOMPARE(settings.backupDays, days.trimmed().toInt());
        QCOMPARE(settings.backupMonths, months.toInt());
    } else {
        QVERIFY(window->isVisible());
        QVERIFY2(Prompt::lastText().contains(refused), qPrintable(Prompt::lastText()));
        QCOMPARE(ReadBytes(t.path("config.ini")), file);
        delete window;
    }
    if (written == "[config]\r\nchan=0")
        QVERIFY(!ReadBytes(t.path("config.ini")).contains("bakup"));
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
