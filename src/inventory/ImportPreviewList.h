#pragma once

#include "export/ListData.h"
#include "inventory/CoalImport.h"

#include <QString>

// An import preview as the import dialog lists it: one line per file row with
// its row number, what the import will do with it, the name, the reasons and
// notes, and the values of the columns the file has, in the coal editor's
// order, each column headed with its unit and its ranges as the header's tip.
// A good row shows its values as they will be stored (with an update, a
// changed value as "old → new" and a blank cell as the stored value it
// keeps); a row with a problem shows the file's own texts, so the user sees
// what to correct.

// The first columns of the list; the values follow from kPreviewFirstValue.
inline constexpr int kPreviewRow = 0;
inline constexpr int kPreviewStatus = 1;
inline constexpr int kPreviewName = 2;
inline constexpr int kPreviewNotes = 3;
inline constexpr int kPreviewFirstValue = 4;

// What the import does with a row: "有问题" (not imported), "新增", and for a
// name the inventory has, "更新" or "跳过" as chosen.
Text ImportRowStatus(const ImportRow& row, ExistingNames existing);

// The status of a row that is not imported because of a problem.
Text ImportProblemStatus();

// "0.80 → 0.60"; an empty value reads "空".
Text ChangeText(const FieldChange& change);

// The list of the whole preview.
ListData ImportPreviewList(const ImportPreview& preview, ExistingNames existing);

// "共 N 行：M 行可以导入，K 行有问题不导入。", then how many names the
// inventory has already, how many rows had a percent sign dropped, what was
// done to whole columns (MJ/kg converted) and how many rows hold values
// outside their usual range.
Text ImportSummaryText(const ImportPreview& preview);

// The header's columns that are not imported, each with the reason; empty
// when every column is imported.
Text UnknownColumnsText(const ImportPreview& preview);
