// The inventory's list read a page at a time: whatever the search and the
// sorts, it shows and exports the same rows in the same order as the whole
// table read at once and sorted as a list sorts, and it keeps only a bounded
// number of pages however far it is scrolled.
#include "support/TestFolder.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "export/CoalListing.h"
#include "export/ListLayouts.h"

#include <QtTest>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

// More rows than the pages kept, so that a full scroll must drop pages.
constexpr int kCoals = (CoalListing::kKeptPages + 3) * CoalListing::kPageRows + 17;

void FillTable(const AppFolder& folder)
{
    auto connection = Expect(ConnectionScope::Open(folder));
    auto transaction = Expect(Transaction::Begin());
    for (int j = 0; j < kCoals; ++j) {
        Mei coal = MakeCoal(QStringLiteral("%1煤%2").arg(j % 3 == 0 ? QStringLiteral("b") : QStringLiteral("B"))
                                .arg(j % 97),
                            400 + j % 13);
        coal.HuiFen = j % 5 == 0 ? QString() : FormatIndexValue(8 + j % 11 / 2.0);
        coal.Kucun = FormatIndexValue(j % 7 * 100);
        Expect(SaveCoal(folder, coal));
    }
    Expect(transaction.Commit());
}

// The rows as the whole table read at once gives them, sorted as a held list sorts.
QVector<QStringList> Expected(const AppFolder& folder, const std::optional<QString>& typed,
                              const QVector<std::pair<int, Qt::SortOrder>>& sorts)
{
    ListData list;
    SetupCoalColumns(list);
    FillCoalRows(list, Expect(typed ? SearchCoals(folder, *typed) : LoadCoals(folder)));
    for (const auto& [column, order] : sorts) {
        auto less = [column = column](const ListRow& a, const ListRow& b) {
            return CompareListCells(a.cell(column), b.cell(column)) < 0;
        };
        if (order == Qt::AscendingOrder)
            std::stable_sort(list.rows.begin(), list.rows.end(), less);
        else
            std::stable_sort(list.rows.begin(), list.rows.end(), [&](const ListRow& a, const ListRow& b) { return less(b, a); });
    }
    QVector<QStringList> rows;
    for (const ListRow& row : list.rows)
        rows << (QStringList{row.text} + row.subItems);
    return rows;
}

QStringList Cells(const ListRow& row) { return QStringList{row.text} + row.subItems; }

}  // namespace

class CoalListingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sameRowsAsTheWholeTable_data();
    void sameRowsAsTheWholeTable();
    void aDeletedCoalKeepsItsNumber();

private:
    std::unique_ptr<TestFolder> folder_;
};

void CoalListingTest::initTestCase()
{
    folder_ = std::make_unique<TestFolder>();
    FillTable(folder_->folder());
}

void CoalListingTest::sameRowsAsTheWholeTable_data()
{
    using Sorts = QVector<std::pair<int, Qt::SortOrder>>;
    QTest::addColumn<std::optional<QString>>("typed");
    QTest::addColumn<Sorts>("sorts");
    const auto up = Qt::AscendingOrder;
    const auto down = Qt::DescendingOrder;
    QTest::newRow("every coal, table order") << std::optional<QString>() << Sorts{};
    QTest::newRow("search, letter case ignored") << std::optional<QString>(QStringLiteral("b煤1")) << Sorts{};
    QTest::newRow("search finding nothing") << std::optional<QString>(QStringLiteral("无")) << Sorts{{1, up}};
    QTest::newRow("by name down, then up") << std::optional<QString>() << Sorts{{1, down}, {1, up}};
    QTest::newRow("equal prices keep the name order") << std::optional<QString>() << Sorts{{1, up}, {19, down}};
    QTest::newRow("numbers as text, empties first") << std::optional<QString>(QStringLiteral("煤2")) << Sorts{{8, up}};
    QTest::newRow("by number, descending") << std::optional<QString>() << Sorts{{0, down}};
    QTest::newRow("stock then index") << std::optional<QString>() << Sorts{{17, up}, {8, down}};
}

void CoalListingTest::sameRowsAsTheWholeTable()
{
    using Sorts = QVector<std::pair<int, Qt::SortOrder>>;
    QFETCH(std::optional<QString>, typed);
    QFETCH(Sorts, sorts);
    CoalListing listing = Expect(CoalListing::Open(folder_->folder(), typed));
    for (const auto& [column, order] : sorts) {
        const QVector<int> keysBefore = [&] {
            QVector<int> ids;
            for (int r = 0; r < listing.rowCount(); ++r)
                ids << listing.id(r);
            return ids;
        }();
        const QVector<int> before = Expect(listing.sort(column, order));
        // Each new position names the row it came from.
        for (int r = 0; r < listing.rowCount(); ++r)
            QCOMPARE(listing.id(r), keysBefore[before[r]]);
    }
    const QVector<QStringList> want = Expected(folder_->folder(), typed, sorts);
    QCOMPARE(listing.rowCount(), want.size());

    // Shown: scrolled from the bottom up, so every page is read and the
    // oldest ones are dropped on the way.
    QVector<QStringList> shown(listing.rowCount());
    for (int r = listing.rowCount() - 1; r >= 0; --r) {
        shown[r] = Cells(listing.row(r));
        QVERIFY(listing.pagesHeld() <= CoalListing::kKeptPages);
    }
    QCOMPARE(shown, want);
    QCOMPARE(listing.takeError(), QString());

    QVector<QStringList> exported;
    Expect(listing.forEachRow([&](const ListRow& row) {
        exported << Cells(row);
        return Status();
    }));
    QCOMPARE(exported, want);
}

// A coal deleted behind the list's back: its row keeps its number, the
// others their cells.
void CoalListingTest::aDeletedCoalKeepsItsNumber()
{
    TestFolder folder;
    for (const char* name : {"甲", "乙", "丙"})
        Expect(SaveCoal(folder.folder(), MakeCoal(QString::fromUtf8(name), 1)));
    CoalListing listing = Expect(CoalListing::Open(folder.folder()));
    Expect(DeleteCoal(folder.folder(), listing.id(1)));
    QCOMPARE(Cells(listing.row(1)), QStringList{QString::number(listing.id(1))});
    QCOMPARE(listing.row(2).cell(1), QStringLiteral("丙"));

    // A file that cannot be read: rows show their number, and the reason is told once.
    CoalListing other = Expect(CoalListing::Open(folder.folder()));
    (void)folder.breakDatabase();
    QCOMPARE(Cells(other.row(0)), QStringList{QString::number(other.id(0))});
    QVERIFY(other.takeError().contains(QStringLiteral("数据库")));
    QCOMPARE(other.takeError(), QString());
    QVERIFY(!other.sort(1, Qt::AscendingOrder).ok());
}

QTEST_GUILESS_MAIN(CoalListingTest)
#include "tst_coal_listing.moc"
