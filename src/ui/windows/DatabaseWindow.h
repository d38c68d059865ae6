#pragma once

#include "data/DbSettings.h"
#include "data/ServerData.h"
#include "ui/widgets/WindowContext.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// frmShujuku: where this computer's data lives, coal.dat beside the program
// or a database on the yard's PostgreSQL server. It tests a connection,
// copies the local coal.dat into an empty server database, and on OK moves
// the program to the chosen database at once. The password is never written
// to config.ini: "记住密码" keeps it in the user's own PostgreSQL password
// file; otherwise it is asked for whenever the server wants one.
class DatabaseWindow : public QWidget {
    Q_OBJECT
public:
    explicit DatabaseWindow(const WindowContext& context, QWidget* parent = nullptr);

    // The settings the fields describe, the password as typed.
    DbSettings fieldSettings() const;
    void showSettings(const DbSettings& settings);

    void btnTest_Click();
    void btnCopy_Click();
    void btnOk_Click();

Q_SIGNALS:
    // The folder's data now lives in this database, and config.ini says so.
    void databaseChanged(const DbSettings& settings);

private:
    void updateEnabled();
    // What is wrong with the server fields; "" when nothing.
    QString checkServerFields() const;
    // Tries the server; while it asks for a password that the password file
    // does not hold (or the one given is wrong), asks the user and tries again.
    // Nothing when the user cancelled; settings and txtPassword get what was typed.
    std::optional<ServerCheck> tryServer(DbSettings& settings);
    // The typed server checked and reached, for the test and the copy: the
    // settings as typed (with a password asked for), or nothing when the
    // fields are wrong or the server is not reached (the user was told).
    std::optional<ServerCheck> connectWithFields(DbSettings& settings);
    // Stores the password in the password file when chkRemember is ticked.
    void rememberIfAsked(const DbSettings& settings);
    void showResult(const QString& text, bool good);

    WindowContext context_;
    QRadioButton* optDriver_[2];
    QLineEdit* txtHost_;
    QLineEdit* txtPort_;
    QLineEdit* txtDbname_;
    QLineEdit* txtUser_;
    QLineEdit* txtPassword_;
    QCheckBox* chkRemember_;
    QLabel* lblJieguo_;
    QPushButton* btnTest_;
    QPushButton* btnCopy_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};
