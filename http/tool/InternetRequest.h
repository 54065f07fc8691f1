// The WinINet back-end of the range request objects. wininet.h stays in the .cpp: it cannot
// share a translation unit with winhttp.h, which the WinHTTP back-end needs.
#pragma once

#include "common/WinHandle.h"
#include "http/tool/BaseRequest.h"

// WinINet handles (HINTERNET) are closed with InternetCloseHandle, defined with the back-end.
struct InternetHandleTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle);
};
using UniqueInternetHandle = UniqueHandleT<InternetHandleTraits>;

// Always HTTPS on port 443, whatever RequestUrl's secure argument says.
class CInternetRequest : public CBaseRequest {
  public:
    CInternetRequest() = default;
    ~CInternetRequest() override;

    const char* GetTypeName() const override { return "Internet"; }
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
    UniqueInternetHandle session_;
    UniqueInternetHandle connection_;
    UniqueInternetHandle request_;
};
