#pragma once

#include "base/Mei.h"
#include "base/QualityIndex.h"
#include "base/Result.h"
#include "history/PlanHistory.h"
#include "history/PlanTargets.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

// The loader sheet (装车单): what the loader operator is handed for one blend,
// as plain data. How much of each coal goes into the tonnage, in tons and in
// whole shovels; in a shovel plan how many shovels of each coal make one
// cycle and how many cycles load the tonnage; and the blend's indices
// against the targets it was computed for. The windows render it (one A4
// page per sheet) and print it or save it as PDF.

// One coal of the blend.
struct LoaderSheetCoal {
    QString name;
    double parts = 0.0;          // the stored parts; in a shovel plan its shovels per cycle
    double share = 0.0;          // its part of the tonnage by weight, 0 ... 1
    qint64 cents = 0;            // its tons in hundredths of a ton; the coals' add up to the tonnage
    QString shovelWeight;        // tons per shovel as the coal holds it; "" when not given
    // Whole shovels of this coal for the tonnage: in a plan by weight the
    // nearest whole number of shovels to its tons; in a shovel plan its
    // shovels per cycle times the whole cycles. Nothing without a shovel weight.
    std::optional<qint64> shovels;
    qint64 remainderShovels = 0; // shovel plan: its shovels in the last, partial cycle

    double tons() const { return static_cast<double>(cents) / 100.0; }
};

// One quality index of the blend beside its bounds.
enum class BoundCheck {
    Within,    // inside every bound given
    Below,     // under the lower bound
    Above,     // over the upper bound
    Unknown,   // the blend has no value for it (a coal lacks the figure)
};

struct LoaderSheetIndex {
    int index = 0;            // position in QualityIndices()
    QString value;            // the blend's value text; "" when not computable
    QString lower;            // bounds as typed, blanks around dropped; "" = none
    QString upper;
    BoundCheck check = BoundCheck::Unknown;
};

struct LoaderSheet {
    QString title;              // the plan's information text, or what a schedule names the day
    QDateTime date;             // when the sheet is issued
    QDateTime planDate;         // when the plan was computed; invalid when not known
    qint32 tonnage = 0;
    bool shovelMode = false;
    QVector<LoaderSheetCoal> coals;
    qint64 totalCents = 0;      // sum of the coals' tons: the tonnage

    // A shovel plan: one cycle loads each coal's shovels per cycle.
    qint64 shovelsPerCycle = 0; // every coal's shovels of one cycle
    double tonsPerCycle = 0.0;  // what one cycle loads
    qint64 cycles = 0;          // whole cycles within the tonnage
    qint64 remainderCents = 0;  // the tonnage beyond the whole cycles, hundredths of a ton

    double price = 0.0;         // the blend's price per ton
    bool targetsKnown = false;  // indices are checked against stored bounds
    QVector<LoaderSheetIndex> indices;  // bounded indices (or, without bounds, those with a value)

    double totalTons() const { return static_cast<double>(totalCents) / 100.0; }
    double remainderTons() const { return static_cast<double>(remainderCents) / 100.0; }
};

// What a sheet is made from: the blend's coals and their parts (in the same
// order), the blend's record and the bounds it was computed for.
struct LoaderSheetSource {
    QString title;
    QDateTime date;
    QDateTime planDate;
    QVector<Mei> coals;
    std::vector<double> parts;          // one per coal; shovel counts in a shovel plan
    Mei blend;                          // indices and price
    bool shovelMode = false;
    std::optional<PlanTargets> targets; // the bounds; nothing when not known
};

// Makes the sheet for the tonnage. Fails (kind Invalid) when the tonnage is
// not above 0, when there are no coals or no parts, or when a shovel plan's
// coal in the blend has no shovel weight (the message names it).
Result<LoaderSheet> MakeLoaderSheet(const LoaderSheetSource& source, qint32 tonnage);

// The tonnage of a sheet: the typed text when there is one, else the one the
// plan was computed with. Fails (kind Invalid) with the message to show when
// neither is given, or the text is no whole tonnage above 0.
Result<qint32> LoaderTonnage(const QString& typed, const PlanView& plan);

// The sheet of the stored proportion row with that record number of a loaded
// plan. Fails (kind Invalid) when the plan has no such row.
Result<LoaderSheet> LoaderSheetFromPlan(const PlanView& plan, const QDateTime& planDate, int blendId,
                                        qint32 tonnage, const QDateTime& issued);
