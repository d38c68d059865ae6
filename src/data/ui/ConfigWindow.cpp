#include "data/ui/ConfigWindow.h"

#include "app/ui/Forms.h"
#include "data/QualityIndex.h"
#include "data/iniFunction.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QPointer<ConfigWindow> g_instance;

}  // namespace

ConfigWindow* ConfigWindow::instance() { return Forms::single(g_instance); }

ConfigWindow::ConfigWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmConfig"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("系统配置"));

    auto* chanFrame = new QGroupBox(QStringLiteral("以铲数配比"), this);
    auto* chanLayout = new QHBoxLayout(chanFrame);
    auto* group = new QButtonGroup(this);
    const char* chanCaptions[] = {"是", "否"};
    for (int i = 0; i < 2; ++i) {
        optChan_[i] = new QRadioButton(QString::fromUtf8(chanCaptions[i]), chanFrame);
        optChan_[i]->setObjectName(QStringLiteral("optChan_%1").arg(i));
        group->addButton(optChan_[i], i);
        chanLayout->addWidget(optChan_[i]);
    }
    chanLayout->addStretch();

    auto* hideFrame = new QGroupBox(QStringLiteral("隐藏结果列"), this);
    auto* hideLayout = new QGridLayout(hideFrame);
    int n = 0;
    for (const QualityIndex& index : QualityIndices()) {
        const QString key = QLatin1String(index.hideKey);
        if (key.isEmpty())
            continue;
        // The caking index and the plastic layer are captioned by their letter.
        const QString caption = key.size() == 1 ? key : QString::fromUtf8(index.listHeader);
        auto* box = new QCheckBox(caption, hideFrame);
        box->setObjectName(key);
        hideLayout->addWidget(box, n / 4, n % 4);
        hideBoxes_ << box;
        ++n;
    }

    auto* btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    lbInfo_ = new QLabel(this);
    lbInfo_->setObjectName(QStringLiteral("lbInfo"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lbInfo_, 1);
    bottom->addWidget(btnOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chanFrame);
    layout->addWidget(hideFrame);
    layout->addLayout(bottom);

    connect(btnOk, &QPushButton::clicked, this, &ConfigWindow::btnOk_Click);
    Form_Load();
}

void ConfigWindow::Form_Load()
{
    const AppFolder& folder = Forms::folder();
    const bool chan = ReadIniBool(folder, kConfigSection, QStringLiteral("chan"));
    optChan_[0]->setChecked(chan);
    optChan_[1]->setChecked(!chan);
    for (QCheckBox* box : hideBoxes_)
        box->setChecked(ReadIniInt(folder, kConfigSection, box->objectName()) == 1);
}

void ConfigWindow::btnOk_Click()
{
    const AppFolder& folder = Forms::folder();
    if (optChan_[0]->isChecked()) {
        WriteIni(folder, kConfigSection, QStringLiteral("chan"), QStringLiteral("1"));
        ShovelMode = true;
    }
    if (optChan_[1]->isChecked()) {
        WriteIni(folder, kConfigSection, QStringLiteral("chan"), QStringLiteral("0"));
        ShovelMode = false;
    }
    for (QCheckBox* box : hideBoxes_)
        WriteIni(folder, kConfigSection, box->objectName(),
                 box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    lbInfo_->setText(QStringLiteral("设置成功"));
    close();
}
