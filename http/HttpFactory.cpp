// The factory of the simple HTTP client family.
#include <new>

#include "http/HttpBase.h"
#include "http/HttpSocket.h"
#include "http/WinHttp.h"
#include "http/WininetHttp.h"

bool CreateHttpInstance(IHttpBase** client, int kind) {
    if (client == nullptr) {
        return false;
    }
    switch (kind) {
        case kHttpClientSocket:
            *client = new (std::nothrow) CHttpSocket();
            break;
        case kHttpClientWininet:
            *client = new (std::nothrow) CWininetHttp();
            break;
        case kHttpClientWinHttp:
            *client = new (std::nothrow) CWinHttp();
            break;
        default:
            *client = nullptr;
            break;
    }
    return *client != nullptr;
}
