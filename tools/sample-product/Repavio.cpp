// The sample product "Orbitane Repavio": one window that names the product and the version it
// was built as, both read from its own version resource.
#include <windows.h>

#include <string>
#include <vector>

namespace {

const wchar_t kWindowClass[] = L"OrbitaneRepavioWindow";

std::wstring g_productName = L"Orbitane Repavio";
std::wstring g_productVersion;

std::wstring ReadVersionString(const std::vector<BYTE>& data, const wchar_t* key) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation)) {
        return std::wstring();
    }
    wchar_t query[128];
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", translation->language,
              translation->codePage, key);
    wchar_t* value = nullptr;
    if (!::VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&value), &length) ||
        length == 0) {
        return std::wstring();
    }
    return value;
}

// The window shows what the resource says, so the two can never disagree.
void LoadOwnVersion() {
    wchar_t path[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) {
        return;
    }
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) {
        return;
    }
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(path, 0, size, data.data())) {
        return;
    }
    const std::wstring name = ReadVersionString(data, L"ProductName");
    if (!name.empty()) {
        g_productName = name;
    }
    g_productVersion = ReadVersionString(data, L"ProductVersion");
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            RECT client;
            ::GetClientRect(window, &client);
            const std::wstring text = g_productName + L"\nVersion " + g_productVersion;
            RECT measured = client;
            ::DrawTextW(dc, text.c_str(), -1, &measured, DT_CENTER | DT_CALCRECT);
            // Centre the two lines vertically as a block.
            const int height = measured.bottom - measured.top;
            client.top = (client.bottom - height) / 2;
            ::SetBkMode(dc, TRANSPARENT);
            ::DrawTextW(dc, text.c_str(), -1, &client, DT_CENTER);
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    LoadOwnVersion();

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassExW(&windowClass);

    const std::wstring title = g_productName + L" " + g_productVersion;
    HWND window =
        ::CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 420, 200, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        // No desktop to show a window on (a headless test machine). The product still runs, so
        // that it can be found and ended by name like a copy with a window, until it is ended.
        ::Sleep(INFINITE);
        return 1;
    }
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
