#pragma once

#include "report/report_layout.h"
#include "tables/timing_tables.h"

#include <QString>

#include <vector>

// The before/after page: what changed from another tune to the one printed,
// the parameters that differ with both values and the printed table as a
// grid of differences.
namespace tunara::report {

// One tune as the page heads it.
struct TuneVersion {
    QString name;  // a file name, a point of the tune history
    QString date;  // already formatted
    ModuleParameters params;
    Table2D table2D;
    Table3D table3D;
};

// "Cranking Pulses: 4 → 6" for every parameter line of the listing that
// reads otherwise; a section's option lines ("2D Timing Table Enabled")
// are compared as one.
std::vector<QString> parameterChanges(const ReportInputs &in, const ModuleParameters &before,
                                      const ModuleParameters &after);

// The page's lines: the report's header, both tunes named and dated, the
// parameter changes, then the table's differences (after less before, signed,
// one decimal, an unchanged cell blank) in the table page's two blocks; tables
// of another kind are said to differ and not compared.
std::vector<ReportLine> changesSection(const ReportInputs &in, const TuneVersion &before, const TuneVersion &after);

// Adds the page after the report's others.
void appendChangesPage(ReportDocument &doc, const ReportInputs &in, const TuneVersion &before,
                       const TuneVersion &after);

}  // namespace tunara::report
