#include "ui/widgets/CoalGridWidget.h"

#include "ui/widgets/IndexCaptions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Column caption labels: object name and the workspace caption, by cell.
struct Caption {
    const char* name;
    QString text;
};

Caption CaptionFor(int cell)
{
    static const char* indexNames[kIndexCount] = {
        "lbNeishui", "lbQuanshui", "lbReliang", "Label9",    "Label10",
        "lbLiu",     "lbHuifen",   "lbHuifafen", "Label11",  "lbNianjie",
        "lbJiaozhi", "lbGudingtan", "lbKemoxing", "lbHuirongdian", "lbHuishoulv"};
    if (cell == kNameCell)
        return {"lbMingcheng", CoalGridWidget::tr("煤名称*")};
    if (cell == kStockCell)
        return {"lbKucun", CoalGridWidget::tr("库存吨")};
    if (cell == kShovelCell)
        return {"Label12", CoalGridWidget::tr("每铲重")};
    if (cell == kPriceCell)
        return {"lbJiage", CoalGridWidget::tr("价格*")};
    return {indexNames[cell - 1], IndexCaption(IndexViews()[cell - 1].workspaceLabel)};
}

// The longest value a column usually holds, which its cells show whole: the
// calorific values and the stock run to five digits before the decimals.
QString WidestValue(int cell)
{
    if (cell == kNameCell)
        return QStringLiteral("准格尔原煤");
    if (cell == kStockCell)
        return QStringLiteral("12000.00");
    if (cell == IndexCell(2) || cell == IndexCell(3))
        return QStringLiteral("5800.00");
    if (cell == kPriceCell)
        return QStringLiteral("1430.50");
    return QStringLiteral("28.00");
}

}  // namespace

CoalGridWidget::CoalGridWidget(const Options& options, QWidget* parent) : QWidget(parent)
{
    QList<int> order = options.columnOrder;
    if (order.isEmpty()) {
        for (int cell = 0; cell < kGridCells; ++cell)
            order << cell;
    }

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(2);
    layout->setVerticalSpacing(2);

    int column = 0;
    if (options.checkBoxes) {
        auto* caption = new QLabel(tr("必配"), this);
        caption->setObjectName(QStringLiteral("lbChk"));
        caption->setAlignment(Qt::AlignCenter);
        layout->addWidget(caption, 0, column);
        for (int row = 0; row < kGridRows; ++row) {
            auto* box = new QCheckBox(QString::number(row + 1), this);
            box->setObjectName(QStringLiteral("chk_%1").arg(row));
            layout->addWidget(box, row + 1, column);
            checks_[row] = box;
        }
        ++column;
    }
    for (int cell : order) {
        const Caption c = CaptionFor(cell);
        auto* caption = new QLabel(options.captions.value(cell, c.text), this);
        caption->setObjectName(QLatin1String(c.name));
        caption->setAlignment(Qt::AlignCenter);
        layout->addWidget(caption, 0, column);
        for (int row = 0; row < kGridRows; ++row) {
            auto* edit = new QLineEdit(this);
            edit->setObjectName(GridCellName(cell) + QStringLiteral("_%1").arg(row));
            // A line edit asks for room for some twenty characters; a cell
            // needs its usual values, and takes its share of any extra width.
            edit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
            edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(WidestValue(cell)) + 12);
            layout->addWidget(edit, row + 1, column);
            cells_[row][cell] = edit;
        }
        layout->setColumnStretch(column, cell == kNameCell ? 2 : 1);
        ++column;
    }
    for (int row = 0; row < kGridRows; ++row) {
        auto* button = new QPushButton(tr("删除"), this);
        button->setObjectName(QStringLiteral("btnDel_%1").arg(row));
        // Clearing a row is for the mouse: Tab stays on the cells.
        button->setFocusPolicy(Qt::NoFocus);
        // No taller than the cells beside it, so that ten rows stay low.
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
        button->setFixedHeight(cells_[row][order.first()]->sizeHint().height());
        layout->addWidget(button, row + 1, column);
        deletes_[row] = button;
        connect(button, &QPushButton::clicked, this, [this, row] { btnDel_Click(row); });
    }

    for (int row = 0; row < kGridRows; ++row) {
        if (checks_[row])
            tabOrder_ << checks_[row];
        for (int cell : order)
            tabOrder_ << cells_[row][cell];
    }
    for (int i = 1; i < tabOrder_.size(); ++i)
        setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
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
