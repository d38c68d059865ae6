#pragma once

// The run the benchmarks time: ten coals of a yard, six bounds, a tonnage and
// a must-use coal, with the proportion count 1000 (999 models to solve).

#include "base/QualityIndex.h"
#include "workspace/Validation.h"

namespace bench {

inline WorkspaceInput TenCoals()
{
    struct Row {
        const char* name;
        const char* price;
        const char* reliang;
        const char* liu;
        const char* huifen;
        const char* huifafen;
        const char* g;
        const char* kucun;
    };
    const Row rows[] = {
        {"大同", "620", "5800", "0.60", "9.5", "28", "20", "3000"},
        {"神木", "580", "5600", "0.40", "8.0", "33", "5", "2500"},
        {"准格尔", "430", "4600", "0.55", "18.0", "35", "0", "4000"},
        {"阳泉", "660", "6100", "0.90", "11.0", "9", "0", "1500"},
        {"晋城", "700", "6300", "0.45", "10.5", "7", "0", "1800"},
        {"平顶山", "540", "5200", "1.20", "14.0", "30", "60", "2200"},
        {"淮南", "520", "5000", "0.70", "16.5", "36", "40", "2600"},
        {"兖州", "600", "5700", "0.85", "10.0", "38", "70", "2000"},
        {"开滦", "560", "5400", "0.95", "13.0", "32", "75", "2400"},
        {"乌海", "480", "4900", "1.60", "15.5", "26", "85", "3500"},
    };
    WorkspaceInput input;
    for (int r = 0; r < 10; ++r) {
        GridRow& row = input.grid.rows[r];
        row.cells[kNameCell] = QString::fromUtf8(rows[r].name);
        row.cells[kPriceCell] = QLatin1String(rows[r].price);
        row.cells[IndexCell(2)] = QLatin1String(rows[r].reliang);
        row.cells[IndexCell(5)] = QLatin1String(rows[r].liu);
        row.cells[IndexCell(6)] = QLatin1String(rows[r].huifen);
        row.cells[IndexCell(7)] = QLatin1String(rows[r].huifafen);
        row.cells[IndexCell(9)] = QLatin1String(rows[r].g);
        row.cells[kStockCell] = QLatin1String(rows[r].kucun);
    }
    input.lower[2] = QStringLiteral("5300");  // calorific value
    input.upper[5] = QStringLiteral("0.8");   // sulphur
    input.upper[6] = QStringLiteral("12");    // ash
    input.lower[7] = QStringLiteral("22");    // volatile matter
    input.upper[7] = QStringLiteral("32");
    input.lower[9] = QStringLiteral("30");    // caking index
    input.tonnage = QStringLiteral("5000");
    input.grid.rows[7].checked = true;
    input.proportionCount = QStringLiteral("1000");
    return input;
}

}  // namespace bench
