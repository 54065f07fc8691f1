// CSetupFrameWnd's controls: their texts at start-up, the notification routing, the licence
// check box, the fold-out panel with the install folder and its dialog, the tip line, the
// licence page and the Start button.
#include <shlobj.h>

#include "common/FileUtil.h"
#include "common/Log.h"
#include "common/ShellLaunch.h"
#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/TabLayout.h"
#include "Window/SetupFrameWnd.h"

using namespace SkinUI;

namespace {

// The fold-out panel's height in the skin: the window grows and shrinks by it.
constexpr int kPanelHeight = 75;

// The folder dialog opens on the folder the path box shows.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data != 0) {
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

}  // namespace

void CSetupFrameWnd::SetControlText(const wchar_t* name, const wchar_t* key) {
    if (CControlUI* control = FindControl(name)) {
        control->SetText(language_.GetText(key));
    }
}

void CSetupFrameWnd::SetControlVisible(const wchar_t* name, bool visible) {
    if (CControlUI* control = FindControl(name)) {
        control->SetVisible(visible);
    }
}

void CSetupFrameWnd::InitControls() {
    SetControlText(L"btn_install", L"STR_INSTALL");
    SetControlText(L"btn_hide", L"STR_HIDE");
    SetControlText(L"text_install", L"STR_INSTALLING");
    SetControlText(L"btn_start", L"STR_START");
    SetControlText(L"label_path", L"STR_INSTALL_PATH");

    if (CControlUI* tips = FindControl(L"control_tip")) {
        const std::wstring image =
            workFolder_ + L"language\\" + language_.GetLanguageName() + L"\\install_tips.png";
        if (FileExists(image)) {
            tips->SetBkImage(image);
        }
    }
    pathEdit_ = dynamic_cast<CEditUI*>(FindControl(L"edit_path"));
    if (pathEdit_ != nullptr) {
        pathEdit_->SetText(InstallPath());
        pathEdit_->SetReadOnly(true);
    }
    SetControlText(L"btn_browse", L"STR_BROWSE");
    SetControlText(L"btn_lisence", L"STR_LISENCE");
    SetControlText(L"label_install", L"STR_INSTALLING");

    if (auto* agree = dynamic_cast<CCheckBoxUI*>(FindControl(L"chk_agree"))) {
        agree->SetCheck(true, true);
    }
    foldCheck_ = dynamic_cast<CCheckBoxUI*>(FindControl(L"chk_fold"));
    if (foldCheck_ != nullptr) {
        foldCheck_->SetText(language_.GetText(L"STR_CUSTOMIZE_INSTALL"));
        // Already unchecked in the skin: no notification, the window keeps the skin's size.
        foldCheck_->SetCheck(false, true);
    }
    SetDownloadUrl(language_.GetDownloadUrl());
}

void CSetupFrameWnd::Notify(SkinNotify& msg) {
    if (msg.sender != nullptr && msg.sender->GetName() == L"edit_path" &&
        msg.type == SkinNotifyType::kSetFocus) {
        // The read-only path box opens the folder dialog. The dialog opens once the press
        // that focused the box is over, not in the middle of it; the focus then moves on so
        // that the box does not keep it and open the dialog again.
        PostToGuiThread([this] {
            OnClickBrowse();
            if (CControlUI* browse = FindControl(L"btn_browse")) {
                browse->SetFocus();
            }
        });
    }
    CSkinWindowBase::Notify(msg);
}

void CSetupFrameWnd::HandleClick(SkinNotify& msg) {
    const std::wstring name = msg.sender != nullptr ? msg.sender->GetName() : std::wstring();
    if (name == L"btn_install") {
        OnClickInstall();
    } else if (name == L"btn_browse") {
        OnClickBrowse();
    } else if (name == L"btn_hide") {
        ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == L"btn_start") {
        OnClickStart();
    } else if (name == L"btn_lisence") {
        OnClickLicence();
    }
    CSkinWindowBase::OnControlClick(msg);
}

void CSetupFrameWnd::HandleSelectChanged(SkinNotify& msg) {
    const std::wstring name = msg.sender != nullptr ? msg.sender->GetName() : std::wstring();
    if (name == L"tab_home") {
        SelectPage(kHomePage);
    } else if (name == L"tab_progress") {
        SelectPage(kProgressPage);
    } else if (name == L"chk_fold") {
        OnFoldChanged();
    } else if (name == L"chk_agree") {
        OnAgreeChanged();
    }
}

void CSetupFrameWnd::HandleTextChanged(SkinNotify& msg) {
    if (msg.sender != nullptr && msg.sender->GetName() == L"edit_path") {
        ShowTip(std::wstring());
    }
}

void CSetupFrameWnd::OnAgreeChanged() {
    auto* agree = dynamic_cast<CCheckBoxUI*>(FindControl(L"chk_agree"));
    CControlUI* install = FindControl(L"btn_install");
    if (agree != nullptr && install != nullptr) {
        install->SetEnabled(agree->GetCheck());
    }
}

void CSetupFrameWnd::OnFoldChanged() {
    CControlUI* panel = FindControl(L"bottomLayout");
    if (panel == nullptr || foldCheck_ == nullptr) {
        return;
    }
    const bool unfold = foldCheck_->GetCheck();
    panel->SetAttribute(L"visible", unfold ? L"true" : L"false");
    // The client area grows or shrinks by the panel; whatever frame the window has stays.
    RECT window = {};
    ::GetWindowRect(GetHWND(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top + (unfold ? kPanelHeight : -kPanelHeight);
    ::SetWindowPos(GetHWND(), nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSetupFrameWnd::ShowTip(const std::wstring& text) {
    OnGuiThread([this, text] {
        if (tipLabel_ != nullptr) {
            tipLabel_->SetText(text);
            tipLabel_->SetVisible(!text.empty());
        }
        if (!text.empty() && foldCheck_ != nullptr) {
            foldCheck_->SetCheck(true, true);
        }
    });
}

void CSetupFrameWnd::OnClickBrowse() {
    const std::wstring title = language_.GetText(L"STR_SELECT_FOLDER");
    const std::wstring current = pathEdit_ != nullptr ? pathEdit_->GetText() : std::wstring();
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = GetHWND();
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(current.c_str());
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&info);
    if (item == nullptr) {
        return;  // cancelled: nothing changes
    }
    wchar_t path[MAX_PATH] = {};
    const bool gotPath = ::SHGetPathFromIDListW(item, path) != FALSE;
    ::CoTaskMemFree(item);
    // A virtual folder (Computer, Network) has no path: the box keeps its folder.
    if (gotPath && pathEdit_ != nullptr) {
        pathEdit_->SetText(path);
        ShowTip(std::wstring());
    }
}

void CSetupFrameWnd::OnClickLicence() {
    OpenWithShell(GetHWND(), language_.GetLicenceUrl());
}

void CSetupFrameWnd::OnClickStart() {
    const bool runAsAdmin = language_.IsRunAsAdmin();
    const std::wstring exe = InstallPath() + language_.GetProductExePath();
    LaunchProduct(exe, runAsAdmin);
    Close(kCloseWithoutQuestion);
}
