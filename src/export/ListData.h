#pragma once

#include "data/AppFolder.h"
#include "data/Dbconnection.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <Qt>

// What a list window shows, as plain data: columns with a header and a width
// in twips (1/1440 inch; 0 means hidden, but the column is still exported) and
// rows whose first cell is the record's key and whose further cells are the
// sub-items in column order. All cells are text. The list widget shows one of
// these and hands it back in the order the user sees, so the exports and the
// tons conversion work on the rows as shown without touching a widget.

struct ListColumn {
    QString header;
    int width = 0;  // twips
};

struct ListRow {
    QString text;           // first cell: the record's id, read back as the row's key
    QStringList subItems;   // sub-item k is subItems[k - 1]
    bool checked = false;

    // Cell of a column: 0 is the first cell, k the sub-item k; "" past the end.
    QString cell(int column) const;
    void setCell(int column, const QString& value);
};

struct ListData {
    QVector<ListColumn> columns;
    QVector<ListRow> rows;

    int columnCount() const { return columns.size(); }
    int rowCount() const { return rows.size(); }
    QString cell(int row, int column) const { return rows[row].cell(column); }
    void setCell(int row, int column, const QString& value) { rows[row].setCell(column, value); }

    void addColumn(const QString& header, int width) { columns.append({header, width}); }
    void clearColumns() { columns.clear(); }
    void clearRows() { rows.clear(); }

    // Position of the first column whose header equals the text; -1 when none.
    int findColumn(const QString& header) const;

    // The cells of one column, top to bottom.
    QStringList columnCells(int column) const;
};

// The two layouts. In both the first cell is the record's id.
inline constexpr int kCoalColumnCount = 20;
inline constexpr int kBlendColumnCount = 27;
inline constexpr int kProportionColumnCount = 10;   // d1 ... d10
inline constexpr int kFirstProportionColumn = 1;    // the column after the hidden row number

// Coal layout: number, name, the fifteen indices, stock, shovel weight, price.
void SetupCoalColumns(ListData& list);

// Proportion layout: hidden row number, D1 ... D10, the fifteen indices, price.
// Column widths follow the screen width in pixels.
int BlendColumnWidth(int screenWidthPixels);
void SetupBlendColumns(ListData& list, int screenWidthPixels);

// Titles the proportion columns d1 ... d10, then with the parts of names split
// at "," (at most ten): a plan of coals A, B, C gives A, B, C, d4 ... d10.
void NameBlendColumns(ListData& list, const QString& names);

// Replace the rows with one row per result row of a select statement over
// meitan / Lishi_meitan (coal layout) or Lishi_Peibibiao (proportion layout).
// These use the shared connection, which must be open; a missing column or a
// failing statement throws DbError.
void FillCoalRows(ListData& list, const Statement& statement);
void FillBlendRows(ListData& list, const Statement& statement);

// The same, opening the shared connection for the call when it is absent and
// closing it afterwards.
void FillCoalRows(ListData& list, const AppFolder& folder, const Statement& statement);
void FillBlendRows(ListData& list, const AppFolder& folder, const Statement& statement);

// Stable sort of the rows by the text of one column, as a list view's header
// click does: texts compare as texts (letter case ignored), so "10" sorts
// before "9".
void SortRows(ListData& list, int column, Qt::SortOrder order);

// The config.ini keys (of the eight hideable indices) whose value is 1, in
// the order of the index table.
using HiddenIndexSettings = QStringList;

// Reads the eight keys of section config; only the value 1 hides.
HiddenIndexSettings ReadHiddenIndexSettings(const AppFolder& folder);

// Sets the width of every column to 0 whose header matches a switched-on
// setting: the label of the index, or for G and Y any header holding that
// Latin capital letter (so a proportion column titled with a coal name that
// holds a G goes too).
void HideUnusedColumns(ListData& list, const HiddenIndexSettings& settings);
