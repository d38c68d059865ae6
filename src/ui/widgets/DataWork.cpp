#include "ui/widgets/DataWork.h"

#include "ui/widgets/Say.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

namespace {

// A progress dialog shows only for work that takes longer than this.
constexpr int kShowProgressAfterMs = 300;

// A step under way, as the progress dialog says it.
QString Going(const QString& step)
{
    return QCoreApplication::translate("DataWork", "%1……").arg(step);
}

}  // namespace

Status RunDataWork(QWidget* parent, const QString& title, DataJob::Work work)
{
    DataJob job(std::move(work));
    QProgressDialog progress(parent);
    progress.setObjectName(QStringLiteral("dlgDataProgress"));
    progress.setWindowTitle(title);
    progress.setLabelText(Going(title));
    progress.setCancelButtonText(QCoreApplication::translate("DataWork", "取消"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setRange(0, 0);
    progress.setMinimumWidth(progress.fontMetrics().horizontalAdvance(QLatin1Char('M')) * 36);
    progress.setMinimumDuration(kShowProgressAfterMs);
    QObject::connect(&job, &DataJob::progressed, &progress, [&progress](const Text& step, int percent) {
        progress.setLabelText(Going(Say(step)));
        if (percent < 0) {
            progress.setRange(0, 0);
        } else {
            progress.setRange(0, 100);
            progress.setValue(percent);
        }
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &job, [&job, &progress] {
        job.cancel();
        progress.setLabelText(QCoreApplication::translate("DataWork", "正在取消……"));
    });
    bool ended = false;
    QTimer::singleShot(kShowProgressAfterMs, &progress, [&progress, &ended] {
        if (!ended)
            progress.show();
    });
    QEventLoop loop;
    QObject::connect(&job, &DataJob::finished, &loop, [&loop, &ended] {
        ended = true;
        loop.quit();
    });
    job.start();
    loop.exec();
    progress.hide();
    return job.status();
}
