// The process-wide WinINet queries of CBaseRequest: connected state and the global options.
// Kept apart because wininet.h cannot share a translation unit with winhttp.h.
#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <new>
#include <string>

#include "common/Log.h"
#include "http/tool/BaseRequest.h"

// These are CBaseRequest's own lines: log them under its source file, not this one's.
#define BASE_REQUEST_LOG(function, ...) \
    LogFormat(function, "BaseRequest.cpp", __LINE__, kLogInfo, __VA_ARGS__)

bool CBaseRequest::IsUseProxyConnect() {
    DWORD flags = 0;
    if (!::InternetGetConnectedState(&flags, 0)) {
        BASE_REQUEST_LOG("CBaseRequest::IsUseProxyConnect",
                         "ERR:InternetGetConnectedState fail 0x%x",
                         static_cast<unsigned>(::GetLastError()));
        return false;
    }
    return (flags & INTERNET_CONNECTION_PROXY) != 0;
}

bool CBaseRequest::QueryInternetOpt(unsigned long option, std::string& bytes) {
    DWORD size = 0;
    // Asked with no buffer only to learn the size: success here means nothing to read.
    if (::InternetQueryOptionW(nullptr, option, nullptr, &size)) {
        return false;
    }
    // Wine's WinINet answers ERROR_INSUFFICIENT_BUFFER for these options without reporting
    // the size; every option read here is at least one 32-bit value.
    if (size == 0 && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        size = sizeof(DWORD);
    }
    std::string buffer;
    try {
        buffer.assign(size, '\0');
    } catch (const std::bad_alloc&) {
        BASE_REQUEST_LOG("CBaseRequest::QueryInternetOpt", "ERR: new %d bytes fail!",
                         static_cast<int>(size));
        return false;
    }
    if (!::InternetQueryOptionW(nullptr, option, buffer.empty() ? nullptr : &buffer[0], &size)) {
        BASE_REQUEST_LOG("CBaseRequest::QueryInternetOpt", "ERR: InternetQueryOption fail! 0x%x",
                         static_cast<unsigned>(::GetLastError()));
        return false;
    }
    buffer.resize(size);
    bytes.swap(buffer);
    return true;
}

bool CBaseRequest::QueryInternetOpt(unsigned long option, unsigned long& value) {
    std::string bytes;
    if (!QueryInternetOpt(option, bytes) || bytes.size() < sizeof(DWORD)) {
        return false;
    }
    DWORD number = 0;
    memcpy(&number, bytes.data(), sizeof(number));
    value = number;
    return true;
}

bool CBaseRequest::InternetSetOpt(unsigned long option, unsigned long value) {
    unsigned long current = 0;
    if (QueryInternetOpt(option, current) && current == value) {
        return true;
    }
    DWORD number = value;
    if (!::InternetSetOptionW(nullptr, option, &number, sizeof(number))) {
        BASE_REQUEST_LOG("CBaseRequest::InternetSetOpt", "ERR: InternetSetOption fail! 0x%x",
                         static_cast<unsigned>(::GetLastError()));
        return false;
    }
    return QueryInternetOpt(option, current) && current == value;
}
