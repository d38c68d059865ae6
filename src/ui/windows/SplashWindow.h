#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// frmConnect: shown at start-up; its timer fires every 500 ms, the small image
// blinks, and on the 8th tick the main window opens and the splash goes away.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    int ticks() const { return counter_; }
    void Timer1_Timer();

Q_SIGNALS:
    // The 8th tick: the main window opens now; the splash closes after it.
    void finished();

private:
    QTimer Timer1_;
    QLabel* imgLoad_;
    QLabel* label_;
    int counter_ = 1;
    bool lit_ = true;
};
