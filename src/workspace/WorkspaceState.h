#pragma once

#include "base/AppFolder.h"
#include "base/QualityIndex.h"
#include "base/Result.h"
#include "workspace/GridRows.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The workspace as the user left it: the grid, the bounds, the options and
// the chosen target set, kept in "workspace.json" in the application folder
// and put back at the next start. The file is replaced whole or not at all,
// so a crash while it is written leaves the previous one; a file that cannot
// be read, or holds anything unexpected, is passed over (the workspace starts
// empty), never trusted in part.

struct WorkspaceState {
    Grid grid;
    std::array<QString, kIndexCount> lower;
    std::array<QString, kIndexCount> upper;
    QString tonnage;          // txtZhongliang
    QString proportionCount;  // txtChanshu
    bool precise = false;     // chkJingque
    bool selectAll = false;   // chkAll
    QString targetSet;        // cboMuban's text

    bool operator==(const WorkspaceState&) const = default;
};

// The file's name in the application folder.
QString WorkspaceFileName();

// The state as the file holds it, and back; nothing when the bytes are not a
// state this program wrote (a damaged or foreign file, a text too long).
QByteArray WorkspaceStateBytes(const WorkspaceState& state);
std::optional<WorkspaceState> ParseWorkspaceState(const QByteArray& bytes);

// Writes the state (the old file stays until the new one is whole).
Status SaveWorkspaceState(const AppFolder& folder, const WorkspaceState& state);

// The kept state; nothing when there is none or it cannot be used.
std::optional<WorkspaceState> LoadWorkspaceState(const AppFolder& folder);
