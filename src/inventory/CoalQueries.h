#pragma once

#include "data/AppFolder.h"
#include "data/Dbconnection.h"
#include "data/Mei.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The reads and deletes of the inventory window and the coal selection dialog.

// Number of coals in the whole table (opens and closes the shared connection).
int CountCoals(const AppFolder& folder);

// Every coal, in the table's own order.
Statement AllCoalsStatement();

// Coals whose name contains the typed text. The text travels as a bound value,
// exactly as typed (leading and trailing blanks included), so a quote is just a
// character of the name and nothing typed can alter the statement.
Statement SearchStatement(const QString& typed);

// A search needs something besides blanks.
bool SearchTextMissing(const QString& typed);

// The record numbers in the first column of list rows. Texts that are not a
// whole number above 0 are left out: only numbers ever reach a statement.
QVector<int> IdsFromKeys(const QStringList& keys);

// The coals with those numbers, in ascending number order (the table's own
// order), each with its id set and its values through the value text rule.
// Numbers no longer in the table give no coal.
QVector<Mei> LoadCoalsById(const AppFolder& folder, const QVector<int>& ids);

// Deletes the coals with those numbers in one transaction.
void DeleteCoals(const AppFolder& folder, const QVector<int>& ids);
