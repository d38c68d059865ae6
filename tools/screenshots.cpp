// Walks the program's main road in a temporary application folder and saves a
// picture of every window on the way, for looking at the layout and for the
// README. Usage: velmora-screenshots OUTPUT_FOLDER [LARGE_COAL_DAT] (run under
// a display, e.g. xvfb-run, or with QT_QPA_PLATFORM=offscreen). With a large
// coal.dat (bench/make_history writes one), its restore is pictured with its
// progress dialog.

#include "support/TestFolder.h"
#include "ui/app/Startup.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/CalculatorWindow.h"
#include "ui/windows/DiagnoseDialog.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/ImportDialog.h"
#include "ui/windows/ScheduleWindow.h"
#include "ui/windows/SelectDialog.h"
#include "ui/windows/SplashWindow.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QProgressDialog>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

namespace {

QString g_output;

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

QWidget* TopLevel(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

// Pictures a window by its object name once pending events (and deferred
// deletes of closed windows) have run.
void Save(const QString& objectName, const QString& name)
{
    Settle();
    QWidget* window = TopLevel(objectName);
    if (!window) {
        std::fprintf(stderr, "no window %s for %s\n", qPrintable(objectName), qPrintable(name));
        return;
    }
    const QString path = QDir(g_output).filePath(name + QStringLiteral(".png"));
    window->grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

void Set(QWidget* window, const QString& name, const QString& text)
{
    if (auto* edit = window->findChild<QLineEdit*>(name))
        edit->setText(text);
    else
        std::fprintf(stderr, "%s has no %s\n", qPrintable(window->objectName()), qPrintable(name));
}

void Trigger(QWidget* window, const QString& name)
{
    if (auto* action = window->findChild<QAction*>(name))
        action->trigger();
}

struct Coal {
    const char* name;
    const char* values[6];  // ash, sulphur, net heat, volatile, stock, price
};

const Coal kCoals[] = {
    {"大同精煤", {"8.5", "0.52", "6020", "28.4", "500", "820"}},
    {"神木原煤", {"13.8", "0.86", "5210", "33.1", "800", "510"}},
    {"晋城块煤", {"10.9", "0.61", "5630", "9.2", "600", "640"}},
    {"准格尔褐煤", {"19.6", "1.42", "3870", "41.0", "900", "300"}},
};
const char* kFields[] = {"txtHuifen", "txtLiu", "txtReliang", "txtHuifafen", "txtKuCun", "txtJiage"};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: [VELMORA_LANGUAGE=en] velmora-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    g_output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_output);
    // The walk in the interface language asked for: Chinese unless "en".
    InstallLanguage(qEnvironmentVariable("VELMORA_LANGUAGE", QStringLiteral("zh")));
    Prompt::setTestMode(true);

    TestFolder folder(false);
    const std::unique_ptr<Windows> windows = Main(folder.folder());
    if (!windows)
        return 1;
    auto* splash = qobject_cast<SplashWindow*>(TopLevel(QStringLiteral("frmConnect")));
    Save(QStringLiteral("frmConnect"), QStringLiteral("01-splash"));
    for (int tick = 0; tick < 8; ++tick)
        splash->Timer1_Timer();
    WorkspaceWindow* main = windows->existingWorkspace();
    main->resize(main->size());
    Save(QStringLiteral("frmMain"), QStringLiteral("02-workspace-empty"));

    for (const Coal& coal : kCoals) {
        Trigger(main, QStringLiteral("munADD"));
        QWidget* editor = TopLevel(QStringLiteral("frmUpdate"));
        Set(editor, QStringLiteral("txtName"), QString::fromUtf8(coal.name));
        for (int i = 0; i < 6; ++i)
            Set(editor, QString::fromLatin1(kFields[i]), QString::fromLatin1(coal.values[i]));
        Set(editor, QStringLiteral("txtMeiChan"), QStringLiteral("2.5"));
        if (&coal == &kCoals[3])
            Save(QStringLiteral("frmUpdate"), QStringLiteral("03-editor"));
        editor->findChild<QPushButton*>(QStringLiteral("btnSubmit"))->click();
        Settle();
    }
    Save(QStringLiteral("frmKucun"), QStringLiteral("04-inventory"));

    Trigger(main, QStringLiteral("tbrMenu_2"));
    auto* select = qobject_cast<SelectDialog*>(TopLevel(QStringLiteral("frmSelect")));
    auto* list = select->findChild<ReportList*>(QStringLiteral("lsvTop"));
    for (int row = 0; row < 3; ++row)
        list->model()->setData(list->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
    Save(QStringLiteral("frmSelect"), QStringLiteral("05-select"));
    select->Command1_Click();

    Set(main, QStringLiteral("txtHuifenMax"), QStringLiteral("12"));
    Set(main, QStringLiteral("txtLiuMax"), QStringLiteral("0.8"));
    Set(main, QStringLiteral("txtReliangMin"), QStringLiteral("5500"));
    Set(main, QStringLiteral("txtZhongliang"), QStringLiteral("1000"));
    Set(main, QStringLiteral("txtChanshu"), QStringLiteral("50"));
    Save(QStringLiteral("frmMain"), QStringLiteral("06-workspace"));
    // The targets kept as a set under a name.
    if (auto* sets = main->findChild<QComboBox*>(QStringLiteral("cboMuban"))) {
        sets->setEditText(QStringLiteral("电厂5500"));
        main->findChild<QPushButton*>(QStringLiteral("btnSaveMuban"))->click();
        Save(QStringLiteral("frmMain"), QStringLiteral("06a-workspace-target-set"));
    }
    {
        QEventLoop wait;
        QObject::connect(main, &WorkspaceWindow::runFinished, &wait, &QEventLoop::quit);
        main->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        wait.exec();
    }

    HistoryWindow* history = windows->existingHistory();
    Save(QStringLiteral("frmLishi"), QStringLiteral("07-history"));

    // A week planned from the same workspace, with a delivery on day 4.
    {
        Trigger(main, QStringLiteral("munJihua"));
        ScheduleWindow* plan = windows->existingSchedule();
        plan->resize(1500, 900);
        Set(plan, QStringLiteral("txtTianshu"), QStringLiteral("7"));
        Set(plan, QStringLiteral("txtMeitian"), QStringLiteral("300"));
        plan->findChild<QComboBox*>(QStringLiteral("cboDaohuoMei"))->setCurrentIndex(1);
        Set(plan, QStringLiteral("txtDaohuoTian"), QStringLiteral("4"));
        Set(plan, QStringLiteral("txtDaohuoDun"), QStringLiteral("600"));
        plan->findChild<QPushButton*>(QStringLiteral("btnAddDaohuo"))->click();
        QEventLoop wait;
        QObject::connect(plan, &ScheduleWindow::computeFinished, &wait, &QEventLoop::quit);
        plan->findChild<QPushButton*>(QStringLiteral("btnJisuan"))->click();
        wait.exec();
        plan->findChild<QPushButton*>(QStringLiteral("btnSaveJihua"))->click();
        Save(QStringLiteral("frmJihua"), QStringLiteral("21-schedule"));
        if (QWidget* chart = plan->findChild<QWidget*>(QStringLiteral("chartKucun"))) {
            const QString path = QDir(g_output).filePath(QStringLiteral("21a-schedule-chart.png"));
            chart->grab().save(path);
            std::printf("%s\n", qPrintable(path));
        }
        // A month with a delivery a week, pictured while it is computed.
        Set(plan, QStringLiteral("txtTianshu"), QStringLiteral("31"));
        Set(plan, QStringLiteral("txtMeitian"), QStringLiteral("90"));
        for (const int day : {8, 15, 22}) {
            plan->findChild<QComboBox*>(QStringLiteral("cboDaohuoMei"))->setCurrentIndex(day % 3);
            Set(plan, QStringLiteral("txtDaohuoTian"), QString::number(day));
            Set(plan, QStringLiteral("txtDaohuoDun"), QStringLiteral("300"));
            plan->findChild<QPushButton*>(QStringLiteral("btnAddDaohuo"))->click();
        }
        QTimer poll;
        bool pictured = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QProgressDialog*>(TopLevel(QStringLiteral("dlgJisuan")));
            if (!dialog || pictured || dialog->value() < 3)
                return;
            pictured = true;
            const QString path = QDir(g_output).filePath(QStringLiteral("21b-schedule-progress.png"));
            dialog->grab().save(path);
            std::printf("%s\n", qPrintable(path));
        });
        poll.start(100);
        plan->findChild<QPushButton*>(QStringLiteral("btnJisuan"))->click();
        wait.exec();
        poll.stop();
        Save(QStringLiteral("frmJihua"), QStringLiteral("21c-schedule-month"));
        plan->close();
        Settle();
    }

