#include "support/TestFolder.h"

#include "export/ListExport.h"
#include "base/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace {

ListData OneCoal(const QString& name)
{
    ListData list;
    list.addColumn(QStringLiteral("编号"), 0);
    list.addColumn(QStringLiteral("名称"), 1800);
    list.rows.append(ListRow{QStringLiteral("3"), {name}, false});
    return list;
}

}  // namespace

class HtmlExportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readTextFile_data();
    void readTextFile();
    void saveTextFile();
    void fileExists();
    void escaping_data();
    void escaping();
    void tableLayout();
    void listPage_data();
    void listPage();
    void planPage();
    void pageFailuresSayWhyAndLeaveNoFile_data();
    void pageFailuresSayWhyAndLeaveNoFile();
    void proposedName();
};

void HtmlExportTest::readTextFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("whole");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "ab" << "a";
    QTest::newRow("lone CR") << QByteArray("a\rb") << "ab" << "a";
    QTest::newRow("LF stays") << QByteArray("a\nb\n") << "a\nb\n" << "a\nb\n";
    QTest::newRow("mixed") << QByteArray("a\nb\r\nc") << "a\nbc" << "a\nb";
    QTest::newRow("empty") << QByteArray() << "" << "";
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF煤\r\n种") << "煤种" << "煤";
}

void HtmlExportTest::readTextFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, whole);
    QFETCH(QString, firstLine);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.txt"));
    QVERIFY(WriteBytes(path, bytes));
    QCOMPARE(Expect(ReadTextFile(path, true)), whole);
    QCOMPARE(Expect(ReadTextFile(path, false)), firstLine);
}

void HtmlExportTest::saveTextFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.html"));
    Expect(SaveTextFile(path, QStringLiteral("配煤")));
    QCOMPARE(ReadBytes(path), QStringLiteral("配煤\r\n").toUtf8());
    Expect(SaveTextFile(path, QStringLiteral("x")));  // an existing file is replaced
    QCOMPARE(ReadBytes(path), QByteArray("x\r\n"));
    QVERIFY(!SaveTextFile(dir.filePath(QStringLiteral("no/dir/t.html")), QStringLiteral("x")).ok());
}

void HtmlExportTest::fileExists()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.txt"));
    QVERIFY(!FileExists(path));
    QVERIFY(WriteBytes(path, "x"));
    QVERIFY(FileExists(path));
    QVERIFY(!FileExists(dir.path()));
    QVERIFY(!FileExists(QString()));
}

void HtmlExportTest::escaping_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("html");
    QTest::newRow("less and amp") << "A<B&C" << "A&lt;B&amp;C";
    QTest::newRow("greater") << "x>1" << "x&gt;1";
    QTest::newRow("quotes") << "\"q\" 'r'" << "&quot;q&quot; &#39;r&#39;";
    QTest::newRow("entity text stays text") << "&lt;" << "&amp;lt;";
    QTest::newRow("plain Chinese") << "大同煤" << "大同煤";
}

void HtmlExportTest::escaping()
{
    QFETCH(QString, cell);
    QFETCH(QString, html);
    const QString table = BuildHtmlTable(OneCoal(cell));
    QVERIFY2(table.contains(QStringLiteral("<td>") + html + QStringLiteral("</td>")), qPrintable(table));
}

// Header row and one line per row, each ending in CR LF; hidden columns too.
void HtmlExportTest::tableLayout()
{
    ListData list = OneCoal(QStringLiteral("甲"));
    list.rows.append(ListRow{QStringLiteral("4"), {}, false});
    QCOMPARE(BuildHtmlTable(list),
             QStringLiteral("<table width='100%'border=1 cellpadding=2><tr><td>编号</td><td>名称</td></tr>\r\n"
                            "<tr><td>3</td><td>甲</td></tr>\r\n"
                            "<tr><td>4</td><td></td></tr>\r\n</table>"));
}

void HtmlExportTest::listPage_data()
{
    QTest::addColumn<QByteArray>("templateText");
    QTest::addColumn<QString>("pagePrefix");
    QTest::newRow("CR LF joined") << QByteArray("<html>\r\n<body>\r\n{$list1}\r\n</body>\r\n</html>\r\n")
                                  << "<html><body><table";
    QTest::newRow("LF kept") << QByteArray("<html>\n<body>\n{$list1}\n</body>\n</html>\n")
                             << "<html>\n<body>\n<table";
}

