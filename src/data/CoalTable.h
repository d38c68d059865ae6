#pragma once

#include "base/AppFolder.h"
#include "base/Mei.h"
#include "base/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class QSqlRecord;

// The coals on hand, in the table meitan. Each operation opens the shared
// connection for its own work (or joins an open one) and closes what it opened.

// Every add, change and delete of a coal writes, in its own transaction, one
// row to meitan_xiugai per field it gave, changed or removed (the value
// before and after as the coal's texts hold them, a price with two
// decimals), and raises the coal's version (meitan.banbenhao). On a server
// the transaction also tells the other planners' programs (AnnounceChange).

// Who changes the data, as the change record names it: the login name and the
// computer's name, "zhang@PC-3".
QString CurrentChangeUser();

// A coal as it was read, with the version it had then.
struct VersionedCoal {
    Mei coal;
    int version = 0;
};

// How a coal is saved.
struct CoalSaveOptions {
    // The version the editor read; a coal saved by someone else since then
    // is not overwritten. Nothing: overwrite whatever is stored.
    std::optional<int> readVersion;
    QString user;  // "" = CurrentChangeUser()
};

// What a save did.
struct CoalSaveOutcome {
    enum class Kind {
        Saved,
        Conflict,  // someone else saved it since it was read: nothing written
        Gone,      // the coal is no longer in the table: nothing written
    };
    Kind kind = Kind::Saved;
    int id = 0;
    int version = 0;     // the version it has now
    QString savedBy;     // Conflict: who saved it last ("" when the record does not say)
    QDateTime savedAt;   // Conflict: when
};

// Inserts the coal when its id is 0, otherwise overwrites the row with that id.
Result<CoalSaveOutcome> StoreCoal(const AppFolder& folder, const Mei& coal, const CoalSaveOptions& options = {});

// StoreCoal overwriting whatever is stored. Overwriting a row that no longer
// exists is a failure, not a silent no-op. Returns the coal's id.
Result<int> SaveCoal(const AppFolder& folder, const Mei& coal);

// The coal with that id and its version; nothing when there is no such row.
Result<std::optional<VersionedCoal>> LoadStoredCoal(const AppFolder& folder, int id);

// Deletes the coals with those numbers in one transaction, and returns the
// numbers that were no longer there (someone else deleted them first).
Result<QVector<int>> RemoveCoals(const AppFolder& folder, const QVector<int>& ids, const QString& user = QString());

// One row of the change record.
struct CoalChange {
    int id = 0;
    int coalId = 0;
    QDateTime time;
    QString user;
    QString column;  // the column of meitan that changed ("Name", "Liu", "JiaGe" ...)
    QString before;  // "" for none (an added coal)
    QString after;   // "" for none (a deleted coal)
};

// The change record of one coal, newest first.
Result<QVector<CoalChange>> LoadCoalChanges(const AppFolder& folder, int coalId);

// The coal with that id; nothing when there is no such row.
Result<std::optional<Mei>> LoadCoal(const AppFolder& folder, int id);

// Removes the row with that id; nothing happens when there is none.
// (RemoveCoals says whether it was there.)
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
