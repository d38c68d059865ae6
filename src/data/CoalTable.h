#pragma once

#include "base/AppFolder.h"
#include "base/Mei.h"
#include "base/Result.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class QSqlRecord;

// The coals on hand, in the table meitan. Each operation opens the shared
// connection for its own work (or joins an open one) and closes what it opened.

// Inserts the coal when its id is 0, otherwise overwrites the row with that id.
// Overwriting a row that no longer exists is a failure, not a silent no-op.
// Returns the coal's id.
Result<int> SaveCoal(const AppFolder& folder, const Mei& coal);

// The coal with that id; nothing when there is no such row.
Result<std::optional<Mei>> LoadCoal(const AppFolder& folder, int id);

// Removes the row with that id; nothing happens when there is none.
Status DeleteCoal(const AppFolder& folder, int id);

// Deletes the coals with those numbers in one transaction.
Status DeleteCoals(const AppFolder& folder, const QVector<int>& ids);

// Number of coals in the whole table.
Result<int> CountCoals(const AppFolder& folder);

// Every coal, in the table's own order.
Result<QVector<Mei>> LoadCoals(const AppFolder& folder);

// Coals whose name contains the typed text, exactly as typed (blanks
// included, letter case of Latin letters ignored). Every character is itself:
// a quote, "%" or "_" finds names holding that character.
Result<QVector<Mei>> SearchCoals(const AppFolder& folder, const QString& typed);

// The numbers of the coals SearchCoals finds (every coal when there is no
// search text), in the order LoadCoals and SearchCoals give them.
Result<QVector<int>> LoadCoalIds(const AppFolder& folder, const std::optional<QString>& typed = std::nullopt);

// Hands the same coals, in the same order, to visit, each read with only its
// id and the given columns of meitan (the other values stay empty): what a
// long list needs to sort by one column without holding every coal.
Status VisitCoals(const AppFolder& folder, const std::optional<QString>& typed, const QStringList& columns,
                  const std::function<void(const Mei&)>& visit);

// The coals with those numbers, in ascending number order. Numbers no longer
// in the table give no coal.
Result<QVector<Mei>> LoadCoalsById(const AppFolder& folder, const QVector<int>& ids);

// The names of every coal with its id (the first id for a name held twice).
Result<QVector<std::pair<QString, int>>> LoadCoalNames(const AppFolder& folder);

// A Mei filled from a result row of meitan or Lishi_meitan: the row's id, the
// name as text, values through the value text rule, the price rounded to two
// decimals.
Mei CoalFromRecord(const QSqlRecord& record);
