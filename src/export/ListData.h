#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What a list window shows, as plain data: columns with a header and a width
// in twips (1/1440 inch; 0 means hidden, but the column is still exported) and
// rows whose first cell is the record's key and whose further cells are the
// sub-items in column order. All cells are text. The list widget shows one of
// these and hands it back in the order the user sees, so the exports and the
// tons conversion work on the rows as shown without touching a widget.

struct ListColumn {
    QString header;
    int width = 0;  // twips
    QString tip;    // what the header's tooltip says; "" for none
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

    int columnCount() const { return static_cast<int>(columns.size()); }
    int rowCount() const { return static_cast<int>(rows.size()); }
    QString cell(int row, int column) const { return rows[row].cell(column); }
    void setCell(int row, int column, const QString& value) { rows[row].setCell(column, value); }

    void addColumn(const QString& header, int width, const QString& tip = QString())
    {
        columns.append({header, width, tip});
    }
    void clearColumns() { columns.clear(); }
    void clearRows() { rows.clear(); }

    // Position of the first column whose header equals the text; -1 when none.
    int findColumn(const QString& header) const;

    // The cells of one column, top to bottom.
    QStringList columnCells(int column) const;
};

// The record numbers in the first column of list rows. Texts that are not a
// whole number above 0 are left out: only numbers ever reach a statement.
QVector<int> IdsFromKeys(const QStringList& keys);
