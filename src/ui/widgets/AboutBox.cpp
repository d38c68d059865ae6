#include "ui/widgets/AboutBox.h"

#include "ui/widgets/Artwork.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

AboutBox::AboutBox(const AppFolder& folder, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("关于Velmora配煤软件"));
    setWindowIcon(Artwork::AppIcon());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(Artwork::AppIcon().pixmap(64, 64));

    auto* title = new QLabel(tr("Velmora配煤软件"), this);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    title->setFont(font);

    auto* lbAbout = new QLabel(this);
    lbAbout->setObjectName(QStringLiteral("lbAbout"));
    lbAbout->setText(tr("版本号：") + QStringLiteral("5.0"));

    auto* lbData = new QLabel(this);
    lbData->setObjectName(QStringLiteral("lbData"));
    lbData->setText(tr("数据（coal.dat、config.ini、备份 bakup）保存在%1：\n%2")
                        .arg(folder.userData ? tr("用户数据文件夹") : tr("程序文件夹"),
                             QDir::toNativeSeparators(folder.dir)));
    lbData->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(lbAbout);
    text->addSpacing(8);
    text->addWidget(lbData);
    text->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

LoadingWindow::LoadingWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmLoading"));
    setWindowTitle(tr("正在载入数据"));
    auto* label = new QLabel(tr("正在载入数据，请稍候......"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 20, 28, 20);
    layout->addWidget(label);
    setStyleSheet(QStringLiteral("#frmLoading { background: #fdf6e3; border: 1px solid #8a8a8a; }"));
    setAttribute(Qt::WA_StyledBackground);
}
