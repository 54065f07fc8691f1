#include "Window/SetupShell.h"

#include <string>

#include "common/LanguageManager.h"
#include "common/Log.h"
#include "common/SystemInfo.h"
#include "common/WinHandle.h"
#include "Window/EmbeddedPackage.h"

namespace {

constexpr wchar_t kClassName[] = L"SetupMainFrame";

struct SetupEnvironment {
    std::wstring workFolder;
    LanguageManager language;
};

void PrepareEnvironment(SetupEnvironment& env) {
    env.workFolder = GetWorkFolder();
    LogInit(L"tandrel_down.log", (env.workFolder + L"Log").c_str());
    LoadResZipFile(env.workFolder);
    env.language.Init(env.workFolder + L"language\\");
    env.language.SetCustomValue(LoadDomainFile());
    TLOGW("CSetupFrameWnd::InitData", L"Windows Version:%s", GetWindowsProductName().c_str());
    TLOGW("CSetupFrameWnd::InitData", L"Windows Bit:%s", IsNative64Bit() ? L"x64" : L"x86");
    TLOGW("CSetupFrameWnd::InitData", L"downloader version:%s",
          GetFileVersionString(GetModulePath()).c_str());
}

LRESULT CALLBACK ShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            RECT client;
            ::GetClientRect(window, &client);
            wchar_t title[256] = {};
            ::GetWindowTextW(window, title, 256);
            // The stock system font has no Arabic or CJK glyphs; the UI face has, through the
            // system's font linking.
            UniqueGdiObject font(::CreateFontW(
                -18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI"));
            const HGDIOBJ oldFont = ::SelectObject(dc, font.get());
            const bool rtl = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
            ::DrawTextW(dc, title, -1, &client,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | (rtl ? DT_RTLREADING : 0));
            ::SelectObject(dc, oldFont);
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(18);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int RunSetupShell(HINSTANCE instance) {
    SetupEnvironment env;
    PrepareEnvironment(env);
    const std::wstring title = env.language.GetText(L"STR_MESSAGEBOX_TITLE");

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &ShellProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(101));
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /*IDC_ARROW*/);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);

    // Right-to-left languages mirror the whole window.
    const DWORD exStyle = env.language.IsRightToLeft() ? WS_EX_LAYOUTRTL : 0;
    HWND window = ::CreateWindowExW(exStyle, kClassName, title.c_str(), 0x96C80000, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 650, 360, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 0;
    }
    ::ShowWindow(window, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
