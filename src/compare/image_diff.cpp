#include "compare/image_diff.h"

#include "compare/image_regions.h"
#include "tables/table_axes.h"
#include "tables/table_codec.h"

#include <set>

namespace tunara::compare {

namespace {

std::vector<ParameterDifference> diffParameters(const ModuleParameters &a, const ModuleParameters &b)
{
    const std::vector<ParameterField> fa = parameterFields(a);
    const std::vector<ParameterField> fb = parameterFields(b);
    std::vector<ParameterDifference> out;
    for (size_t k = 0; k < fa.size(); ++k) {
        if (fa[k].value != fb[k].value)
            out.push_back({fa[k], fb[k]});
    }
    return out;
}

// Image bytes whose difference the decoded comparison already shows.
std::set<int> explainedAddresses(const ImageDiff &diff)
{
    std::set<int> addresses;
    for (const ParameterDifference &p : diff.parameters)
        addresses.insert(p.a.address);
    for (const CellDifference &c : diff.cells2D)
        addresses.insert(axes::image2DIndex(c.point));
    for (const CellDifference &c : diff.cells3D)
        addresses.insert(axes::image3DIndex(c.point, c.pressureIndex));
    return addresses;
}

double storedAdvance(double advance, int trig)
{
    return trig - encodeAdvance(trig, advance) * DegreesPerStep;
}

Table2D asStored(Table2D t, int trig)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        t(p, 1) = storedAdvance(t(p, 1), trig);
    return t;
}

Table3D asStored(Table3D t, int trig)
{
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            t(p, m) = storedAdvance(t(p, m), trig);
    return t;
}

void sortBytes(const ModuleImage &a, const ModuleImage &b, ImageDiff &diff)
{
    const std::set<int> explained = explainedAddresses(diff);
    for (int address = ModuleImage::FirstTransferAddress; address <= ModuleImage::LastTransferAddress; ++address) {
        const ByteDifference d{address, a.EEPROMBuffer[address], b.EEPROMBuffer[address]};
        if (d.a == d.b)
            continue;
        if (roleOf(address) == ByteRole::Carried)
            diff.carriedBytes.push_back(d);
        else if (!explained.count(address))
            diff.normalisedBytes.push_back(d);
    }
}

}  // namespace

std::vector<CellDifference> diffTables(const Table2D &a, const Table2D &b)
{
    std::vector<CellDifference> out;
    for (int p = 1; p <= SpeedPoints; ++p) {
        if (a(p, 1) != b(p, 1))
            out.push_back({p, 0, a(p, 1), b(p, 1)});
    }
    return out;
}

std::vector<CellDifference> diffTables(const Table3D &a, const Table3D &b)
{
    std::vector<CellDifference> out;
    for (int row = 1; row <= PressureRows; ++row) {
        const int m = axes::pressureIndexOfGridRow(row);
        for (int p = 1; p <= SpeedPoints; ++p) {
            if (a(p, m) != b(p, m))
                out.push_back({p, m, a(p, m), b(p, m)});
        }
    }
    return out;
}

std::vector<CellDifference> diffAsStored(const Table2D &a, int trigA, const Table2D &b, int trigB)
{
    return diffTables(asStored(a, trigA), asStored(b, trigB));
}

std::vector<CellDifference> diffAsStored(const Table3D &a, int trigA, const Table3D &b, int trigB)
{
    return diffTables(asStored(a, trigA), asStored(b, trigB));
}

ImageDiff diffImages(const ModuleData &a, const ModuleData &b)
{
    ImageDiff diff;
    diff.parameters = diffParameters(a.params, b.params);
    diff.cells2D = diffTables(a.tables.table2D, b.tables.table2D);
    diff.cells3D = diffTables(a.tables.table3D, b.tables.table3D);
    sortBytes(a.image, b.image, diff);
    return diff;
}

}  // namespace tunara::compare
