// The WinHTTP back-end of the range request objects. winhttp.h stays in the .cpp: it cannot
// share a translation unit with wininet.h, which the WinINet back-end needs.
#pragma once

#include "common/WinHandle.h"
#include "http/tool/BaseRequest.h"

// WinHTTP handles (HINTERNET) are closed with WinHttpCloseHandle, defined with the back-end.
struct WinHttpHandleTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle);
};
using UniqueWinHttpHandle = UniqueHandleT<WinHttpHandleTraits>;

class CWinHttpRequest : public CBaseRequest {
  public:
    CWinHttpRequest() = default;
    ~CWinHttpRequest() override;

    const char* GetTypeName() const override { return "WinHttp"; }
    bool GetUrlFileSize(int64_t& size) override;
    int HttpRead(void* buffer, int capacity) override;
    bool OpenSession() override;
    bool ConnectSession(bool secure) override;
    bool OpenRequest(bool secure) override;
    bool SendRequest() override;
    int GetStatusCode() override;
    bool QueryHeader(const wchar_t* name, std::string& value) override;

  protected:
    void CloseHandles() override;

  private:
    // Declared in opening order; CloseHandles releases them in reverse.
    UniqueWinHttpHandle session_;
    UniqueWinHttpHandle connection_;
    UniqueWinHttpHandle request_;
};
