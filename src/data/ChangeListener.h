#pragma once

#include "base/AppFolder.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTimer>

// The other planners' committed changes, as a server announces them
// (AnnounceChange), for the windows that show them. It listens on the main
// thread's shared connection and subscribes again on every new connection
// (a session hook): after a server restart, the next statement's reconnect
// listens again, and a change of database listens on the new one. Every few
// seconds it opens the shared connection again when work of its own closed
// it (a backup) or the server could not be reached; it never sends anything
// on an open connection by itself, since a statement on a connection whose
// network went away silently can wait long, and the window with it. On
// coal.dat nothing is ever announced and it does nothing.
class ChangeListener : public QObject {
    Q_OBJECT
public:
    explicit ChangeListener(const AppFolder& folder, QObject* parent = nullptr);
    ~ChangeListener() override;

    // Starts listening when the folder's data is on a server (opening the
    // shared connection if it is not open); call again after the database changed.
    void listen();
    // While paused (work on connections of its own that keeps the shared one
    // closed), the connection is not opened again.
    void setPaused(bool paused);
    // Whether the shared connection listens now.
    bool listening() const;

Q_SIGNALS:
    void coalsChanged();
    void plansChanged();

private:
    void subscribe(QSqlDatabase& db);
    void noticed(const QString& channel, QSqlDriver::NotificationSource source, const QVariant& payload);
    void check();

    AppFolder folder_;
    int hook_ = 0;
    bool paused_ = false;
    int waitTicks_ = 0;   // checks to skip after a failed reopen
    int failures_ = 0;
    bool coals_ = false;
    bool plans_ = false;
    QTimer watch_;
    QTimer settle_;
};
