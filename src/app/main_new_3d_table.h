#pragma once

namespace tunara::ui {

class frmTunara_Main;

// Gives the table editor its new 3D table wizard (frmNew3DTable), shown
// modally by New and by the empty-buffer Edit when the 3D table is enabled.
void InstallNew3DTableWizard(frmTunara_Main &window);

}  // namespace tunara::ui
