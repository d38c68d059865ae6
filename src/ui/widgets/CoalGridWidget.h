#pragma once

#include "workspace/GridRows.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The ten-row coal grid shared by the workspace and the manual calculator: per
// row an optional must-blend box chk_i, the nineteen text cells txtMingcheng_i
// ... txtJiage_i and the delete button btnDel_i, under one caption per column.
// A grid layout gives every column room for its caption and for the longest
// usual value, and shares any extra width among the cells. Tab runs across a
// row (box, name, indices, stock, shovel weight, price, as shown) and then
// on to the next row. The grid copies itself to and from the plain Grid.
class CoalGridWidget : public QWidget {
    Q_OBJECT
public:
    struct Options {
        bool checkBoxes = true;
        // Cells (GridRows positions) from left to right; empty = name, the
        // fifteen indices, stock, shovel weight, price.
        QList<int> columnOrder;
        // Caption overrides by cell position (for example the calculator's
        // proportion column).
        QMap<int, QString> captions;
    };

    explicit CoalGridWidget(const Options& options, QWidget* parent = nullptr);

    Grid grid() const;
    void setGrid(const Grid& grid);

    QCheckBox* check(int row) const { return checks_[row]; }  // nullptr without boxes
    QLineEdit* cell(int row, int cell) const { return cells_[row][cell]; }

    // Empties row's nineteen cells; its box keeps its state.
    void btnDel_Click(int row);

private:
    QList<QWidget*> tabOrder_;
    std::array<QCheckBox*, kGridRows> checks_{};
    std::array<std::array<QLineEdit*, kGridCells>, kGridRows> cells_{};
    std::array<QPushButton*, kGridRows> deletes_{};
};
