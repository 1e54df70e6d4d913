#pragma once

#include <vector>

namespace tunara::editor {

// A rectangle of cells of the open table, in the editing model's own
// coordinates: row and column counted from 0 over the data cells only (the
// grids' heading row and column are not part of it). Row r is grid row
// r + 1 and column c is grid column c + 1, so a grid selection maps onto a
// rectangle by subtracting one from each corner.
struct CellRect {
    int top = 0;
    int left = 0;
    int rows = 0;
    int columns = 0;

    static CellRect single(int row, int column) { return {row, column, 1, 1}; }

    bool isEmpty() const { return rows <= 0 || columns <= 0; }
    int count() const { return isEmpty() ? 0 : rows * columns; }
    int bottom() const { return top + rows - 1; }
    int right() const { return left + columns - 1; }
    bool contains(int row, int column) const
    {
        return row >= top && row <= bottom() && column >= left && column <= right();
    }
    bool operator==(const CellRect &) const = default;
};

// The values of a rectangle, row after row (left to right, top to bottom).
using ValueBlock = std::vector<double>;

}  // namespace tunara::editor
