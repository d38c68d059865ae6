// Several planners on one yard's data: the coal editor refusing to save over
// another's save (and what each button of its question does), its change
// record, deleting a coal someone deleted first, the connection window, and
// on a server the lists following another program's committed change.
#include "data/CoalTable.h"
#include "data/DbSettings.h"
#include "data/Dbconnection.h"
#include "data/Server.h"
#include "history/PlanHistory.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "support/TestServer.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/CoalEditor.h"
#include "ui/windows/DatabaseWindow.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/InventoryWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

// Work of another copy of the program: on a thread with its own connection.
void AsAnotherCopy(const std::function<void()>& work)
{
    std::unique_ptr<QThread> thread(QThread::create([&] {
        work();
        CloseConnection();
    }));
    thread->start();
    thread->wait();
}

void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const QDateTime kTheirTime(QDate(2026, 12, 8), QTime(9, 30, 5));

// A user of the test server that must give a password (every other user of
// it is trusted): a line for it goes first in the server's pg_hba.conf.
const QString kPasswordUser = QStringLiteral("velmora_pw");
const QString kPassword = QStringLiteral("right-1");

void RequirePasswordOf(const QString& dbname)
{
    RunOnTestServer(dbname, QStringLiteral("DO $$ BEGIN IF NOT EXISTS (select 1 from pg_roles where rolname = '%1') THEN "
                                           "CREATE ROLE %1 LOGIN PASSWORD '%2'; END IF; END $$")
                                .arg(kPasswordUser, kPassword));
    RunOnTestServer(dbname, QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(kPasswordUser));
    ServerConnection admin = Expect(ServerConnection::Open(TestServerSettings(dbname)));
    const QString file = Expect(admin.value(QStringLiteral("select current_setting('hba_file')"))).toString();
    const QString rules = Expect(admin.value(QStringLiteral("select pg_read_file(current_setting('hba_file'))"))).toString();
    if (rules.contains(kPasswordUser))
        return;
    // Read whole before the file is written again.
    Expect(admin.exec(QStringLiteral("create temp table hba as select ord, line from unnest(string_to_array("
                                     "'local all %1 scram-sha-256' || E'\\n' || pg_read_file(current_setting('hba_file')), "
                                     "E'\\n')) with ordinality as t(line, ord)")
                          .arg(kPasswordUser)));
    Expect(admin.exec(QStringLiteral("copy (select line from hba where line <> '' order by ord) to '%1' "
                                     "with (format csv, delimiter E'\\x01', quote E'\\x02')")
                          .arg(file)));
    Expect(admin.exec(QStringLiteral("select pg_reload_conf()")));
}


}  // namespace

class SharedEditingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void editorSavedMeanwhile_data();
    void editorSavedMeanwhile();
    void deleteOfCoalDeletedMeanwhile();
    void connectionWindowKeepsNoPassword();
    void connectionWindowTestsTheServer_data();
    void connectionWindowTestsTheServer();
    void listsFollowAnotherCopy();
    void passwordIsAskedWhenTheServerWantsOne_data();
    void passwordIsAskedWhenTheServerWantsOne();

private:
    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Windows> windows_;
};

void SharedEditingTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{folder_->folder()});
    Prompt::setTestMode(true);
    Prompt::clear();
}

void SharedEditingTest::cleanup()
{
    windows_.reset();
    Settle();
    CloseConnection();
    folder_.reset();
}

// The editor read the coal; another copy saved it since. Confirming asks; "重新读取"
// shows the other's values (and the record of their change) and saves nothing,
// "覆盖" saves what was typed here.
void SharedEditingTest::editorSavedMeanwhile_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("stored");   // sulphur in the table afterwards
    QTest::addColumn<QString>("shown");    // in txtLiu afterwards ("" = editor closed)
    QTest::newRow("重新读取") << int(CoalEditor::Reload) << "0.80" << "0.80";
    QTest::newRow("覆盖") << int(CoalEditor::Overwrite) << "0.60" << "";
}