    // The insight of one proportion row, at the window's design size (as far
    // as the window lets itself be made that small) and at one and a half
    // times it; and the panel alone.
    const QSize opened = history->size();
    auto* blends = history->findChild<ReportList*>(QStringLiteral("lsvBottom"));
    // A row where a target holds the price up shows every column of the list.
    auto* limits = history->findChild<ReportList*>(QStringLiteral("lsvLimits"));
    int shown = std::min(blends->rowCount() - 1, 2);
    for (int row = 0; row < blends->rowCount(); ++row) {
        blends->selectRow(row);
        if (limits->listData().rowCount() > 0
            && limits->listData().columnCells(4).join(QString()).contains(QStringLiteral("已达"))) {
            shown = row;
            break;
        }
    }
    blends->selectRow(shown);
    const QSize design(history->logicalDpiX() * 11280 / 1440, history->logicalDpiY() * 8295 / 1440);
    history->resize(design);
    Save(QStringLiteral("frmLishi"), QStringLiteral("07a-history-insight"));
    history->resize(design * 3 / 2);
    Save(QStringLiteral("frmLishi"), QStringLiteral("07b-history-insight-1.5x"));
    if (QWidget* panel = history->findChild<QWidget*>(QStringLiteral("fraInsight"))) {
        const QString path = QDir(g_output).filePath(QStringLiteral("07c-insight-panel.png"));
        panel->grab().save(path);
        std::printf("%s\n", qPrintable(path));
    }
    history->resize(opened);

