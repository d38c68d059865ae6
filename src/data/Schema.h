#pragma once

#include "base/Result.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

// The schema of a coal database, in one place: the tables and indexes the
// program makes, what a file must hold to be taken as a coal database, what
// it must not hold to be trusted, and the steps that bring an older file up
// to date.

// A table with the columns every coal database has.
struct TableColumns {
    QString table;
    QStringList columns;
};

// The four tables every coal database has.
const QVector<TableColumns>& RequiredTables();

// The tables that came after the first four: what a run's targets were
// (Lishi_zhibiao, one row per bounded index; Lishi_canshu, one row per plan
// with the tonnage, the proportion count, the shovel mode and the coals that
// had to take part; Lishi_jizhun, the basis of each index for a plan computed
// with basis weighting). A database made before them is still a coal
// database; it gets them when it is opened or restored.
const QVector<TableColumns>& AddedTables();

// The statements that make a new coal database: every table and its indexes.
QStringList SchemaStatements();

// One step that brings an older file up to date: what it adds, and whether a
// file still lacks it. The steps run in their order; a later backend can keep
// them as its numbered migrations.
struct SchemaStep {
    QString adds;             // the table or index the step makes
    QStringList statements;
};

// The steps a database lacks, in their order; nothing when it is up to date.
// The file is only read.
Result<QVector<SchemaStep>> MissingSteps(QSqlDatabase& db);

// Runs the steps a database lacks in one transaction: the added tables, and
// an index on followid for every plan table that has none (without it the
// history reads every row of a large file for each plan it shows). A file
// that lacks nothing is not written to. The failure's message says why.
Status BringUpToDate(QSqlDatabase& db);

// Checks that a database is a coal database: the four tables with their
// columns (and the columns of an added table that is there). The failure
// (kind Invalid) names what is missing.
Status CheckTables(QSqlDatabase& db);

// Checks that a database holds nothing the program does not make that would
// run or fail inside its own work: no trigger, no view, no virtual (foreign)
// table, no index on one of its tables that is unique, partial or on an
// expression, and nothing else under the name of one of its tables or
// indexes. Tables of other programs, and plain indexes, are left alone. The
// failure (kind Invalid) names what is not trusted.
Status CheckTrusted(QSqlDatabase& db);

// Both checks.
Status CheckSchema(QSqlDatabase& db);
