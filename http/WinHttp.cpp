#include "http/WinHttp.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/TextConvert.h"
#include "http/HttpText.h"
#include "http/HttpUrl.h"
#include "http/tool/ContentLength.h"

namespace {

constexpr wchar_t kAgent[] = L"Microsoft Internet Explorer";
constexpr DWORD kPieceBytes = 4096;
// IGNORE_UNKNOWN_CA | IGNORE_CERT_WRONG_USAGE | IGNORE_CERT_CN_INVALID |
// IGNORE_CERT_DATE_INVALID, plus bit 0x1. Windows and Wine refuse the whole value with
// ERROR_INVALID_PARAMETER because of that bit, so certificates stay fully checked.
constexpr DWORD kSecurityFlags = 0x3301;

}  // namespace

CWinHttp::CWinHttp() {
    try {
        OpenSession();
    } catch (HttpInterfaceError code) {
        state_.lastError = code;
    }
}

CWinHttp::~CWinHttp() {
    CloseHandles();
}

void CWinHttp::SetTimeouts(int connectMs, int sendMs, int receiveMs) {
    connectTimeoutMs_ = connectMs;
    sendTimeoutMs_ = sendMs;
    receiveTimeoutMs_ = receiveMs;
}

void CWinHttp::CloseHandles() {
    request_.reset();
    connection_.reset();
    session_.reset();
}

void CWinHttp::OpenSession() {
    session_.reset(::WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session_) {
        throw kHttpErrorOpen;
    }
    // Name resolution is not limited.
    ::WinHttpSetTimeouts(session_.get(), 0, connectTimeoutMs_, sendTimeoutMs_, receiveTimeoutMs_);
}

void CWinHttp::SendRequest(const std::wstring& url, bool post, const char* body,
                           const wchar_t* headers) {
    CloseHandles();
    statusCode_ = 0;
    OpenSession();
    std::wstring host;
    std::wstring path;
    uint16_t port = 0;
    SplitUrl(url, host, path, port);
    const bool secure = port == 443;
    connection_.reset(::WinHttpConnect(session_.get(), host.c_str(), port, 0));
    if (!connection_) {
        throw kHttpErrorConnect;
    }
    request_.reset(::WinHttpOpenRequest(connection_.get(), post ? L"POST" : L"GET", path.c_str(),
                                        nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                        secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request_) {
        throw kHttpErrorOpen;
    }
    // Waiting for the response header has a limit of its own; Wine applies no other to it.
    DWORD responseTimeout = static_cast<DWORD>(receiveTimeoutMs_);
    ::WinHttpSetOption(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                       sizeof(responseTimeout));
    if (secure) {
        DWORD flags = kSecurityFlags;
        ::WinHttpSetOption(request_.get(), WINHTTP_OPTION_SECURITY_FLAGS, &flags, sizeof(flags));
    }
    const std::wstring block = AnsiToWide(state_.header.BuildHeaderBlock());
    ::WinHttpAddRequestHeaders(request_.get(), block.c_str(), static_cast<DWORD>(-1),
                               WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    const DWORD bodyLength = body != nullptr ? static_cast<DWORD>(std::strlen(body)) : 0;
    if (!::WinHttpSendRequest(request_.get(),
                              headers != nullptr ? headers : WINHTTP_NO_ADDITIONAL_HEADERS,
                              headers != nullptr ? static_cast<DWORD>(-1) : 0,
                              body != nullptr ? const_cast<char*>(body) : WINHTTP_NO_REQUEST_DATA,
                              bodyLength, bodyLength, 0)) {
        throw kHttpErrorSend;
    }
    if (!::WinHttpReceiveResponse(request_.get(), nullptr)) {
        // WinHTTP follows redirects itself and gives up after its limit.
        throw ::GetLastError() == ERROR_WINHTTP_REDIRECT_FAILED ? kHttpErrorTooManyRedirects
                                                                : kHttpErrorOpen;
    }
}

void CWinHttp::ReadStatus() {
    wchar_t text[32] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    statusCode_ =
        ::WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_STATUS_CODE,
                              WINHTTP_HEADER_NAME_BY_INDEX, text, &size, WINHTTP_NO_HEADER_INDEX)
            ? http_text::LeadingDecimal(std::wstring(text))
            : 0;
    if (statusCode_ == 404) {
        throw kHttpErrorNotFound;
    }
}

int64_t CWinHttp::AnnouncedLength() {
    wchar_t text[64] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    int64_t length = 0;
    if (!::WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_CONTENT_LENGTH,
                               WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                               WINHTTP_NO_HEADER_INDEX) ||
        !ParseContentLength(text, length)) {
        throw kHttpErrorQueryLength;
    }
    return length;
}

