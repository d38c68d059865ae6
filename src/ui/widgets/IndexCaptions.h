#pragma once

#include "base/QualityIndex.h"
#include "workspace/GridRows.h"

#include <QString>
#include <QStringList>

#include <array>

// How the windows show the fifteen quality indices, in the index table's
// order: the captions (source texts, translated by IndexCaption) and the
// object names of their controls.
struct IndexView {
    const char* editorLabel;     // caption in the coal editor (context "IndexEditorCaption")
    const char* workspaceLabel;  // caption above the workspace grid column
    const char* targetCaption;   // caption above the bound column in the target panel
    const char* gridCell;        // grid column control array (txtNeishui_0 ...)
    const char* boundBox;        // bound boxes are boundBox + "Min" / "Max"
    const char* editorField;     // text box name in the coal editor
    bool lowerEnabled;           // bound box enabled while precision control is off
    bool upperEnabled;
};

const std::array<IndexView, kIndexCount>& IndexViews();

// A caption of the table in the interface language.
QString IndexCaption(const char* caption);

// The index's short name, as lists and exports head its column, in the
// interface language.
QString IndexHeader(int index);

// Object name of a grid column's control array, by cell.
QString GridCellName(int cell);

// The coal editor's field names in tab order (the name, the fifteen indices,
// stock, tons per shovel, price), and the caption beside each.
const QStringList& EditorFieldNames();
QStringList EditorFieldLabels();
