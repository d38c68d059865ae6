#include "ui/windows/ConfigWindow.h"

#include "base/QualityIndex.h"
#include "ui/widgets/IndexCaptions.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ConfigWindow::ConfigWindow(const WindowContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("frmConfig"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("系统配置"));

    auto* chanFrame = new QGroupBox(tr("以铲数配比"), this);
    auto* chanLayout = new QHBoxLayout(chanFrame);
    auto* group = new QButtonGroup(this);
    const char* const chanCaptions[] = {QT_TR_NOOP("是"), QT_TR_NOOP("否")};
    for (int i = 0; i < 2; ++i) {
        optChan_[i] = new QRadioButton(tr(chanCaptions[i]), chanFrame);
        optChan_[i]->setObjectName(QStringLiteral("optChan_%1").arg(i));
        group->addButton(optChan_[i], i);
        chanLayout->addWidget(optChan_[i]);
    }
    chanLayout->addStretch();

    // The interface's language; the windows are built in it, so it takes
    // effect at the next start.
    auto* languageFrame = new QGroupBox(tr("界面语言"), this);
    auto* languageLayout = new QHBoxLayout(languageFrame);
    auto* languageGroup = new QButtonGroup(this);
    const QString languageCaptions[] = {QStringLiteral("中文"), QStringLiteral("English")};
    for (int i = 0; i < 2; ++i) {
        // Each language is named in itself, so that either can be found.
        optLanguage_[i] = new QRadioButton(languageCaptions[i], languageFrame);
        optLanguage_[i]->setObjectName(QStringLiteral("optLanguage_%1").arg(i));
        languageGroup->addButton(optLanguage_[i], i);
        languageLayout->addWidget(optLanguage_[i]);
    }
    auto* languageNote = new QLabel(tr("重新启动程序后生效"), languageFrame);
    languageNote->setObjectName(QStringLiteral("lblLanguage"));
    languageLayout->addWidget(languageNote);
    languageLayout->addStretch();

    auto* hideFrame = new QGroupBox(tr("隐藏结果列"), this);
    auto* hideLayout = new QGridLayout(hideFrame);
    int n = 0;
    for (int i = 0; i < kIndexCount; ++i) {
        const QString key = QLatin1String(QualityIndices()[i].hideKey);
        if (key.isEmpty())
            continue;
        // The caking index and the plastic layer are captioned by their letter.
        const QString caption = key.size() == 1 ? key : IndexHeader(i);
        auto* box = new QCheckBox(caption, hideFrame);
        box->setObjectName(key);
        hideLayout->addWidget(box, n / 4, n % 4);
        hideBoxes_ << box;
        ++n;
    }

    // How many backups stay in bakup.
    auto* bakupFrame = new QGroupBox(tr("数据备份"), this);
    bakupFrame->setObjectName(QStringLiteral("fraBakup"));
    auto* bakupLayout = new QGridLayout(bakupFrame);
    const auto countBox = [bakupFrame](const QString& name) {
        auto* box = new QLineEdit(bakupFrame);
        box->setObjectName(name);
        box->setMaxLength(3);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        return box;
    };
    txtBakupDays_ = countBox(QStringLiteral("txtBakupDays"));
    txtBakupMonths_ = countBox(QStringLiteral("txtBakupMonths"));
    bakupLayout->addWidget(new QLabel(tr("保留最近"), bakupFrame), 0, 0);
    bakupLayout->addWidget(txtBakupDays_, 0, 1);
    bakupLayout->addWidget(new QLabel(tr("个每日备份"), bakupFrame), 0, 2);
    bakupLayout->addWidget(new QLabel(tr("最近"), bakupFrame), 1, 0, Qt::AlignRight);
    bakupLayout->addWidget(txtBakupMonths_, 1, 1);
    bakupLayout->addWidget(new QLabel(tr("个月每月保留一个备份"), bakupFrame), 1, 2);
    bakupLayout->setColumnStretch(3, 1);

    // One row per index: its name and a drop-down of the four bases.
    auto* basisFrame = new QGroupBox(tr("按基准加权时各指标的基准"), this);
    auto* basisLayout = new QVBoxLayout(basisFrame);
    grdJizhun_ = new QTableWidget(kIndexCount, 2, basisFrame);
    grdJizhun_->setObjectName(QStringLiteral("grdJizhun"));
    grdJizhun_->setHorizontalHeaderLabels({tr("指标"), tr("基准")});
    grdJizhun_->verticalHeader()->hide();
    grdJizhun_->setSelectionMode(QAbstractItemView::NoSelection);
    grdJizhun_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdJizhun_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdJizhun_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int i = 0; i < kIndexCount; ++i) {
        grdJizhun_->setItem(i, 0, new QTableWidgetItem(IndexHeader(i)));
        auto* box = new QComboBox(grdJizhun_);
        box->setObjectName(QStringLiteral("cboJizhun_%1").arg(i));
        for (const Basis basis : {Basis::AsReceived, Basis::AirDried, Basis::Dry, Basis::DryAshFree})
            box->addItem(Say(BasisName(basis)), static_cast<int>(basis));
        grdJizhun_->setCellWidget(i, 1, box);
        basisBoxes_ << box;
    }
    grdJizhun_->setToolTip(tr("勾选主窗口的“按基准加权”后，每项指标按所选基准的煤量加权平均：\n"
                                          "收到基按吨数，干基按吨数×(1−全水/100)，\n"
                                          "空干基按吨数×(1−全水/100)/(1−内水/100)，\n"
                                          "干燥无灰基按吨数×(1−全水/100)×(1−灰分/100)"));
    grdJizhun_->resizeColumnsToContents();
    grdJizhun_->resizeRowsToContents();
    // Room around the names, as the drop-downs have.
    grdJizhun_->setColumnWidth(0, grdJizhun_->columnWidth(0) + 16);
    grdJizhun_->horizontalHeader()->setStretchLastSection(true);
    // Every row shows: the table is as tall as its rows.
    int height = grdJizhun_->horizontalHeader()->sizeHint().height() + 2 * grdJizhun_->frameWidth();
    for (int i = 0; i < kIndexCount; ++i)
        height += grdJizhun_->rowHeight(i);
    grdJizhun_->setFixedHeight(height);
    basisLayout->addWidget(grdJizhun_);

    auto* btnOk = new QPushButton(tr("确定"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    lbInfo_ = new QLabel(this);
    lbInfo_->setObjectName(QStringLiteral("lbInfo"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lbInfo_, 1);
    bottom->addWidget(btnOk);

    // The bases' table is tall: it stands beside the other settings.
    auto* left = new QVBoxLayout;
    left->addWidget(chanFrame);
    left->addWidget(hideFrame);
    left->addWidget(bakupFrame);
    left->addWidget(languageFrame);
    left->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(basisFrame);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(bottom);

    connect(btnOk, &QPushButton::clicked, this, &ConfigWindow::btnOk_Click);
    Form_Load();
}

void ConfigWindow::Form_Load()
{
    const Settings settings = ReadSettings(context_.folder);
    optChan_[0]->setChecked(settings.shovelMode);
    optChan_[1]->setChecked(!settings.shovelMode);
    for (QCheckBox* box : hideBoxes_)
        box->setChecked(settings.hides(box->objectName()));
    txtBakupDays_->setText(QString::number(settings.backupDays));
    txtBakupMonths_->setText(QString::number(settings.backupMonths));
    optLanguage_[settings.language == Settings::kEnglish ? 1 : 0]->setChecked(true);
    for (int i = 0; i < kIndexCount; ++i)
        basisBoxes_[i]->setCurrentIndex(basisBoxes_[i]->findData(static_cast<int>(settings.weighting.basis[i])));
    loaded_ = formState();
}

QStringList ConfigWindow::formState() const
{
    QStringList state;
    for (const QRadioButton* option : optChan_)
        state << QString::number(option->isChecked());
    for (const QCheckBox* box : hideBoxes_)
        state << QString::number(box->isChecked());
    state << txtBakupDays_->text() << txtBakupMonths_->text();
    for (const QComboBox* box : basisBoxes_)
        state << QString::number(box->currentIndex());
    return state;
}

void ConfigWindow::btnOk_Click()
{
    Settings settings = ReadSettings(context_.folder);
    if (optChan_[0]->isChecked() || optChan_[1]->isChecked())
        settings.shovelMode = optChan_[0]->isChecked();
    settings.hiddenIndexKeys.clear();
    for (QCheckBox* box : hideBoxes_)
        if (box->isChecked())
            settings.hiddenIndexKeys << box->objectName();
    if (Status counts = SetBackupKeep(settings, txtBakupDays_->text(), txtBakupMonths_->text()); !counts) {
        Prompt::message(this, Say(counts));
        return;
    }
    for (int i = 0; i < kIndexCount; ++i)
        settings.weighting.basis[i] = static_cast<Basis>(basisBoxes_[i]->currentData().toInt());
    settings.language = optLanguage_[1]->isChecked() ? Settings::kEnglish : Settings::kChinese;
    // Nothing changes unless config.ini took the new settings: the window
    // stays open with the user's choices, and the session keeps its mode.
    if (Status saved = SaveSettings(context_.folder, settings); !saved) {
        Prompt::show(this, Say(saved), QString(), Prompt::Icon::Warning);
        return;
    }
    lbInfo_->setText(tr("设置成功"));
    Q_EMIT settingsSaved(settings);
    close();
}
