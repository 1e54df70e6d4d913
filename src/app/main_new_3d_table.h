#pragma once

namespace tunara::ui {

class frmTunara_Main;

// Shows the new 3D table wizard (frmNew3DTable) modally: run by New and by
// the empty-buffer Edit when the 3D table is enabled.
void ShowNew3DTableWizard(frmTunara_Main &window);

}  // namespace tunara::ui
