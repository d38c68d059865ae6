#pragma once

#include "base/Mei.h"

#include <array>

// The basis a laboratory figure is reported on: as received (the coal as it
// is loaded), air-dried, dry, or dry and ash-free. A blend's value of an index
// on a basis other than as received is an average over the coals' mass on that
// basis, not over their tons as loaded.
enum class Basis { AsReceived, AirDried, Dry, DryAshFree };

// A closed interval of values.
struct ValueRange {
    double low = 0.0;
    double high = 0.0;
    bool contains(double v) const { return v >= low && v <= high; }
};

// The fifteen quality indices, in their one fixed order (inherent moisture
// first, recovery rate last): what each figure is, where it is stored, and
// the words the core's messages and exports name it by (source texts, marked
// for translation under "CoreText"). How the windows show an index is their
// own table (IndexViews).
struct QualityIndex {
    const char* property;        // Mei property name
    QString Mei::*member;        // the Mei member holding the value text
    const char* column;          // column in meitan and the history tables
    const char* captionAliases;  // other captions the program has shown it under, "|"-separated
    const char* listHeader;      // header in the coal and proportion lists
    const char* hideKey;         // config.ini key hiding the column; "" = always shown

    // What the figure is.
    Basis basis;                 // the basis a laboratory reports it on, unless the settings say otherwise
    const char* unit;            // "%", "kcal/kg", "mm", "℃"; "" for a pure number
    ValueRange hardRange;        // a value outside cannot be a measurement of this index
    ValueRange plausibleRange;   // a value outside is possible but worth a second look

    // Texts of the input checks and the plan description.
    const char* numberMessage;   // "...值请填写成数字" of the grid check
    const char* targetLabel;     // label in "请将<label>的指标下限填写成数字！"
    const char* coverageLabel;   // label in the missing-value message
    const char* describeLabel;   // label in the plan description

    // Coal editor.
    const char* editorMessage;   // "填写的...必须是数字"

    // Manual calculator result text.
    const char* resultLabel;
};

inline constexpr int kIndexCount = 15;

// The table, in the fixed order.
const std::array<QualityIndex, kIndexCount>& QualityIndices();

// Index of the recovery rate in the table (its messages have their own wording).
inline constexpr int kRecoveryIndex = 14;

inline QString& IndexValue(Mei& coal, int i) { return coal.*(QualityIndices()[i].member); }
inline const QString& IndexValue(const Mei& coal, int i) { return coal.*(QualityIndices()[i].member); }
