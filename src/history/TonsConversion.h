#pragma once

#include "data/AppFolder.h"
#include "export/ListData.h"

#include <optional>

// Turning a plan's proportion rows into tons of each coal for a wanted
// quantity, in place, and back. The convert button of the history window
// carries the state in its caption: either convert caption means the next
// press converts, the restore caption means the list holds tons.

QString ConvertCaption();        // "把如下比例转换成吨", a freshly selected plan
QString ConvertAgainCaption();   // "将如下比例转换成吨", after a restore
QString RestoreCaption();        // "还原"

// A plan whose information text carries the shovel marker holds shovel counts.
bool IsShovelCountPlan(const QString& information);

// 1-based position of the coal list's "每铲重量" column; 0 when there is none.
int FindShovelColumn(const ListData& coals);

// The tonnage typed by the user as a whole number (halves to even); nothing
// when the text is not a number.
std::optional<qint32> ParseTonnage(const QString& text);

// Converts the proportion cells of every row (one column per participating
// coal) into tons: each row's proportions are summed, the sum rounded to a
// whole number (halves to even) after every addition, shovel counts first
// weighted by the coal's shovel weight, and each cell becomes its share of the
// tonnage with two decimals. Other cells stay. Returns "" on success; when a
// row's sum is 0 nothing is changed and the message says which row.
QString ConvertToTons(ListData& blends, const ListData& coals, qint32 tonnage, bool shovelPlan);

// What the window shows and does after a press of the convert button.
struct TonsPress {
    QString tonnageText;   // txtZhongliang
    QString caption;       // Command1 before the press
    QString information;   // lbZhibiao
    ListData coals;        // lsvMid
};

struct TonsOutcome {
    QString message;             // shown in an OK box when not empty; nothing changed then
    bool rowsChanged = false;    // blends holds the rows to show
    QString caption;             // Command1 after the press
};

// One press: asks for a tonnage when the box is empty, does nothing without
// rows, restores the stored proportions of the plan when the list holds tons,
// otherwise converts. blends is the list as shown.
TonsOutcome PressConvert(const AppFolder& folder, int planId, const TonsPress& press, ListData& blends);
