#include "data/ChangeListener.h"

#include "data/Dbconnection.h"
#include "data/Server.h"

#include <QThread>

#include <algorithm>

namespace {

// How often the connection is looked at; a change reaches the windows within
// this time even after a lost connection.
constexpr int kWatchMs = 4000;
// Notices that come close together (an import's, a restore's) refill a window once.
constexpr int kSettleMs = 250;

}  // namespace

ChangeListener::ChangeListener(const AppFolder& folder, QObject* parent) : QObject(parent), folder_(folder)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        const bool coals = std::exchange(coals_, false);
        const bool plans = std::exchange(plans_, false);
        if (coals)
            Q_EMIT coalsChanged();
        if (plans)
            Q_EMIT plansChanged();
    });
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, &ChangeListener::check);
    // Only the main thread's shared connection listens: the hook runs for
    // every connection to a server, on whichever thread opened it.
    QThread* mine = thread();
    hook_ = AddSessionHook([this, mine](QSqlDatabase& db) -> Status {
        if (QThread::currentThread() != mine || !ConnectionPresent()
            || db.connectionName() != DbConn().connectionName())
            return {};
        subscribe(db);
        return {};
    });
}

ChangeListener::~ChangeListener()
{
    RemoveSessionHook(hook_);
}

void ChangeListener::subscribe(QSqlDatabase& db)
{
    QSqlDriver* driver = db.driver();
    connect(driver, &QSqlDriver::notification, this, &ChangeListener::noticed, Qt::UniqueConnection);
    for (const QString& channel : {kCoalsChannel, kPlansChannel})
        if (!driver->subscribedToNotifications().contains(channel))
            driver->subscribeToNotification(channel);
}

void ChangeListener::listen()
{
    if (!DatabaseOf(folder_).onServer()) {
        watch_.stop();
        return;
    }
    watch_.start();
    check();
}

void ChangeListener::setPaused(bool paused)
{
    paused_ = paused;
}

bool ChangeListener::listening() const
{
    if (!ConnectionPresent() || !OnServer())
        return false;
    const QSqlDatabase db = DbConn();
    return db.isOpen() && db.driver()->subscribedToNotifications().contains(kCoalsChannel);
}

void ChangeListener::check()
{
    if (paused_ || InsideTransaction() || !DatabaseOf(folder_).onServer())
        return;
    if (!ConnectionPresent() || !OnServer() || !DbConn().isOpen()) {
        if (waitTicks_ > 0) {
            --waitTicks_;
            return;
        }
        // Opened again (with the subscriptions, by the hook); a server that is
        // away is tried less and less often, so that its connect timeout does
        // not hold the windows up again and again.
        if (OpenConnection(folder_)) {
            failures_ = 0;
        } else {
            failures_ = std::min(failures_ + 1, 4);
            waitTicks_ = (1 << failures_) - 1;
        }
        return;
    }
    if (!listening()) {
        QSqlDatabase db = DbConn();
        subscribe(db);
    }
}

void ChangeListener::noticed(const QString& channel, QSqlDriver::NotificationSource source, const QVariant&)
{
    // This program's own changes are shown by the window that made them.
    if (source == QSqlDriver::SelfSource)
        return;
    if (channel == kCoalsChannel)
        coals_ = true;
    else if (channel == kPlansChannel)
        plans_ = true;
    else
        return;
    if (!settle_.isActive())
        settle_.start();
}
