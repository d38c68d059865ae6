#pragma once

#include "base/Mei.h"
#include "base/Result.h"
#include "base/QualityIndex.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

// The texts of the coal editor's nineteen fields, exactly as typed.
struct CoalFields {
    QString name;                               // txtName
    std::array<QString, kIndexCount> indices;   // the index fields, in index table order
    QString stock;                              // txtKuCun
    QString shovel;                             // txtMeiChan
    QString price;                              // txtJiage

    // Field by its position in the editor's tab order: the name, the
    // fifteen indices in table order, stock, tons per shovel, price.
    QString& at(int position);
    const QString& at(int position) const;

    bool operator==(const CoalFields&) const = default;
};

inline constexpr int kEditorFieldCount = kIndexCount + 4;

// Every failing check, one message per line (each line ended by CR LF): the
// name missing or breaking the name rule, then the price missing, then each
// field that holds text that is not a number, then each number outside the
// range its field can hold (the coal rule shared with the grid and the
// import); fails (kind Invalid) with all of them.
Status CheckFields(const CoalFields& fields);

// The numbers that pass CheckFields but lie outside the range their field
// usually holds, one message each, in the tab order; the editor asks before
// it saves them.
QStringList ImplausibleValues(const CoalFields& fields);

// The coal the fields describe, to be saved under that id (0 = a new coal):
// the name as typed in its composed form (NFC), values through the value text
// rule, the price rounded to two decimals, stamped with the given save time.
Mei CollectCoal(const CoalFields& fields, int id, const QDateTime& savedAt);

// The fields showing a stored coal: the name unchanged, every other value
// through the value text rule (a price of 350 shows 350.00).
CoalFields FieldsFromCoal(const Mei& coal);
