#pragma once

#include "export/CellTable.h"

#include <QStringList>

// A read table as compact text, for comparing with an expected one: rows
// joined by "\n", cells by "|" (empty ones up to the row's last cell), a
// numeric cell marked with a leading "#", a formula without a result "=?".
inline QString Render(const CellTable& table)
{
    QStringList rows;
    for (const TableRow& row : table.rows) {
        QStringList cells;
        for (const TableCell& cell : row) {
            while (cells.size() < cell.column)
                cells << QString();
            cells << (cell.uncomputed ? QStringLiteral("=?") : (cell.number ? QStringLiteral("#") : QString()) + cell.text);
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}
