#pragma once

namespace tunara::ui {

class frmTunara_Main;

// Edit > "Edit &Module Parameters" (mnuEditModParams) and "Edit &Idle
// Stabilization And GPIO Parameters" (mnuEditGPIOParams). Each first closes
// an open timing table and then shows its dialog modally; a user who keeps
// the table open (Cancel at the close question) gets no dialog, because a
// mode or trigger timing change under an open table would save the wrong
// table later. Other commands (download, file open) call
// mnuEditModParams_Click the same way.
void ConnectParameterDialogs(frmTunara_Main &window);

void mnuEditModParams_Click(frmTunara_Main &window);
void mnuEditGPIOParams_Click(frmTunara_Main &window);

}  // namespace tunara::ui
