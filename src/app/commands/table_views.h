#pragma once

namespace tunara::views {
class Chart2DView;
class Chart3DView;
class TimingGrid;
}  // namespace tunara::views

namespace tunara::ui {

// The window's two charts and two grids, as the commands drive them.
struct TableViews {
    views::Chart2DView &chart2D;
    views::Chart3DView &chart3D;
    views::TimingGrid &grid2D;
    views::TimingGrid &grid3D;
};

}  // namespace tunara::ui
