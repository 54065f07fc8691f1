#include "http/WininetHttp.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "common/FileUtil.h"
#include "common/PathUtil.h"
#include "common/TextConvert.h"
#include "http/HttpText.h"
#include "http/HttpUrl.h"
#include "http/tool/ContentLength.h"

namespace {

constexpr wchar_t kAgent[] = L"Http-connect";
constexpr size_t kPieceBytes = 4096;

bool IsEmpty(const wchar_t* url) {
    return url == nullptr || *url == L'\0';
}

}  // namespace

CWininetHttp::~CWininetHttp() {
    CloseHandles();
}

void CWininetHttp::CloseHandles() {
    request_.reset();
    connection_.reset();
    session_.reset();
}

void CWininetHttp::SendRequest(const std::wstring& url, const wchar_t* verb, const char* body,
                               const wchar_t* headers) {
    // Wine's WinINet follows a redirect loop for ever: redirects are followed here, counted.
    std::wstring current = url;
    for (int redirects = 0;; ++redirects) {
        SendOnce(current, verb, body, headers);
        std::wstring next;
        if (!RedirectTarget(current, next)) {
            return;
        }
        if (redirects == kMaxHttpRedirects) {
            throw kHttpErrorTooManyRedirects;
        }
        // As browsers do: only 307 and 308 repeat a POST; the others continue with a GET.
        if (statusCode_ != 307 && statusCode_ != 308) {
            verb = L"GET";
            body = nullptr;
        }
        current = next;
    }
}

