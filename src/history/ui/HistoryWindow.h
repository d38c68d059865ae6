#pragma once

#include <QPointer>
#include <QWidget>

// frmLishi: the plan history window.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit HistoryWindow(QWidget* parent = nullptr);

    static HistoryWindow* instance();   // the one history window, created on first use
    static HistoryWindow* existing();   // nullptr when it is not open

    // Reloads the plan list from the database and shows the newest plan
    // (used after a blending run stored a plan).
    void reloadAndShowNewest();
};