    // The search above the plan list: words and a range of days.
    // Words of the plans' titles, which are in the language of their runs.
    const bool english = qEnvironmentVariable("VELMORA_LANGUAGE") == QLatin1String("en");
    Set(history, QStringLiteral("txtSousuo"), english ? QStringLiteral("1000") : QStringLiteral("配1000吨"));
    history->findChild<QCheckBox*>(QStringLiteral("chkRiqi"))->setChecked(true);
    history->findChild<QPushButton*>(QStringLiteral("cmdSousuo"))->click();
    Save(QStringLiteral("frmLishi"), QStringLiteral("07d-history-search"));
    history->resize(design);
    Save(QStringLiteral("frmLishi"), QStringLiteral("07e-history-search-design-size"));
    history->resize(opened);

    Set(history, QStringLiteral("txtZhongliang"), QStringLiteral("1000"));
    history->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    Save(QStringLiteral("frmLishi"), QStringLiteral("08-history-tons"));
    // The loader sheet of the cheapest row, as a PDF beside the pictures.
    blends->selectRow(0);
    Prompt::queueFileName(QDir(g_output).filePath(QStringLiteral("08a-loader-sheet.pdf")));
    Trigger(history, QStringLiteral("btnZhuangche"));

    Trigger(main, QStringLiteral("Toolbar1_3"));
    CalculatorWindow* calculator = windows->existingCalculator();
    Trigger(calculator, QStringLiteral("tbrMenu_2"));
    if (auto* pick = qobject_cast<SelectDialog*>(TopLevel(QStringLiteral("frmSelect")))) {
        auto* coals = pick->findChild<ReportList*>(QStringLiteral("lsvTop"));
        for (int row = 0; row < 2; ++row)
            coals->model()->setData(coals->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
        pick->Command1_Click();
    }
    if (auto* compute = calculator->findChild<QPushButton*>(QStringLiteral("Command1")))
        compute->click();
    Save(QStringLiteral("frmTest"), QStringLiteral("09-calculator"));

    Trigger(main, QStringLiteral("munConfig"));
    Save(QStringLiteral("frmConfig"), QStringLiteral("10-settings"));
    // The workspace with each index averaged on its own basis.
    if (auto* basis = main->findChild<QCheckBox*>(QStringLiteral("chkJizhun"))) {
        basis->setChecked(true);
        Save(QStringLiteral("frmMain"), QStringLiteral("10a-workspace-basis"));
        basis->setChecked(false);
    }
    Trigger(main, QStringLiteral("munGY"));
    Save(QStringLiteral("frmAbout"), QStringLiteral("11-about"));

    main->resize(main->size() * 3 / 2);
    Save(QStringLiteral("frmMain"), QStringLiteral("12-workspace-1.5x"));

    // Runs the blend; when it finds no plan, waits for the diagnosis and
    // gives its dialog.
    const auto runToDiagnosis = [&]() -> DiagnoseDialog* {
        QEventLoop run;
        QObject::connect(main, &WorkspaceWindow::runFinished, &run, &QEventLoop::quit);
        main->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        run.exec();
        DiagnoseDialog* dialog = windows->existingDiagnose();
        if (dialog && !dialog->isFinished()) {
            QEventLoop wait;
            QObject::connect(dialog, &DiagnoseDialog::diagnosisFinished, &wait, &QEventLoop::quit);
            wait.exec();
        }
        return dialog;
    };

    // A run without a plan: ash below every coal's, and heat and sulphur that
    // pull toward different coals.
    Set(main, QStringLiteral("txtHuifenMax"), QStringLiteral("8.0"));
    Set(main, QStringLiteral("txtReliangMin"), QStringLiteral("5900"));
    Set(main, QStringLiteral("txtLiuMax"), QStringLiteral("0.55"));
    if (DiagnoseDialog* dialog = runToDiagnosis()) {
        Save(QStringLiteral("frmDiagnose"), QStringLiteral("13-no-plan"));
        dialog->resize(dialog->size() * 3 / 2);
        Save(QStringLiteral("frmDiagnose"), QStringLiteral("14-no-plan-1.5x"));
        dialog->btnApply_Click();
        Save(QStringLiteral("frmMain"), QStringLiteral("15-workspace-suggested"));
    }

    // Low ash from 1500 t when only 500 t of the low-ash coal are in stock:
    // a smaller tonnage alone would give a plan.
    Set(main, QStringLiteral("txtHuifenMax"), QStringLiteral("9.5"));
    Set(main, QStringLiteral("txtLiuMax"), QStringLiteral("0.8"));
    Set(main, QStringLiteral("txtReliangMin"), QStringLiteral("5500"));
    Set(main, QStringLiteral("txtZhongliang"), QStringLiteral("1500"));
    if (DiagnoseDialog* dialog = runToDiagnosis()) {
        Save(QStringLiteral("frmDiagnose"), QStringLiteral("15b-no-plan-stock"));
        dialog->close();
        Settle();
    }

    // A laboratory sheet: a name the inventory has, a price that is no
    // number, a percentage, a column the program does not know.
    const QString sheet = folder.path(QStringLiteral("化验单.csv"));
    WriteBytes(sheet, QStringLiteral("名称,灰分Ad(%),硫分St，d,Vdaf,\"Qnet,ar\",单价(元/吨),库存吨,备注\r\n"
                                     "大同精煤,8.2,0.50,27.9,6050,835,450,复检\r\n"
                                     "平朔动力煤,14.6%,0.92,32.5,5300,560,1200,\r\n"
                                     "兖州气煤,9.7,0.48,38.2,5900,待定,300,价格未定\r\n"
                                     "淮北肥煤,11.3,0.35,30.1,5750,720,,\r\n"
                                     ",12.0,0.70,,,600,,缺名称\r\n")
                            .toUtf8());
    Prompt::queueFileName(sheet);
    {
        QEventLoop wait;
        Trigger(main, QStringLiteral("munDaoru"));
        if (ImportDialog* dialog = windows->existingImportDialog()) {
            QObject::connect(dialog, &ImportDialog::fileRead, &wait, &QEventLoop::quit);
            wait.exec();
        }
    }
    if (ImportDialog* dialog = windows->existingImportDialog()) {
        Save(QStringLiteral("frmImport"), QStringLiteral("16-import"));
        dialog->findChild<QRadioButton*>(QStringLiteral("optExisting_0"))->click();
        dialog->resize(dialog->size() * 3 / 2);
        Save(QStringLiteral("frmImport"), QStringLiteral("17-import-1.5x"));
        dialog->resize(dialog->minimumSize());
        Save(QStringLiteral("frmImport"), QStringLiteral("18-import-smallest"));
        dialog->findChild<QPushButton*>(QStringLiteral("btnImport"))->click();
        Save(QStringLiteral("frmKucun"), QStringLiteral("19-inventory-imported"));
    }
    // The restore of a large file, pictured while its progress dialog shows.
    if (argc > 2) {
        Prompt::queueFileName(QString::fromLocal8Bit(argv[2]));
        Prompt::queueAnswer(QMessageBox::Yes);
        QTimer poll;
        QStringList pictured;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QProgressDialog*>(TopLevel(QStringLiteral("dlgDataProgress")));
            if (!dialog)
                return;
            const QString step = dialog->labelText();
            if (pictured.contains(step) || (dialog->maximum() > 0 && dialog->value() < 20))
                return;
            pictured << step;
            const QString path = QDir(g_output).filePath(QStringLiteral("20-progress-%1.png").arg(pictured.size()));
            dialog->grab().save(path);
            std::printf("%s\n", qPrintable(path));
        });
        poll.start(50);
        Trigger(main, QStringLiteral("munSJHY"));
        poll.stop();
    }
    main->showNormal();
    return 0;
}
