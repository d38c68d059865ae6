#pragma once

#include "data/AppFolder.h"
#include "data/Mei.h"

// Single coals in the table meitan. Each operation opens the shared connection
// for its own work and closes it again; failures reach the caller as DbError.

// Inserts the coal when its id is 0, otherwise overwrites the row with that id.
// Overwriting a row that no longer exists is an error, not a silent no-op.
void SaveCoal(const AppFolder& folder, const Mei& coal);

// The coal with that id, values through the value text rule; an empty Mei when
// there is no such row. id and Riqi are left at their defaults.
Mei LoadCoal(const AppFolder& folder, int id);

// Removes the row with that id; nothing happens when there is none.
void DeleteCoal(const AppFolder& folder, int id);

// A Mei filled from a result row of meitan or Lishi_meitan (name as text,
// values through the value text rule, price rounded to two decimals).
class QSqlRecord;
Mei CoalFromRecord(const QSqlRecord& record);
