#include "ui/windows/SplashWindow.h"

#include "ui/widgets/Artwork.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmConnect"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("正在载入中，请稍后"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(Artwork::SplashPicture());

    imgLoad_ = new QLabel(this);
    imgLoad_->setObjectName(QStringLiteral("imgLoad"));
    imgLoad_->setPixmap(Artwork::LoadingDot(true));

    label_ = new QLabel(tr("正在载入配煤面板，请稍后。"), this);
    label_->setObjectName(QStringLiteral("Label1"));

    auto* row = new QHBoxLayout;
    row->addWidget(imgLoad_);
    row->addWidget(label_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(picture);
    layout->addLayout(row);
    row->setContentsMargins(12, 0, 12, 0);

    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(500);
    connect(&Timer1_, &QTimer::timeout, this, &SplashWindow::Timer1_Timer);
    Timer1_.start();
}

void SplashWindow::Timer1_Timer()
{
    // The small image blinks with every tick.
    imgLoad_->setVisible(!imgLoad_->isVisible());
    if (counter_ < 8) {
        ++counter_;
        return;
    }
    Timer1_.stop();
    Q_EMIT finished();
    close();
}
