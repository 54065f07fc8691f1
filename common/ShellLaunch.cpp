#include "common/ShellLaunch.h"

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "common/DynamicImport.h"
#include "common/Log.h"
#include "common/WinHandle.h"

using Microsoft::WRL::ComPtr;

namespace {

// Flags value that the interactive-user task entry point is always called with.
constexpr DWORD kInteractiveTaskFlags = 57;

using RunTaskAsInteractiveUserFn = HRESULT(WINAPI*)(LPCWSTR commandLine, LPCWSTR reserved,
                                                    DWORD flags);

// COM for the current thread, balanced only when this call initialised it.
class ScopedComApartment {
  public:
    explicit ScopedComApartment(DWORD flags = COINIT_APARTMENTTHREADED)
        : result_(::CoInitializeEx(nullptr, flags)) {}
    ~ScopedComApartment() {
        if (SUCCEEDED(result_)) {
            ::CoUninitialize();
        }
    }
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;

    // An apartment of another kind already set up by the caller serves just as well.
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT result_;
};

class ScopedVariant {
  public:
    ScopedVariant() { ::VariantInit(&value_); }
    explicit ScopedVariant(const wchar_t* text) : ScopedVariant() {
        value_.vt = VT_BSTR;
        value_.bstrVal = ::SysAllocString(text);
    }
    explicit ScopedVariant(int number) : ScopedVariant() {
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    ~ScopedVariant() { ::VariantClear(&value_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* get() { return &value_; }

  private:
    VARIANT value_;
};

// A command line naming only the program: quoted, so that a path with blanks cannot be read as
// a shorter program path followed by arguments.
std::wstring QuoteProgramPath(const std::wstring& path) {
    if (path.find(L' ') == std::wstring::npos || (!path.empty() && path.front() == L'"')) {
        return path;
    }
    return L"\"" + path + L"\"";
}

enum class TaskRoute {
    kUnavailable,  // no wdc.dll or no entry point (older systems, Wine)
    kStarted,
    kFailed,
};

TaskRoute RunThroughInteractiveUserTask(const std::wstring& exePath) {
    wchar_t systemFolder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return TaskRoute::kUnavailable;
    }
    // A full path, so that a DLL of the same name elsewhere on the search path is never loaded.
    const std::wstring libraryPath = std::wstring(systemFolder) + L"\\wdc.dll";
    UniqueModule library(::LoadLibraryW(libraryPath.c_str()));
    if (!library) {
        TLOG("LaunchProduct", "wdc.dll not available, error %lu", ::GetLastError());
        return TaskRoute::kUnavailable;
    }
    const auto run = GetExportedFunction<RunTaskAsInteractiveUserFn>(library.get(),
                                                                     "WdcRunTaskAsInteractiveUser");
    if (run == nullptr) {
        TLOG("LaunchProduct", "WdcRunTaskAsInteractiveUser not exported, error %lu",
             ::GetLastError());
        return TaskRoute::kUnavailable;
    }
    const HRESULT result = run(QuoteProgramPath(exePath).c_str(), nullptr, kInteractiveTaskFlags);
    TLOG("LaunchProduct", "WdcRunTaskAsInteractiveUser result 0x%08lx",
         static_cast<unsigned long>(result));
    return SUCCEEDED(result) ? TaskRoute::kStarted : TaskRoute::kFailed;
}

// The desktop shell runs as the interactive user without elevation; asking its own automation
// object to execute the program starts the program in the shell's process context.
HRESULT ShellExecuteThroughDesktop(const std::wstring& exePath) {
    ComPtr<IShellWindows> shellWindows;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                    IID_PPV_ARGS(&shellWindows));
    if (FAILED(hr)) {
        return hr;
    }
    ScopedVariant location(static_cast<int>(CSIDL_DESKTOP));
    ScopedVariant root;
    long desktopWindow = 0;
    ComPtr<IDispatch> desktopDispatch;
    hr = shellWindows->FindWindowSW(location.get(), root.get(), SWC_DESKTOP, &desktopWindow,
                                    SWFO_NEEDDISPATCH, &desktopDispatch);
    if (hr != S_OK || !desktopDispatch) {
        return FAILED(hr) ? hr : E_NOINTERFACE;  // S_FALSE: no desktop shell is running
    }
    ComPtr<IServiceProvider> services;
    hr = desktopDispatch.As(&services);
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IShellBrowser> browser;
    hr = services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser));
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IShellView> view;
    hr = browser->QueryActiveShellView(&view);
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IDispatch> viewDispatch;
    hr = view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&viewDispatch));
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IShellFolderViewDual> folderView;
    hr = viewDispatch.As(&folderView);
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IDispatch> applicationDispatch;
    hr = folderView->get_Application(&applicationDispatch);
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IShellDispatch2> shell;
    hr = applicationDispatch.As(&shell);
    if (FAILED(hr)) {
        return hr;
    }
    BSTR file = ::SysAllocString(exePath.c_str());
    if (file == nullptr) {
        return E_OUTOFMEMORY;
    }
    ScopedVariant arguments(L"");
    ScopedVariant folder(L"");
    ScopedVariant verb(L"open");
    ScopedVariant show(SW_SHOWNORMAL);
    hr = shell->ShellExecute(file, *arguments.get(), *folder.get(), *verb.get(), *show.get());
    ::SysFreeString(file);
    return hr;
}

bool RunThroughDesktopShell(const std::wstring& exePath) {
    ScopedComApartment apartment;
    if (!apartment.usable()) {
        TLOG("LaunchProduct", "COM unavailable for the desktop shell route");
        return false;
    }
    const HRESULT hr = ShellExecuteThroughDesktop(exePath);
    TLOG("LaunchProduct", "desktop shell route result 0x%08lx", static_cast<unsigned long>(hr));
    return SUCCEEDED(hr);
}

bool ShellOpenDirectly(const std::wstring& exePath) {
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", exePath.c_str(), L"", nullptr, SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    TLOG("LaunchProduct", "shell open result %d", static_cast<int>(code));
    return code > 32;
}

}  // namespace

HINSTANCE OpenWithShell(HWND owner, const std::wstring& target) {
    // The shell may hand the target to a handler that needs COM on the calling thread, which
    // may be a worker of the install flow.
    const ScopedComApartment apartment(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    return ::ShellExecuteW(owner, L"Open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool LaunchProduct(const std::wstring& exePath, bool startDirectly) {
    TLOGW("LaunchProduct", L"%s, %s", exePath.c_str(),
          startDirectly ? L"directly" : L"as the interactive user");
    if (startDirectly) {
        return ShellOpenDirectly(exePath);
    }
    switch (RunThroughInteractiveUserTask(exePath)) {
        case TaskRoute::kStarted:
            return true;
        case TaskRoute::kFailed:
            // The product must not run elevated against its setting: nothing else is tried.
            TLOG("LaunchProduct", "the interactive-user task failed; the product is not started");
            return false;
        case TaskRoute::kUnavailable:
            break;
    }
    if (RunThroughDesktopShell(exePath)) {
        return true;
    }
    // Only where the system has no interactive-user task at all: starting the product with this
    // program's rights is better than leaving the user's click without effect.
    TLOG("LaunchProduct", "no interactive-user route worked; starting the product directly");
    return ShellOpenDirectly(exePath);
}
