#include "ui/widgets/CoalGridWidget.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Column caption labels: object name and the workspace caption, by cell.
struct Caption {
    const char* name;
    const char* text;
};

Caption CaptionFor(int cell)
{
    static const char* indexNames[kIndexCount] = {
        "lbNeishui", "lbQuanshui", "lbReliang", "Label9",    "Label10",
        "lbLiu",     "lbHuifen",   "lbHuifafen", "Label11",  "lbNianjie",
        "lbJiaozhi", "lbGudingtan", "lbKemoxing", "lbHuirongdian", "lbHuishoulv"};
    if (cell == kNameCell)
        return {"lbMingcheng", "煤名称*"};
    if (cell == kStockCell)
        return {"lbKucun", "库存吨"};
    if (cell == kShovelCell)
        return {"Label12", "每铲重"};
    if (cell == kPriceCell)
        return {"lbJiage", "价格*"};
    return {indexNames[cell - 1], QualityIndices()[cell - 1].workspaceLabel};
}

// Design widths in pixels, each wide enough for the longest usual value: the
// calorific values and the stock run to five digits before the decimals.
constexpr int kCheckWidth = 44;
constexpr int kNameWidth = 80;
constexpr int kIndexWidth = 48;
constexpr int kCalorificWidth = 62;
constexpr int kStockWidth = 70;
constexpr int kShovelWidth = 48;
constexpr int kPriceWidth = 62;
constexpr int kDeleteWidth = 46;
constexpr int kGap = 2;
constexpr int kCaptionHeight = 20;
constexpr int kRowHeight = 23;
constexpr int kRowPitch = 25;

int CellWidth(int cell)
{
    if (cell == kNameCell)
        return kNameWidth;
    if (cell == kStockCell)
        return kStockWidth;
    if (cell == kShovelCell)
        return kShovelWidth;
    if (cell == kPriceCell)
        return kPriceWidth;
    if (cell == IndexCell(2) || cell == IndexCell(3))
        return kCalorificWidth;
    return kIndexWidth;
}

}  // namespace

CoalGridWidget::CoalGridWidget(const Options& options, QWidget* parent) : QWidget(parent)
{
    QList<int> order = options.columnOrder;
    if (order.isEmpty()) {
        for (int cell = 0; cell < kGridCells; ++cell)
            order << cell;
    }
    QFont font = this->font();
    font.setPointSizeF(options.fontSize);

    auto track = [&](QWidget* control, const QRect& rect) {
        control->setGeometry(rect);
        control->setFont(font);
        controls_ << control;
    };

    int x = 0;
    if (options.checkBoxes) {
        auto* caption = new QLabel(QStringLiteral("必配"), this);
        caption->setObjectName(QStringLiteral("lbChk"));
        caption->setAlignment(Qt::AlignCenter);
        track(caption, QRect(x, 0, kCheckWidth, kCaptionHeight));
        for (int row = 0; row < kGridRows; ++row) {
            auto* box = new QCheckBox(QString::number(row + 1), this);
            box->setObjectName(QStringLiteral("chk_%1").arg(row));
            track(box, QRect(x + 2, kCaptionHeight + row * kRowPitch, kCheckWidth - 2, kRowHeight));
            checks_[row] = box;
        }
        x += kCheckWidth + kGap;
    }
    for (int cell : order) {
        const Caption c = CaptionFor(cell);
        auto* caption = new QLabel(options.captions.value(cell, QString::fromUtf8(c.text)), this);
        caption->setObjectName(QLatin1String(c.name));
        caption->setAlignment(Qt::AlignCenter);
        const int width = CellWidth(cell);
        track(caption, QRect(x, 0, width, kCaptionHeight));
        for (int row = 0; row < kGridRows; ++row) {
            auto* edit = new QLineEdit(this);
            edit->setObjectName(GridCellName(cell) + QStringLiteral("_%1").arg(row));
            track(edit, QRect(x, kCaptionHeight + row * kRowPitch, width, kRowHeight));
            cells_[row][cell] = edit;
        }
        x += width + kGap;
    }
    for (int row = 0; row < kGridRows; ++row) {
        auto* button = new QPushButton(QStringLiteral("删除"), this);
        button->setObjectName(QStringLiteral("btnDel_%1").arg(row));
        track(button, QRect(x, kCaptionHeight + row * kRowPitch, kDeleteWidth, kRowHeight));
        deletes_[row] = button;
        connect(button, &QPushButton::clicked, this, [this, row] { btnDel_Click(row); });
    }
    x += kDeleteWidth;
    designSize_ = QSize(x, kCaptionHeight + (kGridRows - 1) * kRowPitch + kRowHeight);
    resize(designSize_);
}

Grid CoalGridWidget::grid() const
{
    Grid grid;
    for (int row = 0; row < kGridRows; ++row) {
        grid.rows[row].checked = checks_[row] && checks_[row]->isChecked();
        for (int cell = 0; cell < kGridCells; ++cell)
            grid.rows[row].cells[cell] = cells_[row][cell]->text();
    }
    return grid;
}

void CoalGridWidget::setGrid(const Grid& grid)
{
    for (int row = 0; row < kGridRows; ++row) {
        if (checks_[row])
            checks_[row]->setChecked(grid.rows[row].checked);
        for (int cell = 0; cell < kGridCells; ++cell) {
            QLineEdit* edit = cells_[row][cell];
            if (edit->text() != grid.rows[row].cells[cell])
                edit->setText(grid.rows[row].cells[cell]);
        }
    }
}

void CoalGridWidget::btnDel_Click(int row)
{
    Grid g = grid();
    ClearRowCells(g.rows[row]);
    setGrid(g);
}
