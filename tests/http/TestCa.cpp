#include "TestCa.h"

#include <windows.h>
#include <wincrypt.h>

#include <memory>

#include "common/Format.h"
#include "common/WinHandle.h"

namespace {

struct CertStoreCloser {
    void operator()(void* store) const { ::CertCloseStore(store, 0); }
};

std::string ReadWholeFile(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) {
        path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    UniqueFile file(::_wfopen(path.c_str(), L"rb"));
    std::string bytes;
    char buffer[4096];
    size_t count = 0;
    while (file && (count = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0) {
        bytes.append(buffer, count);
    }
    return bytes;
}

}  // namespace

std::string TestCaFolder() {
    return std::string(TANDREL_BINARY_DIR) + "/tests/http/testca";
}

bool TrustTestCa(std::string& error) {
    const std::string pem = ReadWholeFile(TestCaFolder() + "/ca.crt");
    if (pem.empty()) {
        error = "no test CA certificate in " + TestCaFolder();
        return false;
    }
    DWORD size = 0;
    if (!::CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()),
                                CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
        error = "the test CA certificate is not PEM";
        return false;
    }
    std::string der(size, '\0');
    ::CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                           reinterpret_cast<BYTE*>(&der[0]), &size, nullptr, nullptr);
    std::unique_ptr<void, CertStoreCloser> store(
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
    if (!store || !::CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING,
                                                      reinterpret_cast<const BYTE*>(der.data()),
                                                      size, CERT_STORE_ADD_USE_EXISTING, nullptr)) {
        error = FormatString("cannot add the test CA to the Root store (%lu)", ::GetLastError());
        return false;
    }
    return true;
}
