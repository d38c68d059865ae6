#pragma once

#include "base/QualityIndex.h"
#include "base/Text.h"

#include <QString>

// What a coal's name and values may be: one rule for the coal editor, the
// workspace grid and the spreadsheet import, so that a coal refused in one
// place cannot come in through another.
//
// The fields of a coal stand in one order everywhere: the name, the fifteen
// indices in index table order, stock, shovel weight, price (the editor's tab
// order, the grid's cells, the import's values).
inline constexpr int kCoalNameField = 0;
constexpr int CoalIndexField(int index) { return index + 1; }
inline constexpr int kCoalStockField = kIndexCount + 1;
inline constexpr int kCoalShovelField = kIndexCount + 2;
inline constexpr int kCoalPriceField = kIndexCount + 3;
inline constexpr int kCoalFieldCount = kIndexCount + 4;

// ---- values --------------------------------------------------------------------

// The limits of a value field (every field but the name).
struct FieldLimits {
    Text label;             // "灰分", "库存", ... as the lists head the value
    QString unit;           // "%", "kcal/kg", "吨", "元/吨" in the source language; "" for a pure number
    ValueRange hard;        // outside it the value cannot be meant
    bool lowOpen = false;   // the hard range leaves out its low end (a shovel weighs more than 0)
    ValueRange plausible;   // outside it the value is possible but worth a second look
};
const FieldLimits& CoalFieldLimits(int field);

enum class ValueFit {
    Fine,
    Implausible,  // accepted after a question (editor) or with a note (import)
    Refused,      // outside the hard range: never stored
};

struct ValueVerdict {
    ValueFit fit = ValueFit::Fine;
    // "灰分 250 超出了范围 0～100%" or "灰分 75 不在常见范围 0～60% 内"; empty when fine.
    Text message;
};

// Where a value of the field stands against its limits.
ValueVerdict CheckCoalValue(int field, double value);

// The hard range as text ("0～100%", "0～1000吨（不含0）"), and the plausible one.
// A field's unit as words ("" for a pure number).
Text UnitText(int field);

Text HardRangeText(int field);
Text PlausibleRangeText(int field);

// A line or two for a tooltip: the unit, the range a value must lie in and
// the range values usually lie in.
Text FieldLimitsTip(int field);

// ---- names ---------------------------------------------------------------------

// The longest name a coal may have, in characters: long enough for a mine, a
// seam and a batch, short enough for every list to show.
inline constexpr int kMaxCoalNameLength = 100;

// The name in its composed form (Unicode NFC), so that a name typed with a
// combining accent and one typed with the accented letter are one name.
QString NormalizedCoalName(const QString& name);

// Why the text cannot be a coal's name: longer than kMaxCoalNameLength, or
// holding a character nobody sees or types into a name (control characters,
// line breaks and tabs, zero-width characters, byte order marks, direction
// overrides), named by its code and position. Empty when the name is sound; the
// empty name is the caller's own message.
Text CoalNameProblem(const QString& name);

// A text with every control or invisible character written as its code
// ("<U+0001>"), so that a message can show what a cell holds.
QString VisibleText(const QString& text);

// The first control or invisible character of the text, or -1.
qsizetype FindInvisibleCharacter(QStringView text);
