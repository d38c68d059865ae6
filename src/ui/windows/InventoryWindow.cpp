#include "ui/windows/InventoryWindow.h"

#include "data/CoalTable.h"
#include "export/CoalListing.h"
#include "export/ListExport.h"
#include "export/ListLayouts.h"
#include "inventory/CoalImport.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Say.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The window's size when it first opens, where the screen has room.
constexpr QSize kDesignSize(1040, 600);

QLabel* Caption(const QString& glyph, const QColor& colour, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(Artwork::ToolIcon(glyph, colour).pixmap(32, 32));
    auto* caption = new QLabel(text, parent);
    caption->setAlignment(Qt::AlignCenter);
    parent->layout()->addWidget(label);
    parent->layout()->addWidget(caption);
    return caption;
}

}  // namespace

InventoryWindow::InventoryWindow(const WindowContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("frmKucun"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("煤库存"));
    setWindowIcon(Artwork::AppIcon());

    Toolbar1_ = new QToolBar(this);
    Toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1_->setIconSize(QSize(24, 24));
    QAction* separator = Toolbar1_->addSeparator();
    separator->setObjectName(QStringLiteral("Toolbar1_1"));
    struct Button {
        const char* glyph;
        QColor colour;
        const char* caption;
    };
    const Button buttons[] = {
        {"添", QColor(0x2e, 0x7d, 0x32), QT_TR_NOOP("添加新煤")},
        {"编", QColor(0x15, 0x65, 0xc0), QT_TR_NOOP("编辑煤种")},
        {"删", QColor(0xc6, 0x28, 0x28), QT_TR_NOOP("删除煤种")},
        {"X", QColor(0x1b, 0x5e, 0x20), QT_TR_NOOP("导出Excel")},
        {"H", QColor(0xef, 0x6c, 0x00), QT_TR_NOOP("导出普通")},
        {"导", QColor(0x00, 0x69, 0x7c), QT_TR_NOOP("导入煤种")},
    };
    int position = 2;
    for (const Button& button : buttons) {
        QAction* action = Toolbar1_->addAction(Artwork::ToolIcon(QString::fromUtf8(button.glyph), button.colour),
                                               tr(button.caption));
        action->setObjectName(QStringLiteral("Toolbar1_%1").arg(position));
        connect(action, &QAction::triggered, this, [this, position] { Toolbar1_ButtonClick(position); });
        ++position;
    }

    PicLEFT_ = new QFrame(this);
    PicLEFT_->setObjectName(QStringLiteral("PicLEFT"));
    PicLEFT_->setFrameShape(QFrame::StyledPanel);
    PicLEFT_->setAutoFillBackground(true);
    auto* leftLayout = new QVBoxLayout(PicLEFT_);
    leftLayout->setContentsMargins(4, 16, 4, 4);
    Caption(QStringLiteral("原"), QColor(0x5d, 0x40, 0x37), tr("原煤"), PicLEFT_);
    leftLayout->addSpacing(16);
    Caption(QStringLiteral("精"), QColor(0x37, 0x47, 0x4f), tr("精煤"), PicLEFT_);
    leftLayout->addStretch();

    Label3_ = new QLabel(tr("共计："), this);
    Label3_->setObjectName(QStringLiteral("Label3"));
    labCONUT_ = new QLabel(this);
    labCONUT_->setObjectName(QStringLiteral("labCONUT"));

    Picture1_ = new QFrame(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    auto* searchLayout = new QHBoxLayout(Picture1_);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    txtSearch_ = new QLineEdit(Picture1_);
    txtSearch_->setObjectName(QStringLiteral("txtSearch"));
    cmdSearch_ = new QPushButton(tr("查找"), Picture1_);
    cmdSearch_->setObjectName(QStringLiteral("cmdSearch"));
    searchLayout->addWidget(txtSearch_, 1);
    searchLayout->addWidget(cmdSearch_);
    connect(cmdSearch_, &QPushButton::clicked, this, &InventoryWindow::cmdSearch_Click);
    connect(txtSearch_, &QLineEdit::returnPressed, this, &InventoryWindow::cmdSearch_Click);

    ListView1_ = new ReportList(this);
    ListView1_->setObjectName(QStringLiteral("ListView1"));
    ListView1_->setCheckBoxes(true);
    ListView1_->setSortOnHeaderClick(false);
    // Rows that cannot be read show their number only; said once per filling.
    connect(ListView1_, &ReportList::rowsUnreadable, this, [this](const QString& message) {
        if (!unreadableSaid_)
            reportFailure(message);
        unreadableSaid_ = true;
    });
    connect(ListView1_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        // The order flips with every click, whichever column is clicked; the
        // column is kept so that a refill keeps the order the user chose.
        sortColumn_ = column;
        ListView1_->toggleSort(column);
    });

    picLOAD_ = new QFrame(this);
    picLOAD_->setObjectName(QStringLiteral("picLOAD"));
    picLOAD_->setFrameShape(QFrame::Box);
    picLOAD_->setAutoFillBackground(true);
    auto* loadLayout = new QVBoxLayout(picLOAD_);
    auto* loadText = new QLabel(tr("正在处理数据，请稍候......"), picLOAD_);
    loadText->setAlignment(Qt::AlignCenter);
    loadLayout->addWidget(loadText);
    picLOAD_->hide();

    Picture1_->setMinimumWidth(Picture1_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
    auto* countRow = new QHBoxLayout;
    countRow->addSpacing(8);
    countRow->addWidget(Label3_);
    countRow->addWidget(labCONUT_);
    countRow->addStretch(1);
    countRow->addWidget(Picture1_, 2);
    auto* right = new QVBoxLayout;
    right->addLayout(countRow);
    right->addWidget(ListView1_, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(PicLEFT_);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 6, 6);
    layout->setMenuBar(Toolbar1_);
    layout->addLayout(body, 1);

    resize(kDesignSize.expandedTo(minimumSizeHint()));
    Form_Load();
}

void InventoryWindow::Form_Load()
{
    ListData columns;
    SetupCoalColumns(columns);
    ListView1_->setListData(columns);
    addLIST();
}

void InventoryWindow::showCount()
{
    const Result<int> count = CountCoals(context_.folder);
    if (!count) {
        reportFailure(Say(count));
        return;
    }
    labCONUT_->setText(tr("%1 种").arg(*count));
}

void InventoryWindow::reportFailure(const QString& message)
{
    Prompt::show(this, message, QString(), Prompt::Icon::Critical);
}

void InventoryWindow::addLIST()
{
    Result<CoalListing> listing =
        CoalListing::Open(context_.folder, searching_ ? std::optional<QString>(searched_) : std::nullopt);
    if (!listing) {
        reportFailure(Say(listing));
        return;
    }
    listing_ = std::make_shared<CoalListing>(std::move(*listing));
    unreadableSaid_ = false;
    ListView1_->setPagedRows(listing_);
    if (sortColumn_ >= 0)
        ListView1_->sortRows(sortColumn_, ListView1_->sortOrder());
    showCount();
}

void InventoryWindow::cmdSearch_Click()
{
    const QString typed = txtSearch_->text();
    // A search needs something besides plain blanks.
    if (std::all_of(typed.cbegin(), typed.cend(), [](QChar c) { return c == QLatin1Char(' '); })) {
        Prompt::show(this, tr("请输入要查找的煤名称！"), tr("提示"), Prompt::Icon::Warning);
        txtSearch_->setFocus();
        return;
    }
    searched_ = typed;
    searching_ = true;
    addLIST();
}

void InventoryWindow::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 2: Q_EMIT addCoalRequested(); break;
    case 3: editCoal(); break;
    case 4: deleteCoals(); break;
    case 5: exportList(1); break;
    case 6: exportList(0); break;
    case 7: importCoals(); break;
    default: break;
    }
}

