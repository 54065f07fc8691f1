#include "http/HttpSocket.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "common/Format.h"
#include "common/TextConvert.h"
#include "common/StringUtil.h"
#include "http/HttpUrl.h"
#include "http/ResponseHeaderReader.h"
#include "http/tool/ContentLength.h"

namespace {

constexpr int kBlockBytes = 4096;
constexpr DWORD kReceiveTimeoutMs = 10000;
// A redirect's own body is skipped, to send the next request on the same connection, only
// when it is announced and this small; otherwise the client connects again.
constexpr int64_t kMaxSkippedBody = 65536;

bool StartWinsock() {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

// The announced body length, -1 when there is none. A length that is not a number, or a
// chunked body (not decoded here), is unusable: code 12 rather than a corrupt download.
int64_t AnnouncedLength(const CHttpHeader& response) {
    const std::string encoding = response.FindHeaderNoCase("transfer-encoding");
    if (!encoding.empty() && !EqualsNoCase(encoding, "identity")) {
        throw kHttpErrorTooLarge;
    }
    const std::string text = response.FindHeaderNoCase("content-length");
    int64_t length = -1;
    if (!text.empty() && !ParseContentLength(text.c_str(), length)) {
        throw kHttpErrorTooLarge;
    }
    return length;
}

}  // namespace

void SocketTraits::Close(Type socket) {
    ::closesocket(static_cast<SOCKET>(socket));
}

CHttpSocket::CHttpSocket() {
    // Started once per process, on first use, and left running until the process ends.
    static const bool started = StartWinsock();
    static_cast<void>(started);
}

CHttpSocket::~CHttpSocket() = default;

void CHttpSocket::Connect(const std::string& host, uint16_t port) {
    connecting_ = true;
    // An empty name would resolve to this machine.
    const hostent* entry = host.empty() ? nullptr : ::gethostbyname(host.c_str());
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4 ||
        entry->h_addr_list[0] == nullptr) {
        throw kHttpErrorResolve;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    std::memcpy(&address.sin_addr, entry->h_addr_list[0], 4);
    const auto* bytes = reinterpret_cast<const unsigned char*>(entry->h_addr_list[0]);
    serverAddress_ =
        AnsiToWide(FormatString("%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]));

    socket_.reset();
    socket_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket_) {
        throw kHttpErrorSocket;
    }
    const DWORD timeout = kReceiveTimeoutMs;
    ::setsockopt(socket_.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                 sizeof(timeout));
    if (::connect(socket_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) ==
        SOCKET_ERROR) {
        throw kHttpErrorConnect;
    }
    connecting_ = false;
}

bool CHttpSocket::OpenServer(const std::wstring& url, Target& target) {
    std::wstring host;
    std::wstring path;
    SplitUrl(url, host, path, target.port);
    if (target.port == 443) {
        return false;
    }
    target.host = WideToAnsi(host);
    target.path = WideToAnsi(path);
    Connect(target.host, target.port);
    if (!target.host.empty()) {
        const std::string hostField = target.port == 80
                                          ? target.host
                                          : FormatString("%s:%u", target.host.c_str(), target.port);
        // Ours follows the server; a caller's own "Host" stays.
        const std::string current = state_.header.GetHeader("Host");
        if (current.empty() || current == ownHost_) {
            state_.header.ReplaceHeader("Host", hostField);
            ownHost_ = hostField;
        }
    }
    return true;
}

void CHttpSocket::SendGet(const std::string& path) {
    state_.header.SetPath(path);
    const std::string text = state_.header.BuildRequestText();
    for (size_t sent = 0; sent < text.size();) {
        const int count = ::send(socket_.get(), text.data() + sent,
                                 static_cast<int>(std::min<size_t>(text.size() - sent, 65536)), 0);
        if (count == SOCKET_ERROR || count == 0) {
            throw kHttpErrorSend;
        }
        sent += static_cast<size_t>(count);
    }
}

int CHttpSocket::ReceiveBlock(char* buffer, int capacity) {
    if (state_.observer != nullptr && state_.observer->IsCancelled()) {
        throw kHttpErrorCancelled;
    }
    const int count = ::recv(socket_.get(), buffer, capacity, 0);
    if (count < 0) {
        throw kHttpErrorSocket;
    }
    return count;
}

void CHttpSocket::ReceiveHeader(CHttpHeader& response, std::string& bodyStart) {
    CResponseHeaderReader reader;
    char block[kBlockBytes];
    for (;;) {
        const int count = ReceiveBlock(block, sizeof(block));
        const auto result = count == 0 ? CResponseHeaderReader::kTooLong
                                       : reader.Add(block, static_cast<size_t>(count));
        if (result == CResponseHeaderReader::kComplete) {
            break;
        }
        if (result == CResponseHeaderReader::kTooLong) {
            throw kHttpErrorNoHeader;
        }
    }
    response.ParseResponseHeader(reader.HeaderText());
    bodyStart = reader.BodyStart();
    statusCode_ = response.GetStatusCode();
}

CHttpSocket::Next CHttpSocket::CheckStatus(const CHttpHeader& response, const std::string& path,
                                           std::string& location) {
    const int status = response.GetStatusCode();
    if (status == 400 || status == 404) {
        throw kHttpErrorNotFound;
    }
    if (status < 301 || status > 399) {
        return Next::kDone;
    }
    switch (ResolveRedirect(response.FindHeaderNoCase("location"), path, location)) {
        case kRedirectAbsolute:
            return Next::kNewServer;
        case kRedirectPath:
            return Next::kSamePath;
        default:
            return Next::kDone;  // nowhere to go: this answer is the response
    }
}

bool CHttpSocket::FollowRedirect(Next next, const CHttpHeader& response, size_t bodyReceived,
                                 const std::string& location, Target& target) {
    if (next == Next::kNewServer) {
        return OpenServer(AnsiToWide(location), target);
    }
    const std::string text = response.FindHeaderNoCase("content-length");
    int64_t length = -1;
    if (text.empty() || !ParseContentLength(text.c_str(), length)) {
        length = -1;
    }
    int64_t left = length - static_cast<int64_t>(bodyReceived);
    bool reuse = length >= 0 && length <= kMaxSkippedBody && response.GetVersion() == "HTTP/1.1" &&
                 !EqualsNoCase(response.FindHeaderNoCase("connection"), "close");
    char block[kBlockBytes];
    while (reuse && left > 0) {
        const int count =
            ReceiveBlock(block, static_cast<int>(std::min<int64_t>(left, kBlockBytes)));
        reuse = count > 0;
        left -= count;
    }
    if (!reuse) {
        Connect(target.host, target.port);
    }
    target.path = location;
    return true;
}

bool CHttpSocket::Fetch(const wchar_t* url, CHttpHeader& response, std::string& bodyStart) {
    connecting_ = false;
    Target target;
    if (!OpenServer(url != nullptr ? url : L"", target)) {
        return false;
    }
    for (int redirects = 0;; ++redirects) {
        SendGet(target.path);
        ReceiveHeader(response, bodyStart);
        std::string location;
        const Next next = CheckStatus(response, target.path, location);
        if (next == Next::kDone) {
            return true;
        }
        if (redirects == kMaxHttpRedirects) {
            throw kHttpErrorTooManyRedirects;
        }
        if (!FollowRedirect(next, response, bodyStart.size(), location, target)) {
            return false;
        }
    }
}

bool CHttpSocket::DownloadToFile(const wchar_t* url, const wchar_t* path) {
    DownloadFile file(path != nullptr ? path : L"");
    try {
        CHttpHeader response;
        std::string bodyStart;
        if (!Fetch(url, response, bodyStart)) {
            return false;
        }
        // Without a length the body ends when the server closes the connection.
        const int64_t length = AnnouncedLength(response);
        const double total = length < 0 ? 0.0 : static_cast<double>(length);
        file.Create();
        int64_t count = 0;
        const auto write = [&](const char* data, size_t size) {
            if (length >= 0) {
                size = static_cast<size_t>(
                    std::min<int64_t>(static_cast<int64_t>(size), length - count));
            }
            if (size > 0) {
                file.Write(data, size);
                count += static_cast<int64_t>(size);
                state_.Notify(kHttpEventProgress, total, static_cast<double>(count));
            }
        };
        write(bodyStart.data(), bodyStart.size());
        char block[kBlockBytes];
        while (length < 0 || count < length) {
            const int received = ReceiveBlock(block, sizeof(block));
            if (received == 0 && length < 0) {
                break;
            }
            if (received == 0) {
                throw kHttpErrorReadBody;
            }
            write(block, static_cast<size_t>(received));
        }
        file.Commit();
        state_.Notify(kHttpEventFinished, total, static_cast<double>(count));
        return true;
    } catch (HttpInterfaceError code) {
        return state_.FailDownload(code);
    }
}

bool CHttpSocket::DownloadToBuffer(const wchar_t* url, char** buffer, int* length) {
    if (buffer == nullptr || length == nullptr) {
        return false;
    }
    *buffer = nullptr;
    try {
        CHttpHeader response;
        std::string bodyStart;
        if (!Fetch(url, response, bodyStart)) {
            return false;
        }
        const int64_t announced = AnnouncedLength(response);
        if (announced < 1 || announced > kMaxHttpBufferBytes) {
            throw kHttpErrorTooLarge;
        }
        const size_t size = static_cast<size_t>(announced);
        *length = static_cast<int>(announced);
        BodyBuffer body = AllocateBody(size);
        size_t count = std::min(bodyStart.size(), size);
        std::copy(bodyStart.data(), bodyStart.data() + count, body.get());
        while (count < size) {
            const int received = ReceiveBlock(
                body.get() + count, static_cast<int>(std::min<size_t>(size - count, kBlockBytes)));
            if (received == 0) {
                throw kHttpErrorReadBody;
            }
            count += static_cast<size_t>(received);
        }
        *buffer = body.release();
        return true;
    } catch (HttpInterfaceError code) {
        // A buffer download reports every failure to reach the server as code 1.
        state_.lastError = connecting_ ? kHttpErrorOpen : code;
        return false;
    }
}
