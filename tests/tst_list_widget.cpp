#include "export/ListData.h"
#include "ui/widgets/ReportList.h"

#include <QHeaderView>
#include <QStyle>
#include <QtTest>

namespace {

ListData Letters()
{
    ListData list;
    list.addColumn(QStringLiteral("编号"), 1440);
    list.addColumn(QStringLiteral("名称"), 0);
    const QStringList names{"b", "10", "a", "9"};
    for (int i = 0; i < names.size(); ++i)
        list.rows.append(ListRow{QString::number(i + 1), {names[i]}, false});
    return list;
}

}  // namespace

class ListWidgetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void widthsFromTwips();
    void numbersFitBesideTheCheckBox();
    void headerClicksToggleOrder();
    void selectionAndTicksFollowTheirRows();
};

void ListWidgetTest::widthsFromTwips()
{
    ReportList list;
    list.setListData(Letters());
    QCOMPARE(list.columnWidth(0), list.logicalDpiX());  // 1440 twips are one inch
    QVERIFY(list.isColumnHidden(1));
    list.setColumnWidthTwips(1, 720);
    QVERIFY(!list.isColumnHidden(1));
    QCOMPARE(list.columnWidthTwips(1), 720);
    QCOMPARE(list.listData().columns[1].width, 720);
}

// A record number of six digits stays readable beside a row's check box.
void ListWidgetTest::numbersFitBesideTheCheckBox()
{
    ReportList list;
    ListData data;
    data.addColumn(QStringLiteral("编号"), 800);
    list.setCheckBoxes(true);
    list.setListData(data);
    const int box = list.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &list);
    QVERIFY(list.columnWidth(0) >= list.fontMetrics().horizontalAdvance(QStringLiteral("100000")) + box + 8);
}

void ListWidgetTest::headerClicksToggleOrder()
{
    ReportList list;
    list.setListData(Letters());
    list.header()->sectionClicked(1);  // the first click sorts descending
    QCOMPARE(list.listData().columnCells(1), (QStringList{"b", "a", "9", "10"}));
    list.header()->sectionClicked(1);
    QCOMPARE(list.listData().columnCells(1), (QStringList{"10", "9", "a", "b"}));
    list.setSortOnHeaderClick(false);
    list.header()->sectionClicked(0);
    QCOMPARE(list.listData().columnCells(1), (QStringList{"10", "9", "a", "b"}));
}

void ListWidgetTest::selectionAndTicksFollowTheirRows()
{
    ReportList list;
    list.setCheckBoxes(true);
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.setListData(Letters());
    QSignalSpy ticks(&list, &ReportList::rowCheckChanged);
    QVERIFY(list.model()->setData(list.model()->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(ticks.size(), 1);
    list.selectRow(1);      // "10"
    list.selectRow(2, true);  // "a"
    list.sortRows(1, Qt::AscendingOrder);
    QCOMPARE(list.checkedRows(), QVector<int>{3});  // "b" is now last
    QCOMPARE(list.selectedRows(), (QVector<int>{0, 2}));
    QCOMPARE(list.listData().rows[3].checked, true);
}

QTEST_MAIN(ListWidgetTest)
#include "tst_list_widget.moc"
