#pragma once

#include "editor/table_session.h"

#include <QString>

namespace tunara::ui {

// Added to a question whose yes replaces the image, when the open table
// holds edits that would go with it.
inline QString unsavedTableEditsNote(const editor::TableSession &session)
{
    return session.hasUnsavedEdits()
               ? QStringLiteral("\r\n\r\nThe open timing table holds edits not yet saved to the buffer; they would "
                                "be lost too.")
               : QString();
}

}  // namespace tunara::ui
