#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QPrinter;
#include <optional>

class QWidget;

// Every message box and file dialog of the program goes through here, so that
// tests can answer them without a modal window: in test mode a box is not
// shown, its text is recorded, and the next queued answer (or the default
// button) is returned; a file dialog returns the next queued file name, or ""
// (cancelled) when none is queued, and as the chosen filter the one queued
// with it or else the first one offered (what the dialog preselects).
class Prompt {
public:
    enum class Icon { None, Information, Warning, Critical, Question };

    struct Shown {
        QString text;
        QString title;
        Icon icon = Icon::None;
        QMessageBox::StandardButtons buttons;
        QStringList choices = {};  // the buttons of choose(), in order
    };

    struct FileRequest {
        QString title;
        QString proposedName;  // file name or path offered to the user
        QString filter;
    };

    // A message box; returns the button pressed. An empty title means the
    // application's own title.
    static QMessageBox::StandardButton show(QWidget* parent, const QString& text,
                                            const QString& title = QString(),
                                            Icon icon = Icon::None,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    // A box whose buttons carry their own words (choices, left to right);
    // returns the position of the one pressed, or cancelIndex when the box
    // was closed without one. In test mode the next queued choice, else
    // defaultIndex.
    static int choose(QWidget* parent, const QString& text, const QString& title, Icon icon,
                      const QStringList& choices, int defaultIndex, int cancelIndex);

    // Asks for a password (typed unseen); nothing when the user cancels. In
    // test mode the next queued text, else nothing.
    static std::optional<QString> password(QWidget* parent, const QString& title, const QString& label);

    // OK-only box with the application's title: the way input checks report.
    static void message(QWidget* parent, const QString& text) { show(parent, text); }

    // The open-file dialog (which also accepts a name that does not exist yet).
    // Returns the chosen path as the user left it, or "" when cancelled.
    // filter may offer several filters separated by ";;"; selectedFilter, when
    // given, receives the one the user left selected (a typed name may still
    // carry another extension).
    static QString openFileName(QWidget* parent, const QString& title, const QString& proposedName,
                                const QString& filter, const QString& directory = QString(),
                                QString* selectedFilter = nullptr);

    // The print dialog for the printer; whether the user chose to print. In
    // test mode no dialog is shown: the request is recorded as a file request
    // titled as the dialog, and the next queued file name, when there is one,
    // sends the printer's pages into that PDF file (none: cancelled).
    static bool choosePrinter(QWidget* parent, QPrinter& printer, const QString& title);

    // Opens a file or address with the desktop's default application. In test
    // mode nothing is opened; the path is recorded.
    static bool openDocument(const QString& pathOrUrl);

    // Test seam.
    static void setTestMode(bool on);
    static bool testMode();
    static void queueAnswer(QMessageBox::StandardButton answer);
    static void queueChoice(int index);
    static void queueText(const QString& text);
    // The next file name, and the filter the user is to have chosen ("" =
    // the first one offered).
    static void queueFileName(const QString& path, const QString& filter = QString());
    static const QList<Shown>& shown();
    static const QList<FileRequest>& fileRequests();
    static const QStringList& openedDocuments();
    static QString lastText();
    static void clear();
};

// The program's name as message boxes show it.
QString ApplicationTitle();
