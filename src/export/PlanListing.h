#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "export/ListData.h"
#include "history/PlanHistory.h"

#include <QString>

// A stored plan as the history window lists it and the plan exports write it.
struct ShownPlan {
    QString information;   // the plan information text, CR LF pairs removed
    ListData coals;        // the participating coals (coal layout)
    ListData blends;       // the proportion rows as shown (tons when converted)
};

// Fills the shown plan's lists from a loaded plan: the coal rows, the
// proportion columns titled after the coals, the proportion rows cheapest
// first. Columns and their widths stay as they are.
void ShowPlan(const PlanView& plan, ShownPlan& shown);

// The convert button of the history window carries the state in its caption:
// either convert caption means the next press converts, the restore caption
// means the list holds tons.
QString ConvertCaption();        // "把如下比例转换成吨", a freshly selected plan
QString ConvertAgainCaption();   // "将如下比例转换成吨", after a restore
QString RestoreCaption();        // "还原"

// What the window shows when its convert button is pressed.
struct TonsPress {
    QString tonnageText;   // txtZhongliang
    QString caption;       // Command1 before the press
    QString information;   // lbZhibiao
    ListData coals;        // lsvMid
};

struct TonsOutcome {
    bool rowsChanged = false;  // blends holds the rows to show
    QString caption;           // Command1 after the press
};

// One press: asks for a tonnage when the box is empty, does nothing without
// rows, restores the stored proportions of the plan when the list holds tons,
// otherwise converts the rows as shown. A failure's message is shown in an OK
// box, and then nothing changed.
Result<TonsOutcome> PressConvert(const AppFolder& folder, int planId, const TonsPress& press, ListData& blends);
