#include "ui/windows/CalculatorWindow.h"

#include "ui/widgets/Artwork.h"
#include "ui/widgets/CoalGridWidget.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"
#include "workspace/Calculator.h"
#include "workspace/GridRows.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

CalculatorWindow::CalculatorWindow(bool shovelMode, QWidget* parent) : QWidget(parent), shovelMode_(shovelMode)
{
    setObjectName(QStringLiteral("frmTest"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("手动配比"));
    setWindowIcon(Artwork::AppIcon());

    tbrMenu_ = new QToolBar(this);
    tbrMenu_->setObjectName(QStringLiteral("tbrMenu"));
    tbrMenu_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrMenu_->setIconSize(QSize(24, 24));
    QAction* first = tbrMenu_->addSeparator();
    first->setObjectName(QStringLiteral("tbrMenu_1"));
    struct Button {
        const char* glyph;
        QColor colour;
        const char* caption;
        const char* tip;
    };
    const Button buttons[] = {
        {"选", QColor(0x15, 0x65, 0xc0), QT_TR_NOOP("选煤混合"), QT_TR_NOOP("从仓库中选择煤种导入下面的列表")},
        {"清", QColor(0x6d, 0x4c, 0x41), QT_TR_NOOP("清空列表"), QT_TR_NOOP("将下面列表内的数据全部清空")},
        {"算", QColor(0x2e, 0x7d, 0x32), QT_TR_NOOP("计算指标"), QT_TR_NOOP("点击配煤")},
    };
    int index = 2;
    for (const Button& button : buttons) {
        QAction* action = tbrMenu_->addAction(Artwork::ToolIcon(QString::fromUtf8(button.glyph), button.colour),
                                              tr(button.caption));
        action->setObjectName(QStringLiteral("tbrMenu_%1").arg(index));
        action->setToolTip(tr(button.tip));
        connect(action, &QAction::triggered, this, [this, index] { tbrMenu_ButtonClick(index); });
        ++index;
    }

    auto* Label3 = new QLabel(tr("用于计算不同重量或者不同比例的煤配在一起后的指标，配比必须填写"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    lbNotice_ = new QLabel(this);
    lbNotice_->setObjectName(QStringLiteral("lbNotice"));
    lbNotice_->setStyleSheet(QStringLiteral("color: #1565c0; font-weight: bold;"));

    // The proportion lives in the stock column, shown after the shovel weight.
    CoalGridWidget::Options options;
    options.checkBoxes = false;
    options.columnOrder << kNameCell;
    for (int i = 0; i < kIndexCount; ++i)
        options.columnOrder << IndexCell(i);
    options.columnOrder << kShovelCell << kStockCell << kPriceCell;
    options.captions.insert(kNameCell, tr("煤名称"));
    options.captions.insert(kStockCell, tr("配比"));

    auto* fraTop = new QGroupBox(this);
    fraTop->setObjectName(QStringLiteral("fraTop"));
    grid_ = new CoalGridWidget(options, fraTop);
    auto* gridLayout = new QVBoxLayout(fraTop);
    gridLayout->addWidget(grid_);

    auto* Label1 = new QLabel(
        tr("注意：用精煤配煤，不要填写回收率。用原煤配煤，所有的指标要填写成试验后的指标，"
           "回收率也为经过试验后得到精煤的回收率"),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    auto* Frame1 = new QGroupBox(tr("混合后的指标"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    // Fifteen labelled values are longer than any window is wide: the box
    // wraps them over a few lines instead of hiding the end.
    txtResult_ = new QPlainTextEdit(Frame1);
    txtResult_->setObjectName(QStringLiteral("txtResult"));
    txtResult_->setReadOnly(true);
    txtResult_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtResult_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtResult_->setFixedHeight(txtResult_->fontMetrics().lineSpacing() * 3
                               + 2 * txtResult_->frameWidth() + 8);
    auto* resultLayout = new QVBoxLayout(Frame1);
    resultLayout->addWidget(txtResult_);

    Command1_ = new QPushButton(tr("计算混合后的指标"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    // Enter on the focused button computes, as a click does.
    Command1_->setAutoDefault(true);
    connect(Command1_, &QPushButton::clicked, this, &CalculatorWindow::Command1_Click);

    auto* notes = new QHBoxLayout;
    notes->addWidget(Label3, 1);
    notes->addWidget(lbNotice_);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Frame1, 1);
    bottom->addWidget(Command1_, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(tbrMenu_);
    layout->addLayout(notes);
    layout->addWidget(fraTop);
    layout->addWidget(Label1);
    layout->addLayout(bottom);
    layout->addStretch();

    Form_Load();
}

void CalculatorWindow::Form_Load()
{
    setShovelMode(shovelMode_);
}

void CalculatorWindow::setShovelMode(bool on)
{
    shovelMode_ = on;
    showMode();
}

void CalculatorWindow::setBasisWeighting(const BasisWeighting& weighting)
{
    weighting_ = weighting;
    showMode();
}

void CalculatorWindow::showMode()
{
    lbNotice_->setText((shovelMode_ ? tr("方式：铲数配比") : tr("方式：重量配比"))
                       + (weighting_.on ? tr("，按基准加权") : QString()));
}

void CalculatorWindow::SetTxtValue(const QVector<Mei>& coals)
{
    Grid grid = grid_->grid();
    ::SetTxtValue(grid, coals);
    grid_->setGrid(grid);
}

bool CalculatorWindow::holdsInput() const
{
    const Grid grid = grid_->grid();
    for (const auto& row : grid.rows)
        for (const QString& cell : row.cells)
            if (!cell.isEmpty())
                return true;
    return false;
}

void CalculatorWindow::ClearGrid()
{
    grid_->setGrid(Grid());
}

void CalculatorWindow::Command1_Click()
{
    Grid grid = grid_->grid();
    const Result<Text> result = Calculator::CalculateText(grid, shovelMode_, weighting_);
    grid_->setGrid(grid);
    if (!result) {
        Prompt::message(this, Say(result));
        return;
    }
    txtResult_->setPlainText(Say(*result));
}

void CalculatorWindow::tbrMenu_ButtonClick(int index)
{
    switch (index) {
    case 2: Q_EMIT selectCoalsRequested(); break;
    case 3: ClearGrid(); break;
    case 4: Command1_Click(); break;
    default: break;
    }
}
