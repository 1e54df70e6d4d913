#include "dialogs/new_3d_table_form.h"

#include "image/module_parameters.h"

#include <algorithm>

namespace tunara::wizards {

int New3DTableForm::timingAt(int position)
{
    return SliderTop - std::clamp(position, 0, SliderTop);
}

New3DTableForm New3DTableForm::opened(int trigTiming)
{
    New3DTableForm f;
    f.TrigTimingVal = std::clamp(trigTiming, 0, SliderTop);
    f.BaseTmgVal = 20;
    f.keepBaseInWindow();
    return f;
}

void New3DTableForm::keepBaseInWindow()
{
    if (BaseTmgVal >= TrigTimingVal)
        BaseTmgVal = TrigTimingVal;
    else if (TrigTimingVal - BaseTmgVal > MaxRetard)
        BaseTmgVal = TrigTimingVal - MaxRetard;
    if (BaseTmgVal < 0)
        BaseTmgVal = 0;
}

void New3DTableForm::moveBaseSlider(int position)
{
    BaseTmgVal = timingAt(position);
    keepBaseInWindow();
}

void New3DTableForm::moveTrigSlider(int position)
{
    TrigTimingVal = timingAt(position);
    keepBaseInWindow();
}

Table3D flatMap(int advance)
{
    // Visited in image order, as every 3D table is; one value makes it flat.
    Table3D map;
    for (int j = 0; j < SpeedPoints * PressureRows; ++j)
        map(j % SpeedPoints + 1, PressureRows - j / SpeedPoints) = advance;
    return map;
}

int baseInWindow(int base, int trigTiming)
{
    return std::clamp(base, trigTiming - MaxRetard, trigTiming);
}

}  // namespace tunara::wizards
