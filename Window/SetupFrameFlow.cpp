// The install flow's entry points in the window: the Install click and the entry actions of
// the installing and finish states. Here they do the window's share of each step; the flow's
// own work (folder test, download, silent installer, clean-up) joins them.
#include "common/Log.h"
#include "Window/SetupFrameWnd.h"

void CSetupFrameWnd::OnClickInstall() {
    TLOG("CSetupFrameWnd::OnClickInstall", "OnClickInstall");
}

void CSetupFrameWnd::StartInstallExe() {
    StartProgressTimer();
}

void CSetupFrameWnd::InstallExeFinish() {
    TLOG("CSetupFrameWnd::InstallExeFinish", "InstallExeFinish");
    ShowFinishPage();
}