void CWininetHttp::SendOnce(const std::wstring& url, const wchar_t* verb, const char* body,
                            const wchar_t* headers) {
    CloseHandles();
    statusCode_ = 0;
    session_.reset(::InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session_) {
        throw kHttpErrorOpen;
    }
    std::wstring host;
    std::wstring path;
    uint16_t port = 0;
    SplitUrl(url, host, path, port);
    const bool secure = port == 443;
    connection_.reset(::InternetConnectW(session_.get(), host.c_str(), port, nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection_) {
        throw kHttpErrorConnect;
    }
    const DWORD flags =
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT |
        (secure ? INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID : 0);
    request_.reset(::HttpOpenRequestW(connection_.get(), verb, path.c_str(), L"HTTP/1.1", nullptr,
                                      nullptr, flags, 0));
    if (!request_) {
        throw kHttpErrorOpen;
    }
    const std::string block = state_.header.BuildHeaderBlock();
    ::HttpAddRequestHeadersA(request_.get(), block.c_str(), static_cast<DWORD>(block.size()),
                             HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    const DWORD headersLength = headers != nullptr ? static_cast<DWORD>(std::wcslen(headers)) : 0;
    const DWORD bodyLength = body != nullptr ? static_cast<DWORD>(std::strlen(body)) : 0;
    if (!::HttpSendRequestW(request_.get(), headers, headersLength, const_cast<char*>(body),
                            bodyLength)) {
        throw kHttpErrorSend;
    }
    wchar_t status[32] = {};
    DWORD size = sizeof(status) - sizeof(wchar_t);
    statusCode_ = ::HttpQueryInfoW(request_.get(), HTTP_QUERY_STATUS_CODE, status, &size, nullptr)
                      ? http_text::LeadingDecimal(std::wstring(status))
                      : 0;
    if (statusCode_ == 404) {
        throw kHttpErrorNotFound;
    }
}

bool CWininetHttp::RedirectTarget(const std::wstring& url, std::wstring& next) {
    if (statusCode_ != 301 && statusCode_ != 302 && statusCode_ != 303 && statusCode_ != 307 &&
        statusCode_ != 308) {
        return false;
    }
    wchar_t location[2048] = {};
    DWORD size = sizeof(location) - sizeof(wchar_t);
    if (!::HttpQueryInfoW(request_.get(), HTTP_QUERY_LOCATION, location, &size, nullptr)) {
        return false;  // nowhere to go: this answer is the response
    }
    std::wstring host;
    std::wstring path;
    uint16_t port = 0;
    SplitUrl(url, host, path, port);
    std::string target;
    switch (ResolveRedirect(WideToAnsi(location), WideToAnsi(path), target)) {
        case kRedirectAbsolute:
            next = AnsiToWide(target);
            return true;
        case kRedirectPath:
            // The port keeps choosing TLS, whatever the scheme says.
            next = L"http://" + host + L":" + std::to_wstring(port) + AnsiToWide(target);
            return true;
        default:
            return false;
    }
}

bool CWininetHttp::AnnouncedLength(int64_t& length) {
    wchar_t text[512] = {};  // 1024 bytes
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (!::HttpQueryInfoW(request_.get(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
        if (::GetLastError() == ERROR_HTTP_HEADER_NOT_FOUND) {
            return false;
        }
        throw kHttpErrorQueryLength;
    }
    if (!ParseContentLength(text, length)) {
        throw kHttpErrorTooLarge;
    }
    return true;
}

size_t CWininetHttp::ReadPiece(char* buffer, size_t capacity) {
    DWORD read = 0;
    if (!::InternetReadFile(request_.get(), buffer, static_cast<DWORD>(capacity), &read)) {
        throw kHttpErrorReadBody;
    }
    return std::min<size_t>(read, capacity);
}

std::string CWininetHttp::Request(const wchar_t* url, int post, const char* body,
                                  const wchar_t* headers) {
    std::string text;
    try {
        if (IsEmpty(url)) {
            throw kHttpErrorEmptyRequestUrl;
        }
        SendRequest(url, post != 0 ? L"POST" : L"GET", body, headers);
        char piece[kPieceBytes + 1];
        while (const size_t read = ReadPiece(piece, kPieceBytes)) {
            if (text.size() + read > static_cast<size_t>(kMaxHttpBufferBytes)) {
                throw kHttpErrorTooLarge;
            }
            text.append(piece, read);
        }
    } catch (HttpInterfaceError code) {
        state_.lastError = code;
        text.clear();
    }
    return text;
}

std::string CWininetHttp::Request(const char* url, int post, const char* body,
                                  const char* headers) {
    const std::wstring wideHeaders = headers != nullptr ? AnsiToWide(headers) : std::wstring();
    const std::wstring wideUrl = AnsiToWide(url != nullptr ? url : "");
    return Request(wideUrl.c_str(), post, body, headers != nullptr ? wideHeaders.c_str() : nullptr);
}

bool CWininetHttp::DownloadToFile(const wchar_t* url, const wchar_t* path) {
    const std::wstring filePath = path != nullptr ? path : L"";
    DownloadFile file(filePath);
    try {
        if (IsEmpty(url)) {
            throw kHttpErrorEmptyUrl;
        }
        SendRequest(url, L"GET", nullptr, nullptr);
        int64_t announced = 0;
        if (!AnnouncedLength(announced)) {
            throw kHttpErrorQueryLength;
        }
        const double total = static_cast<double>(announced);
        std::wstring folder;
        if (GetParentFolder(filePath, folder)) {
            CreateFolderTree(folder);
        }
        file.Create();
        int64_t count = 0;
        char piece[kPieceBytes];
        while (const size_t read = ReadPiece(piece, sizeof(piece))) {
            file.Write(piece, read);
            count += static_cast<int64_t>(read);
            state_.Notify(kHttpEventProgress, total, static_cast<double>(count));
        }
        if (count != announced) {
            throw kHttpErrorReadBody;
        }
        file.Commit();
        state_.Notify(kHttpEventFinished, total, static_cast<double>(count));
        return true;
    } catch (HttpInterfaceError code) {
        return state_.FailDownload(code);
    }
}

bool CWininetHttp::DownloadToBuffer(const wchar_t* url, char** buffer, int* length) {
    if (buffer == nullptr || length == nullptr) {
        return false;
    }
    *buffer = nullptr;
    try {
        if (IsEmpty(url)) {
            throw kHttpErrorEmptyUrl;
        }
        SendRequest(url, L"GET", nullptr, nullptr);
        int64_t announced = -1;
        const bool known = AnnouncedLength(announced);
        if (known && announced > kMaxHttpBufferBytes) {
            throw kHttpErrorTooLarge;
        }
        // Without a length, the body may fill the largest buffer but not pass it.
        const size_t capacity = known ? static_cast<size_t>(announced) : kMaxHttpBufferBytes;
        BodyBuffer body = AllocateBody(capacity);
        size_t count = 0;
        while (count < capacity) {
            const size_t read = ReadPiece(body.get() + count, capacity - count);
            if (read == 0) {
                break;
            }
            count += read;
        }
        char probe = 0;
        if (known ? count != capacity : count == capacity && ReadPiece(&probe, 1) != 0) {
            throw known ? kHttpErrorReadBody : kHttpErrorTooLarge;
        }
        if (!known) {
            if (char* shrunk =
                    static_cast<char*>(std::realloc(body.get(), count > 0 ? count : 1))) {
                body.release();
                body.reset(shrunk);
            }
        }
        *buffer = body.release();
        *length = static_cast<int>(count);
        return true;
    } catch (HttpInterfaceError code) {
        state_.lastError = code;
        return false;
    }
}
