// Prints how long a paste takes for clipboard text far larger than a grid,
// and how long the block operations take on a whole 3D map.
#include "editor/selection_ops.h"

#include <chrono>
#include <cstdio>

using namespace tunara::editor;

namespace {

template <typename Work>
double millisecondsPerRun(int runs, Work work)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        work();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

void pasteFigure(const char *name, const QString &text)
{
    const ValueBlock map(8 * 21, 20.0);
    const AdvanceWindow window{8, 30};
    int limited = 0;
    const double ms = millisecondsPerRun(5, [&] {
        const ClipCells cells = parseClipText(text, 8, 21);
        const CellRect target = pasteTarget(CellRect::single(0, 0), 0, 0, cells, 8, 21);
        limited += pasteCells(ValueBlock(map.begin(), map.begin() + target.count()), target.rows, target.columns,
                              cells, window)
                       .limited;
    });
    std::printf("paste %-28s %10lld chars  %8.3f ms\n", name, static_cast<long long>(text.size()), ms);
}

}  // namespace

int main()
{
    QString rows;
    for (int i = 0; i < 10000; ++i)
        rows += QStringLiteral("%1\t21.5\t22.0\r\n").arg(i % 40);
    pasteFigure("10,000 rows", rows);
    pasteFigure("one line of 20 M characters", QString(20'000'000, u'7'));
    pasteFigure("one line of 1 M cells", QStringLiteral("12.5\t").repeated(1'000'000));

    const ValueBlock map(8 * 21, 20.0);
    const AdvanceWindow window{8, 30};
    const ModifyExpression expression = *parseModifyReply(QStringLiteral("-7.5%"));
    const int runs = 10000;
    std::printf("modify whole map       %8.4f ms\n",
                millisecondsPerRun(runs, [&] { (void)modifyBlock(map, expression, 45, window); }));
    std::printf("interpolate whole map  %8.4f ms\n",
                millisecondsPerRun(runs, [&] { (void)interpolateBlock(map, 8, 21, window); }));
    std::printf("smooth whole map       %8.4f ms\n",
                millisecondsPerRun(runs, [&] { (void)smoothBlock(map, 8, 21, window); }));
    return 0;
}