void InventoryWindow::editCoal()
{
    if (ListView1_->rowCount() == 0)
        return;
    const int row = ListView1_->currentRow();
    if (row < 0) {
        Prompt::message(this, tr("请先选择要编辑的煤种"));
        return;
    }
    const QVector<int> ids = IdsFromKeys({ListView1_->cellText(row, 0)});
    if (!ids.isEmpty())
        Q_EMIT editCoalRequested(ids.first());
}

bool InventoryWindow::anyRowTicked() const
{
    return !ListView1_->checkedKeys().isEmpty();
}

void InventoryWindow::deleteCoals()
{
    if (ListView1_->rowCount() == 0)
        return;
    if (Prompt::show(this, tr("确认要删除吗？"), QString(), Prompt::Icon::Question,
                     QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    if (!anyRowTicked()) {
        Prompt::message(this, tr("请选择您要删除的项"));
        return;
    }
    const QStringList keys = ListView1_->checkedKeys();
    // A failed delete changed nothing (one transaction): the list still shows
    // the file, and reloading it would only say the same failure again.
    const Result<QVector<int>> gone = RemoveCoals(context_.folder, IdsFromKeys(keys));
    if (!gone) {
        reportFailure(Say(gone));
        return;
    }
    ListView1_->clearRows();
    addLIST();
    if (!gone->isEmpty()) {
        QStringList numbers;
        for (int id : *gone)
            numbers << QString::number(id);
        Prompt::show(this,
                     gone->size() == keys.size()
                         ? tr("所选的煤种已被别人删除，不在库存中了。")
                         : tr("编号为 %1 的煤种已被别人删除，不在库存中了；其余所选的煤种已删除。")
                               .arg(numbers.join(tr("、"))),
                     tr("提示"), Prompt::Icon::Information);
    }
}

void InventoryWindow::showOthersChanges()
{
    const QStringList ticked = ListView1_->checkedKeys();
    const int row = ListView1_->currentRow();
    const QString current = row >= 0 ? ListView1_->cellText(row, 0) : QString();
    const int scrolled = ListView1_->verticalScrollBar()->value();
    addLIST();
    ListView1_->setCheckedKeys(ticked);
    if (!current.isEmpty())
        if (const int now = ListView1_->rowOfKey(current); now >= 0)
            ListView1_->selectRow(now);
    ListView1_->verticalScrollBar()->setValue(scrolled);
}

void InventoryWindow::importCoals()
{
    const QString path = Prompt::openFileName(this, tr("导入煤种"), QString(), Say(ImportFileFilter()));
    if (!path.isEmpty())
        Q_EMIT importRequested(path);
}

QString InventoryWindow::AskExportFile(int kind)
{
    if (kind == 0)
        return Prompt::openFileName(this, tr("导出文件"), ProposedExportName(context_.now()),
                                    PlainHtmlFilter());
    QString filter;
    const QString chosen = Prompt::openFileName(this, tr("导出文件"), ProposedExportName(context_.now()),
                                                WorkbookFilters(), QString(), &filter);
    return WorkbookExportPath(chosen, filter);
}

void InventoryWindow::exportList(int kind)
{
    const QString path = AskExportFile(kind);
    if (path.isEmpty())
        return;
    bool done = false;
    if (kind == 1) {
        // The note floats over the list's middle while the workbook is written.
        picLOAD_->adjustSize();
        QRect note = picLOAD_->rect();
        note.moveCenter(ListView1_->geometry().center());
        picLOAD_->move(note.topLeft());
        picLOAD_->show();
        picLOAD_->raise();
        picLOAD_->repaint();
        const Status exported = listing_ ? ExportListToWorkbook(context_.folder, *listing_, path)
                                         : ExportListToWorkbook(context_.folder, ListView1_->listData(), path);
        picLOAD_->hide();
        done = exported.ok();
        if (!done)
            Prompt::message(this, ExcelExportFailedMessage() + Say(exported));
    } else {
        const Status exported = listing_ ? ExportListToHtml(context_.folder, *listing_, path)
                                         : ExportListToHtml(context_.folder, ListView1_->listData(), path);
        done = exported.ok();
        if (!done)
            Prompt::message(this, HtmlExportFailedMessage() + Say(exported));
    }
    if (done
        && Prompt::show(this, ExportDoneQuestion(), ExportDoneTitle(), Prompt::Icon::Question,
                        QMessageBox::Ok | QMessageBox::Cancel)
               == QMessageBox::Ok)
        Prompt::openDocument(path);
}