void SharedEditingTest::editorSavedMeanwhile()
{
    QFETCH(int, choice);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    const AppFolder folder = folder_->folder();
    Mei coal = MakeCoal(QStringLiteral("大同"), 300);
    coal.Liu = QStringLiteral("0.50");
    coal.id = Expect(SaveCoal(folder, coal));
    windows_->editCoal(coal.id);
    CoalEditor* editor = windows_->existingEditor();

    AsAnotherCopy([&] {
        Mei theirs = coal;
        theirs.Liu = QStringLiteral("0.80");
        theirs.Riqi = kTheirTime;
        Expect(StoreCoal(folder, theirs, CoalSaveOptions{std::nullopt, QStringLiteral("li@PC-1")}));
    });

    Child<QLineEdit>(editor, "txtLiu")->setText(QStringLiteral("0.60"));
    Prompt::queueChoice(choice);
    QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
    const Prompt::Shown& asked = Prompt::shown().constFirst();
    QCOMPARE(asked.text, QStringLiteral("这个煤种已被 li@PC-1 于 2026-12-08 09:30:05 修改。"));
    QCOMPARE(asked.choices, (QStringList{"重新读取", "覆盖"}));
    QCOMPARE(Expect(LoadCoal(folder, coal.id))->Liu, stored);
    if (shown.isEmpty()) {
        QCOMPARE(Prompt::lastText(), QStringLiteral("修改成功！"));
        QVERIFY(!editor->isVisible());
        return;
    }
    QVERIFY(editor->isVisible());
    QCOMPARE(Child<QLineEdit>(editor, "txtLiu")->text(), shown);
    // Newest first: their change of the sulphur above the adding of the coal.
    ReportList* changes = Child<ReportList>(editor, "lsvXiugai");
    QCOMPARE(changes->cellText(0, 0), QStringLiteral("2026-12-08 09:30:05"));
    QCOMPARE(changes->cellText(0, 1), QStringLiteral("li@PC-1"));
    QCOMPARE(changes->cellText(0, 3), QStringLiteral("0.50"));
    QCOMPARE(changes->cellText(0, 4), QStringLiteral("0.80"));
    QVERIFY(changes->rowCount() > 1);
    // Confirming again now saves over their version.
    Child<QLineEdit>(editor, "txtLiu")->setText(QStringLiteral("0.70"));
    QTest::mouseClick(Child<QPushButton>(editor, "btnSubmit"), Qt::LeftButton);
    QCOMPARE(Prompt::lastText(), QStringLiteral("修改成功！"));
    QCOMPARE(Expect(LoadCoal(folder, coal.id))->Liu, QStringLiteral("0.70"));
}

void SharedEditingTest::deleteOfCoalDeletedMeanwhile()
{
    const AppFolder folder = folder_->folder();
    const int gone = Expect(SaveCoal(folder, MakeCoal(QStringLiteral("A"), 1)));
    Expect(SaveCoal(folder, MakeCoal(QStringLiteral("B"), 2)));
    InventoryWindow* window = windows_->inventory();
    window->show();
    ReportList* list = Child<ReportList>(window, "ListView1");
    list->model()->setData(list->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    AsAnotherCopy([&] { Expect(DeleteCoal(folder, gone)); });
    Prompt::queueAnswer(QMessageBox::Ok);
    Child<QAction>(window, "Toolbar1_4")->trigger();
    QCOMPARE(Prompt::lastText(), QStringLiteral("所选的煤种已被别人删除，不在库存中了。"));
    QCOMPARE(list->columnCells(1), QStringList{"B"});
}

// What OK keeps in config.ini comes back in the fields; the password only in
// the password file, when asked to remember it.
void SharedEditingTest::connectionWindowKeepsNoPassword()
{
    if (!TestOnServer())
        QSKIP("needs the test server (the _pg run)");
    const QString passfile = folder_->path(QStringLiteral("pgpass"));
    qputenv("PGPASSFILE", QFile::encodeName(passfile));
    const DbSettings server = DatabaseOf(folder_->folder());
    windows_->openDatabase();
    DatabaseWindow* window = windows_->existingDatabase();
    QVERIFY(Child<QRadioButton>(window, "optDriver_1")->isChecked());
    Child<QLineEdit>(window, "txtPassword")->setText(QStringLiteral("secret-1"));
    Child<QCheckBox>(window, "chkRemember")->setChecked(true);
    QTest::mouseClick(Child<QPushButton>(window, "btnOk"), Qt::LeftButton);
    Settle();
    QVERIFY2(!windows_->existingDatabase(), qPrintable(Prompt::lastText()));

    QFile config(folder_->path(QStringLiteral("config.ini")));
    QVERIFY(config.open(QIODevice::ReadOnly));
    const QByteArray ini = config.readAll();
    QVERIFY(!ini.contains("secret-1"));
    QFile pass(passfile);
    QVERIFY(pass.open(QIODevice::ReadOnly));
    QVERIFY(pass.readAll().contains("secret-1"));
    qunsetenv("PGPASSFILE");
    QCOMPARE(ReadDbSettings(folder_->folder()).dbname, server.dbname);

    // Reopened, the window shows what config.ini holds.
    CloseConnection();
    UseDatabase(folder_->folder(), ReadDbSettings(folder_->folder()));
    windows_->openDatabase();
    window = windows_->existingDatabase();
    QCOMPARE(Child<QLineEdit>(window, "txtHost")->text(), server.host);
    QCOMPARE(Child<QLineEdit>(window, "txtPort")->text(), QString::number(server.port));
    QCOMPARE(Child<QLineEdit>(window, "txtDbname")->text(), server.dbname);
    QCOMPARE(Child<QLineEdit>(window, "txtUser")->text(), server.user);
    QCOMPARE(Child<QLineEdit>(window, "txtPassword")->text(), QString());
}

void SharedEditingTest::connectionWindowTestsTheServer_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::newRow("the test server") << true;
    QTest::newRow("no server there") << false;
}

