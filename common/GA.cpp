#include "common/GA.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>

#include "BuildConfig.h"
#include "common/GAJson.h"
#include "common/Log.h"
#include "common/TextConvert.h"
#include "common/WinHandle.h"
#include "http/HttpBase.h"

namespace {

constexpr wchar_t kParentKey[] = L"SOFTWARE\\WOW6432Node\\Tandrel";
constexpr wchar_t kIdentityKey[] = L"SOFTWARE\\WOW6432Node\\Tandrel\\TandrelDown";
constexpr wchar_t kIdentityValue[] = L"GUID";
constexpr REGSAM kFullAccess = 0xF013F;  // KEY_ALL_ACCESS | KEY_WOW64_64KEY
constexpr DWORD kReadBufferBytes = 2048;
constexpr char kContentType[] = "Content-Type: application/json; charset=utf-8";

// The whole text is ASCII letters, digits and "-", at least one character (the pattern
// "[a-zA-Z0-9\-]+" matched as a whole, without pulling in <regex> and its locale facets).
bool IsUsableIdentity(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '-') {
            return false;
        }
    }
    return true;
}

// A new GUID as "%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X" (the third group in lower
// case) stored as REG_SZ of exactly 36 characters, without a terminator.
std::wstring StoreNewIdentity(HKEY key) {
    GUID guid = {};
    ::CoCreateGuid(&guid);
    char text[64] = {};
    std::snprintf(text, sizeof(text), "%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    const std::wstring identity = AnsiToWide(text);
    // RegSetValueEx counts a terminator in when the character after the data is a null (NT
    // does, and Wine): one more, unstored character keeps the value at 36 characters.
    const std::wstring data = identity + L' ';
    ::RegSetValueExW(key, kIdentityValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                     static_cast<DWORD>(identity.size() * sizeof(wchar_t)));
    return identity;
}

}  // namespace

std::string GAWideToUtf8(const std::wstring& text) {
    return WideToUtf8(AnsiToWide(WideToAnsi(text)));
}

CGA* CGA::GetInstance() {
    static CGA* const instance = new CGA();
    return instance;
}

CGA::CGA() : clientId_(GAWideToUtf8(LoadClientId())) {}

std::wstring CGA::EventCategoryFor(const std::wstring& gaTitle) {
    return gaTitle + L" (Windows version)";
}

std::wstring CGA::BuildCollectUrl() {
    return TANDREL_GA_COLLECT_URL;
}

std::wstring CGA::LoadClientId() {
    HKEY raw = nullptr;
    DWORD disposition = 0;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kParentKey, 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                      &disposition);
    UniqueRegKey parent(raw);
    raw = nullptr;
    disposition = 0;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kIdentityKey, 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                          &disposition) != ERROR_SUCCESS) {
        return std::wstring();
    }
    UniqueRegKey key(raw);
    if (disposition == REG_CREATED_NEW_KEY) {
        return StoreNewIdentity(key.get());
    }
    if (disposition != REG_OPENED_EXISTING_KEY) {
        return std::wstring();
    }
    raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kIdentityKey, 0, kFullAccess, &raw) != ERROR_SUCCESS) {
        return std::wstring();
    }
    UniqueRegKey full(raw);
    wchar_t buffer[kReadBufferBytes / sizeof(wchar_t)] = {};
    DWORD size = kReadBufferBytes;
    if (::RegQueryValueExW(full.get(), kIdentityValue, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
        // The value need not end with a terminator: the text stops at the first null or the
        // end of the buffer.
        const std::wstring stored(buffer, wcsnlen(buffer, sizeof(buffer) / sizeof(wchar_t)));
        if (IsUsableIdentity(GAWideToUtf8(stored))) {
            return stored;
        }
    }
    return StoreNewIdentity(full.get());
}

bool CGA::SendStartInstall() {
    return SendGACommon("Downloader_Start_Install");
}

bool CGA::SendDownloaderInstalled() {
    return SendGACommon("Downloader_Installed");
}

bool CGA::SendInstalledSucceed() {
    return SendGACommon("Installed_Succeed");
}

bool CGA::SendGACommon(const std::string& eventName) {
    TLOG("CGA::SendGACommon", "tran code guid:%s", clientId_.c_str());
    GAPayload payload;
    payload.clientId = clientId_;
    payload.userId = clientId_;
    payload.events.push_back({eventName, GAWideToUtf8(eventCategory_), clientId_});
    rapidjson::Document document;
    CDownloaderGAJSONStruct record(document.GetAllocator(), &payload, 0, {});
    const std::string json = JsonStructToString(record, document);

    IHttpBase* created = nullptr;
    if (!CreateHttpInstance(&created, kHttpClientWinHttp)) {
        return false;
    }
    const std::unique_ptr<IWinHttp, HttpClientReleaser> http(static_cast<IWinHttp*>(created));
    const std::string url = GAWideToUtf8(collectUrl_);
    http->Request(url.c_str(), 1, json.c_str(), kContentType);  // the answer is not used
    const int status = http->GetStatusCode();
    TLOG("CGA::SendGACommon", "request url: %s", url.c_str());
    TLOG("CGA::SendGACommon", "request info: %s", json.c_str());
    TLOG("CGA::SendGACommon", "request ret Code: %d", status);
    return true;
}

unsigned long __stdcall GAEventThreadProc(void* parameter) {
    GAEventTask* task = static_cast<GAEventTask*>(parameter);
    try {
        switch (task->kind) {
            case kGAEventDownloaderInstalled:
                task->ga->SendDownloaderInstalled();
                break;
            case kGAEventInstalledSucceed:
                task->ga->SendInstalledSucceed();
                break;
            default:
                task->ga->SendStartInstall();
                break;
        }
    } catch (...) {
        // A report that cannot be made (out of memory) is lost; the program goes on.
    }
    delete task;
    return 0;
}

void StartGAEventThread(int kind) {
    GAEventTask* task = new (std::nothrow) GAEventTask{CGA::GetInstance(), kind};
    if (task == nullptr) {
        return;
    }
    UniqueHandle thread(::CreateThread(nullptr, 0, GAEventThreadProc, task, 0, nullptr));
    if (!thread) {
        delete task;
    }
}
