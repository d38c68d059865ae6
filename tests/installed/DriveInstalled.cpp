// Drives the installed program from inside. Loaded with LD_PRELOAD into the
// unmodified executable, it waits for the main window, blends three coals
// typed into the workspace grid, finds the plan in the history window, reads
// the data folder off the about box, and ends the program with status 0, or
// with 1 and the reason on standard error. Any message box the program shows
// on the way is a failure, and its text is the reason.
//
// VELMORA_DRIVE_SHOTS=FOLDER saves a picture of each window it passes.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

QWidget* Shown(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

QStringList Column(const QAbstractItemView* view, int column)
{
    QStringList cells;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; model && row < model->rowCount(); ++row)
        cells << model->index(row, column).data().toString();
    return cells;
}

void Later(const std::function<void()>& action)
{
    // Whatever may open a modal loop runs from the event loop, never inside a
    // tick, so the ticks go on while it waits.
    QTimer::singleShot(0, qApp, action);
}

struct Coal {
    const char* name;
    const char* ash;
    const char* sulphur;
    const char* stock;
    const char* price;
};
const Coal kCoals[] = {
    {"大同精煤", "8", "0.5", "500", "800"},
    {"神木原煤", "14", "0.9", "800", "500"},
    {"晋城块煤", "11", "0.6", "600", "600"},
};

class Driver : public QObject {
public:
    Driver()
    {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, &Driver::tick);
        timer_.start(100);
    }

private:
    enum class Step { MainWindow, History, About, Done };

    void fail(const QString& why)
    {
        std::fprintf(stderr, "installed program: %s\n", qPrintable(why));
        finish(1);
    }
    void finish(int status)
    {
        timer_.stop();
        step_ = Step::Done;
        std::fflush(stdout);
        std::fflush(stderr);
        QCoreApplication::exit(status);
    }
    void shoot(QWidget* window, const char* name)
    {
        const QString folder = qEnvironmentVariable("VELMORA_DRIVE_SHOTS");
        if (!folder.isEmpty())
            window->grab().save(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
    }
    QString dataFolder() const { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

    bool set(QWidget* window, const QString& name, const QString& text)
    {
        auto* edit = window->findChild<QLineEdit*>(name);
        if (!edit)
            fail(window->objectName() + QStringLiteral(" has no ") + name);
        else
            edit->setText(text);
        return edit;
    }

    void tick()
    {
        if (step_ == Step::Done)
            return;
        if (clock_.elapsed() > 120000)
            return fail(QStringLiteral("nothing happened for two minutes"));
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            return fail(QStringLiteral("the program said: ") + box->text());
        switch (step_) {
        case Step::MainWindow: return blend();
        case Step::History: return findPlan();
        case Step::About: return readAbout();
        case Step::Done: return;
        }
    }

    void blend()
    {
        QWidget* main = Shown(QStringLiteral("frmMain"));
        if (!main)
            return;
        for (int row = 0; row < 3; ++row) {
            const Coal& coal = kCoals[row];
            const QString suffix = QStringLiteral("_%1").arg(row);
            if (!set(main, QStringLiteral("txtMingcheng") + suffix, QString::fromUtf8(coal.name))
                || !set(main, QStringLiteral("txtHuifen") + suffix, QLatin1String(coal.ash))
                || !set(main, QStringLiteral("txtLiu") + suffix, QLatin1String(coal.sulphur))
                || !set(main, QStringLiteral("txtKuCun") + suffix, QLatin1String(coal.stock))
                || !set(main, QStringLiteral("txtJiage") + suffix, QLatin1String(coal.price)))
                return;
        }
        if (!set(main, QStringLiteral("txtHuifenMax"), QStringLiteral("12"))
            || !set(main, QStringLiteral("txtLiuMax"), QStringLiteral("0.8"))
            || !set(main, QStringLiteral("txtChanshu"), QStringLiteral("10")))
            return;
        auto* run = main->findChild<QAbstractButton*>(QStringLiteral("Command1"));
        if (!run)
            return fail(QStringLiteral("no Command1"));
        shoot(main, "installed-main");
        step_ = Step::History;
        Later([run] { run->click(); });
    }

    void findPlan()
    {
        QWidget* history = Shown(QStringLiteral("frmLishi"));
        if (!history)
            return;
        auto* plans = history->findChild<QAbstractItemView*>(QStringLiteral("lsvLeft"));
        auto* coals = history->findChild<QAbstractItemView*>(QStringLiteral("lsvMid"));
        if (!plans || !coals)
            return fail(QStringLiteral("the history window has no lsvLeft or lsvMid"));
        if (plans->model()->rowCount() != 1)
            return fail(QStringLiteral("the history lists %1 plans, not 1").arg(plans->model()->rowCount()));
        QStringList expected;
        for (const Coal& coal : kCoals)
            expected << QString::fromUtf8(coal.name);
        if (Column(coals, 1) != expected)
            return fail(QStringLiteral("the plan's coals are ") + Column(coals, 1).join(QLatin1Char(',')));
        if (!QFileInfo::exists(dataFolder() + QStringLiteral("/coal.dat")))
            return fail(QStringLiteral("no coal.dat in ") + dataFolder());
        shoot(history, "installed-history");
        QWidget* main = Shown(QStringLiteral("frmMain"));
        auto* about = main ? main->findChild<QAction*>(QStringLiteral("munGY")) : nullptr;
        if (!about)
            return fail(QStringLiteral("no menu command munGY"));
        step_ = Step::About;
        Later([about] { about->trigger(); });
    }

    void readAbout()
    {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box->objectName() != QStringLiteral("frmAbout"))
            return;
        auto* data = box->findChild<QLabel*>(QStringLiteral("lbData"));
        if (!data || !data->text().contains(QDir::toNativeSeparators(dataFolder())))
            return fail(QStringLiteral("the about box does not name ") + dataFolder());
        shoot(box, "installed-about");
        std::printf("installed program: plan stored and found in the history; data kept in %s\n",
                    qPrintable(dataFolder()));
        finish(0);
    }

    QTimer timer_;
    QElapsedTimer clock_;
    Step step_ = Step::MainWindow;
};

void StartDriver()
{
    new Driver;  // lives as long as the program
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartDriver)