void SharedEditingTest::connectionWindowTestsTheServer()
{
    if (!TestOnServer())
        QSKIP("needs the test server (the _pg run)");
    QFETCH(bool, reachable);
    windows_->openDatabase();
    DatabaseWindow* window = windows_->existingDatabase();
    const QString host = reachable ? DatabaseOf(folder_->folder()).host : folder_->path(QStringLiteral("nowhere"));
    Child<QLineEdit>(window, "txtHost")->setText(host);
    Child<QPushButton>(window, "btnTest")->click();
    const QString said = Child<QLabel>(window, "lblJieguo")->text();
    if (reachable) {
        QVERIFY2(said.startsWith(QStringLiteral("连接成功")), qPrintable(said));
        return;
    }
    QVERIFY2(said.startsWith(QStringLiteral("无法连接数据库服务器：")), qPrintable(said));
    // OK with a server that stays away changes nothing and keeps what was typed.
    Child<QPushButton>(window, "btnOk")->click();
    QVERIFY(window->isVisible());
    QCOMPARE(Child<QLineEdit>(window, "txtHost")->text(), host);
    QVERIFY(DatabaseOf(folder_->folder()).host != host);
}

// Another copy's committed change shows in this copy's open inventory and
// history windows without anyone pressing anything.
void SharedEditingTest::listsFollowAnotherCopy()
{
    if (!TestOnServer())
        QSKIP("needs the test server (the _pg run)");
    const AppFolder folder = folder_->folder();
    InventoryWindow* inventory = windows_->inventory();
    inventory->show();
    HistoryWindow* history = windows_->history();
    history->show();
    QLabel* count = Child<QLabel>(inventory, "labCONUT");
    QCOMPARE(count->text(), QStringLiteral("0 种"));
    AsAnotherCopy([&] { Expect(SaveCoal(folder, MakeCoal(QStringLiteral("别处来的煤"), 5))); });
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("1 种"), 5000);
    QCOMPARE(Child<ReportList>(inventory, "ListView1")->columnCells(1), QStringList{"别处来的煤"});
    int plan = 0;
    AsAnotherCopy([&] {
        NewPlan made;
        made.xinxi = QStringLiteral("别处的方案");
        plan = Expect(StorePlan(folder, made));
    });
    QTRY_COMPARE_WITH_TIMEOUT(history->currentPlanId(), plan, 5000);
}

// A server that wants a password the password file does not hold: the
// window asks for it (again when it was wrong) and goes on with what was typed;
// a cancelled question leaves the cause said and the fields as they were.
void SharedEditingTest::passwordIsAskedWhenTheServerWantsOne_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("said");
    QTest::newRow("right at once") << QStringList{kPassword} << 1 << "连接成功";
    QTest::newRow("wrong, then right") << QStringList{"wrong", kPassword} << 2 << "连接成功";
    QTest::newRow("cancelled") << QStringList{} << 1 << "无法连接数据库服务器：";
}

void SharedEditingTest::passwordIsAskedWhenTheServerWantsOne()
{
    if (!TestOnServer())
        QSKIP("needs the test server (the _pg run)");
    QFETCH(QStringList, typed);
    QFETCH(int, asked);
    QFETCH(QString, said);
    RequirePasswordOf(folder_->serverDatabase());
    qputenv("PGPASSFILE", QFile::encodeName(folder_->path(QStringLiteral("no-pgpass"))));
    windows_->openDatabase();
    DatabaseWindow* window = windows_->existingDatabase();
    Child<QLineEdit>(window, "txtUser")->setText(kPasswordUser);
    Child<QLineEdit>(window, "txtPassword")->clear();
    for (const QString& text : typed)
        Prompt::queueText(text);
    Child<QPushButton>(window, "btnTest")->click();
    qunsetenv("PGPASSFILE");
    QStringList questions;
    for (const Prompt::Shown& shown : Prompt::shown())
        if (shown.text.contains(kPasswordUser))
            questions << shown.text;
    QCOMPARE(questions.size(), asked);
    QVERIFY2(questions[0].contains(QStringLiteral("需要用户 velmora_pw 的密码")), qPrintable(questions[0]));
    if (asked > 1)
        QVERIFY2(questions[1].startsWith(QStringLiteral("密码不对")), qPrintable(questions[1]));
    const QString result = Child<QLabel>(window, "lblJieguo")->text();
    QVERIFY2(result.startsWith(said), qPrintable(result));
    QCOMPARE(Child<QLineEdit>(window, "txtUser")->text(), kPasswordUser);
    QCOMPARE(Child<QLineEdit>(window, "txtPassword")->text(), typed.isEmpty() ? QString() : kPassword);
}

QTEST_MAIN(SharedEditingTest)
#include "tst_shared_editing.moc"
