#pragma once

#include "image/module_image.h"
#include "image/module_parameters.h"
#include "tables/timing_tables.h"

namespace tunara {

// The program-wide data: the image, the parameters decoded from it and the
// two working tables. One instance lives for the whole run and is passed by
// reference to whoever reads or changes it.
struct ModuleData {
    ModuleImage image;
    ModuleParameters params;
    TimingTables tables;
    // Which table regions of the image hold a table put there in this run:
    // a download or a file open fills both, the table editor's save the one
    // it encodes. The upload asks before it sends a region nobody filled.
    struct FilledRegions {
        bool table2D = false;
        bool table3D = false;
    } filledThisRun;
};

}  // namespace tunara
