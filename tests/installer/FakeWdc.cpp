// Stand-in for the system's wdc.dll in the product-launch tests: records how its interactive-user
// task entry was called and answers with the result the test asks for. Built without the entry
// (TANDREL_FAKE_WDC_WITHOUT_ENTRY) it stands for a wdc.dll that lacks it.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#if defined(TANDREL_FAKE_WDC_WITHOUT_ENTRY)
extern "C" __declspec(dllexport) HRESULT WINAPI WdcSomeOtherEntry() {
    return E_NOTIMPL;
}
#else
// TANDREL_FAKE_WDC_RECORD: file that receives "<flags> <command line>" (UTF-8).
// TANDREL_FAKE_WDC_RESULT: the HRESULT to return, in hexadecimal (0 when unset).
extern "C" __declspec(dllexport) HRESULT WINAPI
    WdcRunTaskAsInteractiveUser(LPCWSTR commandLine, LPCWSTR reserved, DWORD flags) {
    wchar_t path[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"TANDREL_FAKE_WDC_RECORD", path, MAX_PATH) > 0) {
        if (FILE* file = _wfopen(path, L"wb")) {
            std::fprintf(file, "%lu %ls%s", static_cast<unsigned long>(flags),
                         commandLine != nullptr ? commandLine : L"(null)",
                         reserved != nullptr ? " +reserved" : "");
            std::fclose(file);
        }
    }
    wchar_t result[16] = {};
    ::GetEnvironmentVariableW(L"TANDREL_FAKE_WDC_RESULT", result, 16);
    return static_cast<HRESULT>(std::wcstoul(result, nullptr, 16));
}
#endif
