// The main window's layout rule and what a resize does to the serial line.
#include "app/main_window.h"

#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "views/timing_grid.h"
#include "views/window_layout.h"
#include "link/serial_port.h"

#include <QEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>

namespace tunara::ui {

void frmTunara_Main::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_loadRan)
        Form_Resize();
}

void frmTunara_Main::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Minimising and restoring count as resizes, as they do on the desktop
    // the program was designed for.
    if (event->type() == QEvent::WindowStateChange && m_loadRan)
        Form_Resize();
}

void frmTunara_Main::layoutViews(double w, double h)
{
    const double tpp = twipsPerPixel();
    // On a small screen the rule alone can push the grids' last rows and
    // scroll bar out of the client area, or leave them too short to scroll.
    // The client area is taken from the window's own size: the central
    // widget's is out of date until the window has been shown.
    const int menuHeight = menuBar()->isVisibleTo(this) ? menuBar()->sizeHint().height() : 0;
    const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
    constexpr int RowsToScroll = 4;  // the headings and three rows of values
    const views::TableViewsLayout layout = views::keepGridsInReach(
        views::layoutTableViews(w, h), views::pixelsToTwips(width(), tpp),
        views::pixelsToTwips(height() - menuHeight - statusHeight, tpp),
        views::pixelsToTwips(m_grid3D->heightToReach(RowsToScroll), tpp));
    const auto place = [tpp](QWidget *view, const views::TwipsRect &r) {
        view->setGeometry(views::twipsToPixels(r.left, tpp), views::twipsToPixels(r.top, tpp), views::twipsToPixels(r.width, tpp),
                          views::twipsToPixels(r.height, tpp));
    };
    const auto fitCells = [tpp](views::TimingGrid *grid, int (*rowHeight)(double)) {
        const QRect client = grid->contentsRect();
        const int columnTwips = views::gridColumnWidth(views::pixelsToTwips(client.width(), tpp));
        const int rowTwips = rowHeight(views::pixelsToTwips(client.height(), tpp));
        grid->setReadableCellSize(views::twipsToCellPixels(columnTwips, tpp), views::twipsToCellPixels(rowTwips, tpp));
    };
    // 2D pair first, then the 3D pair; hidden views are laid out too so a
    // table opens at the right size.
    place(m_chart2D, layout.chart);
    place(m_grid2D, layout.grid);
    fitCells(m_grid2D, views::Grid2DRowHeight);
    place(m_chart3D, layout.chart);
    place(m_grid3D, layout.grid);
    fitCells(m_grid3D, views::Grid3DRowHeight);
}

void frmTunara_Main::Form_Resize()
{
    const double tpp = twipsPerPixel();
    const QRect outer = frameGeometry();
    // The views share the client area with the status bar below them.
    const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
    if (runTrapped(m_errorDialog, [&] {
            layoutViews(views::pixelsToTwips(outer.width(), tpp), views::pixelsToTwips(outer.height() - statusHeight, tpp));
        }) == StepOutcome::Aborted)
        return;
    // A transfer in progress keeps its port and its settings: closing it
    // would leave the module part-written.
    if (transferRunning())
        return;
    // The port is opened again by the next command that needs it.
    if (runTrapped(m_errorDialog, [this] {
            if (m_ctx.port.isOpen())
                m_ctx.port.close();
        }) == StepOutcome::Aborted)
        return;
    if (!isMinimized())
        runTrapped(m_errorDialog, [this] { applySerialSettings(); });
}

}  // namespace tunara::ui