void HtmlExportTest::listPage()
{
    QFETCH(QByteArray, templateText);
    QFETCH(QString, pagePrefix);
    TestFolder tf;
    QVERIFY(WriteBytes(tf.path(QStringLiteral("template/list1.html")), templateText));
    const QString path = tf.path(QStringLiteral("out.html"));
    QVERIFY(WriteBytes(path, QByteArray(5000, 'o')));  // an existing file is overwritten
    Expect(ExportListToHtml(tf.folder(), OneCoal(QStringLiteral("A<B&C")), path));
    const QString page = QString::fromUtf8(ReadBytes(path));
    QVERIFY2(page.startsWith(pagePrefix), qPrintable(page));
    QVERIFY(page.contains(QStringLiteral("A&lt;B&amp;C")));
    QVERIFY(!page.contains(QStringLiteral("{$list1}")));
    QVERIFY(!page.contains(QLatin1Char('o') + QStringLiteral("ooo")));
    QVERIFY(page.endsWith(QStringLiteral("</html>\r\n")) || page.endsWith(QStringLiteral("</html>\n\r\n")));
}

void HtmlExportTest::planPage()
{
    TestFolder tf;
    ShownPlan plan;
    plan.information = QStringLiteral("硫分<1 {$list2}");
    plan.coals = OneCoal(QStringLiteral("甲煤"));
    plan.blends = OneCoal(QStringLiteral("300.00"));
    const QString path = tf.path(QStringLiteral("plan.html"));
    Expect(ExportPlanToHtml(tf.folder(), plan, path));
    const QString page = QString::fromUtf8(ReadBytes(path));
    QVERIFY(page.contains(QStringLiteral("charset=\"utf-8\"")) || page.contains(QStringLiteral("charset=utf-8")));
    QVERIFY(page.contains(QStringLiteral("Velmora配煤软件")));
    // The information text is put in as text: its own braces are not a placeholder.
    QVERIFY(page.contains(QStringLiteral("硫分&lt;1 {$list2}")));
    QCOMPARE(page.count(QStringLiteral("<table")), 2);
    QVERIFY(page.indexOf(QStringLiteral("甲煤")) < page.indexOf(QStringLiteral("300.00")));
    QVERIFY(!page.contains(QStringLiteral("{$list1}")) && !page.contains(QStringLiteral("{$destination}")));
}

// Every way a page cannot be made says what failed and why, and leaves no file.
void HtmlExportTest::pageFailuresSayWhyAndLeaveNoFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("target");  // relative to the folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("template missing") << "missing" << "out.html" << "找不到文件";
    QTest::newRow("template is a folder") << "folder" << "out.html" << "不是文件";
    QTest::newRow("template without its placeholder") << "no placeholder" << "out.html" << "中没有";
    QTest::newRow("no such folder") << "" << "no/such/dir/out.html" << "不存在";
    QTest::newRow("name too long") << "" << QString(300, QLatin1Char('n')) + ".html" << "文件名太长";
    QTest::newRow("full disk") << "full" << "out.html" << "磁盘空间不足";
}

void HtmlExportTest::pageFailuresSayWhyAndLeaveNoFile()
{
    QFETCH(QString, setup);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    TestFolder tf;
    for (const char* name : {"list1.html", "list2.html"}) {
        const QString templatePath = tf.path(QStringLiteral("template/") + QLatin1String(name));
        if (setup == "missing" || setup == "folder")
            QVERIFY(QFile::remove(templatePath));
        if (setup == "folder")
            QVERIFY(QDir().mkdir(templatePath));
        if (setup == "no placeholder")
            QVERIFY(WriteBytes(templatePath, "<html><body>{$list9}</body></html>"));
    }
    const QString path = tf.path(target);
    ShownPlan plan;
    plan.coals = OneCoal(QStringLiteral("x"));
    plan.blends = OneCoal(QStringLiteral("y"));
    for (int kind = 0; kind < 2; ++kind) {
        if (setup == "full")
            SimulateFullDiskForWrites(1);
        const Status exported = kind == 0 ? ExportListToHtml(tf.folder(), OneCoal(QStringLiteral("x")), path)
                                          : ExportPlanToHtml(tf.folder(), plan, path);
        SimulateFullDiskForWrites(0);
        QVERIFY(!exported.ok());
        QVERIFY2(exported.message().contains(reason), qPrintable(exported.message()));
        QVERIFY(!QFileInfo::exists(path));
    }
}

void HtmlExportTest::proposedName()
{
    const QDateTime at(QDate(2026, 3, 4), QTime(17, 5, 9));
    QCOMPARE(ProposedExportName(at), QStringLiteral("Velmora配煤软件_26-03-04-17-05-09"));
    QCOMPARE(WithExportExtension(QStringLiteral("/a/b"), QStringLiteral("xls")), QStringLiteral("/a/b.xls"));
    QCOMPARE(WithExportExtension(QStringLiteral("/a/b.htm"), QStringLiteral("html")), QStringLiteral("/a/b.htm"));
}

QTEST_GUILESS_MAIN(HtmlExportTest)
#include "tst_html_export.moc"