template <typename Sink>
void CWinHttp::ReadBody(Sink&& sink, const BodyLimits& limits) {
    std::vector<char> piece(kPieceBytes);
    HttpInterfaceError queryFailure = limits.firstQueryFailure;
    uint64_t total = 0;
    for (;;) {
        DWORD available = 0;
        if (!::WinHttpQueryDataAvailable(request_.get(), &available)) {
            throw queryFailure;
        }
        queryFailure = kHttpErrorReadBody;
        if (available == 0) {
            return;
        }
        // Refused before the piece grows to that size.
        if (available > limits.maxBytes - total) {
            throw limits.overLimit;
        }
        if (available > piece.size()) {
            piece.resize(available);
        }
        DWORD read = 0;
        if (!::WinHttpReadData(request_.get(), piece.data(), available, &read)) {
            throw kHttpErrorReadBody;
        }
        read = std::min(read, available);
        total += read;
        sink(piece.data(), static_cast<size_t>(read));
    }
}

std::string CWinHttp::Request(const wchar_t* url, int post, const char* body,
                              const wchar_t* headers) {
    std::string text;
    try {
        SendRequest(url != nullptr ? url : L"", post != 0, body, headers);
        ReadStatus();
        ReadBody([&](const char* data, size_t size) { text.append(data, size); },
                 {kHttpErrorReadBody, kMaxHttpBufferBytes, kHttpErrorTooLarge});
    } catch (HttpInterfaceError code) {
        state_.lastError = code;
        text.clear();
    }
    return text;
}

std::string CWinHttp::Request(const char* url, int post, const char* body, const char* headers) {
    const std::wstring wideHeaders = headers != nullptr ? AnsiToWide(headers) : std::wstring();
    return Request(AnsiToWide(url != nullptr ? url : "").c_str(), post, body,
                   headers != nullptr ? wideHeaders.c_str() : nullptr);
}

bool CWinHttp::DownloadToFile(const wchar_t* url, const wchar_t* path) {
    const std::wstring filePath = path != nullptr ? path : L"";
    UniqueFileHandle file;
    try {
        SendRequest(url != nullptr ? url : L"", false, nullptr, nullptr);
        ReadStatus();
        const int64_t announced = AnnouncedLength();
        file.reset(::CreateFileW(filePath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            throw kHttpErrorCreateFile;
        }
        // The whole size is claimed up front, so a full disk shows before the transfer.
        LARGE_INTEGER end;
        end.QuadPart = announced;
        if (!::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) ||
            !::SetEndOfFile(file.get())) {
            throw kHttpErrorWriteFile;
        }
        end.QuadPart = 0;
        ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
        int64_t count = 0;
        // More than announced is not the body the file was sized for.
        ReadBody(
            [&](const char* data, size_t size) {
                DWORD written = 0;
                if (!::WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) ||
                    written != size) {
                    throw kHttpErrorWriteFile;
                }
                count += static_cast<int64_t>(size);
                state_.Notify(kHttpEventProgress, static_cast<double>(announced),
                              static_cast<double>(count));
            },
            {kHttpErrorQueryLength, static_cast<uint64_t>(announced), kHttpErrorReadBody});
        if (count != announced) {
            throw kHttpErrorReadBody;
        }
        return true;
    } catch (HttpInterfaceError code) {
        state_.lastError = code;
        if (file) {
            file.reset();
            ::DeleteFileW(filePath.c_str());
        }
        return false;
    }
}

bool CWinHttp::DownloadToBuffer(const wchar_t* url, char** buffer, int* length) {
    if (buffer == nullptr || length == nullptr) {
        return false;
    }
    *buffer = nullptr;
    try {
        try {
            SendRequest(url != nullptr ? url : L"", false, nullptr, nullptr);
        } catch (HttpInterfaceError) {
            throw kHttpErrorOpen;
        }
        ReadStatus();
        const int64_t announced = AnnouncedLength();
        if (announced > kMaxHttpBufferBytes) {
            throw kHttpErrorTooLarge;
        }
        const size_t size = static_cast<size_t>(announced);
        BodyBuffer body = AllocateBody(size);
        size_t count = 0;
        ReadBody(
            [&](const char* data, size_t piece) {
                std::memcpy(body.get() + count, data, piece);
                count += piece;
            },
            {kHttpErrorQueryLength, size, kHttpErrorReadBody});
        if (count != size) {
            throw kHttpErrorReadBody;
        }
        *buffer = body.release();
        *length = static_cast<int>(count);
        return true;
    } catch (HttpInterfaceError code) {
        state_.lastError = code;
        return false;
    }
}
