#include "editor/table_edits.h"

#include "editor/selection_ops.h"
#include "editor/table_edit_model.h"

#include <algorithm>

namespace tunara::editor::edits {

namespace {

bool fits(const TableEditModel &model, const CellRect &cells)
{
    return model.isOpen() && !cells.isEmpty() && cells.top >= 0 && cells.left >= 0 && cells.bottom() < model.rows() &&
           cells.right() < model.columns();
}

// Writes the block as one step and words the outcome. The box says the
// limited values unless the edit has a message of its own (`message` not
// null).
TableEdit commit(TableEditModel &model, const CellRect &cells, const BlockResult &result, const QString &stepText,
                 const QString &message = QString())
{
    const ValueBlock before = model.block(cells);
    model.setBlock(cells, result.values, stepText);
    const ValueBlock after = model.block(cells);
    const AdvanceWindow window = model.editWindow();
    TableEdit edit{stepText,
                   true,
                   cells,
                   0,
                   result.limited,
                   limitedNote(result.limited, window),
                   message.isNull() ? limitedMessage(result.limited, window) : message,
                   {}};
    for (std::size_t i = 0; i < after.size(); ++i)
        edit.changed += after[i] != before[i] ? 1 : 0;
    return edit;
}

TableEdit nothing(const QString &stepText)
{
    TableEdit edit;
    edit.stepText = stepText;
    return edit;
}

}  // namespace

TableEdit paste(TableEditModel &model, const PasteRequest &request)
{
    const QString stepText = QStringLiteral("Paste");
    if (!fits(model, request.selection) || request.text.isEmpty())
        return nothing(stepText);
    // The 2D curve has one row: its own copy never spans more.
    OwnCopy own = request.own;
    if (model.kind() != TableKind::Map3D)
        own.rowSpan = 0;
    // Cells of the block that the text leaves alone go back as they were,
    // before rounding too.
    const PasteTable table{model.exactValues(), model.rows(), model.columns(), model.editWindow(), request.headings};
    const PastePlan plan = planPaste(request.text, own, request.selection, table);
    if (!plan.refusal.isEmpty()) {
        TableEdit refused = nothing(stepText);
        refused.refusal = plan.refusal;
        return refused;
    }
    if (plan.target.isEmpty())
        return nothing(stepText);
    TableEdit edit = commit(model, plan.target, plan.result, stepText, pasteMessage(plan, table.window));
    edit.note = pasteNote(plan, table.window);
    return edit;
}

TableEdit modify(TableEditModel &model, const CellRect &cells, const QString &reply)
{
    const QString stepText = QStringLiteral("Modify");
    if (reply.trimmed().isEmpty() || !fits(model, cells))
        return nothing(stepText);
    const std::optional<ModifyExpression> expression = parseModifyReply(reply);
    if (!expression) {
        TableEdit refused = nothing(stepText);
        refused.refusal = modifyRefusal(reply);
        return refused;
    }
    return commit(model, cells,
                  modifyBlock(model.exactBlock(cells), *expression, modifyCeiling(model.kind()), model.editWindow()),
                  stepText);
}

namespace {

// One shaping of the selected block as one step, when it fits the table.
// Like Modify it works from the values before the rounding to the stored
// step, so repeated steps add up.
template <typename Shape>
TableEdit reshape(TableEditModel &model, const CellRect &cells, const QString &stepText, Shape shape)
{
    if (!fits(model, cells))
        return nothing(stepText);
    return commit(model, cells, shape(model.exactBlock(cells), model.editWindow()), stepText);
}

}  // namespace

TableEdit step(TableEditModel &model, const CellRect &cells, double degrees)
{
    return reshape(model, cells, degrees > 0 ? QStringLiteral("Raise") : QStringLiteral("Lower"),
                   [degrees](const ValueBlock &values, const AdvanceWindow &window) {
                       return stepBlock(values, degrees, window);
                   });
}

TableEdit interpolate(TableEditModel &model, const CellRect &cells)
{
    return reshape(model, cells, QStringLiteral("Interpolate"),
                   [&cells](const ValueBlock &values, const AdvanceWindow &window) {
                       return interpolateBlock(values, cells.rows, cells.columns, window);
                   });
}

TableEdit smooth(TableEditModel &model, const CellRect &cells)
{
    return reshape(model, cells, QStringLiteral("Smooth"),
                   [&cells](const ValueBlock &values, const AdvanceWindow &window) {
                       return smoothBlock(values, cells.rows, cells.columns, window);
                   });
}

TableEdit takeCompared(TableEditModel &model, const CellRect &cells, const ValueBlock &compared)
{
    const QString stepText = QStringLiteral("Take Compared Values");
    if (!fits(model, cells) || compared.size() != model.values().size())
        return nothing(stepText);
    const AdvanceWindow window = model.editWindow();
    BlockResult result;
    for (int r = cells.top; r <= cells.bottom(); ++r) {
        for (int c = cells.left; c <= cells.right(); ++c) {
            const double theirs = compared[std::size_t(r * model.columns() + c)];
            const double kept = std::clamp(theirs, window.low, window.high);
            result.limited += kept != theirs ? 1 : 0;
            result.values.push_back(kept);
        }
    }
    TableEdit edit = commit(model, cells, result, stepText, QStringLiteral(""));
    // Said in the status bar alone: the user asked for these values.
    edit.note = QStringLiteral("Took compared values: %1 %2 changed")
                    .arg(edit.changed)
                    .arg(edit.changed == 1 ? QStringLiteral("cell") : QStringLiteral("cells"));
    if (edit.limited > 0)
        edit.note += QStringLiteral("; ") + limitedNote(edit.limited, window);
    return edit;
}

ValueBlock comparedLayout(const TableEditModel &model, const Table2D &table2D, const Table3D &table3D)
{
    ValueBlock values;
    for (int r = 0; r < model.rows(); ++r)
        for (int c = 0; c < model.columns(); ++c)
            values.push_back(model.kind() == TableKind::Map3D
                                 ? table3D(c + 1, TableEditModel::pressureIndexOfRow(r))
                                 : table2D(c + 1, 1));
    return values;
}

}  // namespace tunara::editor::edits
