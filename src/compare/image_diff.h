#pragma once

#include "module/module_data.h"
#include "image/parameter_fields.h"

#include <cstdint>
#include <vector>

// What differs between two module configurations, compared as the program
// reads them: decoded parameters, decoded table cells and the bytes that are
// carried through, with the bytes that differ only where the program
// normalises listed apart.
namespace tunara::compare {

// One table cell that differs. For the 2D curve pressureIndex is 0; for the
// 3D map it is 1..8 (grid row 9 - pressureIndex).
struct CellDifference {
    int point;
    int pressureIndex;
    double a;
    double b;

    double difference() const { return b - a; }
};

// Cell by cell, in grid order (2D: by speed point; 3D: by grid row, then
// speed point). Only column 1 of the 2D curve is a cell; column 2 is the
// trigger-timing line.
std::vector<CellDifference> diffTables(const Table2D &a, const Table2D &b);
std::vector<CellDifference> diffTables(const Table3D &a, const Table3D &b);

// The same, comparing the advances each side would be stored as under its
// own trigger timing (whole steps of 0.0879 degree): a typed 25.0 and a
// decoded 24.9897 are one stored value, not a difference. The values in the
// result are the stored advances.
std::vector<CellDifference> diffAsStored(const Table2D &a, int trigA, const Table2D &b, int trigB);
std::vector<CellDifference> diffAsStored(const Table3D &a, int trigA, const Table3D &b, int trigB);

struct ParameterDifference {
    ParameterField a;
    ParameterField b;
};

struct ByteDifference {
    int address;
    std::uint8_t a;
    std::uint8_t b;
};

struct ImageDiff {
    std::vector<ParameterDifference> parameters;
    std::vector<CellDifference> cells2D;
    std::vector<CellDifference> cells3D;
    std::vector<ByteDifference> carriedBytes;
    // Bytes that differ in the files but read alike: reserved bytes, clamped
    // parameters, 2D cells both stored below 0.
    std::vector<ByteDifference> normalisedBytes;

    bool sameAsRead() const
    {
        return parameters.empty() && cells2D.empty() && cells3D.empty() && carriedBytes.empty();
    }
    bool identical() const { return sameAsRead() && normalisedBytes.empty(); }
};

// Both configurations must be decoded (UpdateParams) from their images.
ImageDiff diffImages(const ModuleData &a, const ModuleData &b);

}  // namespace tunara::compare
