#include "common/InstallerTrust.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdint>
#include <vector>

#include "BuildConfig.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/PeHeader.h"
#include "common/TextConvert.h"

namespace {

// The build profile's publishers (config/profiles.cmake).
constexpr const char* kPublisherKeys[] = {TANDREL_PUBLISHER_KEY_SHA256};

// The codes of a file that carries no Authenticode signature that could be checked.
bool MeansNoSignature(LONG code) {
    return code == TRUST_E_NOSIGNATURE || code == TRUST_E_SUBJECT_FORM_UNKNOWN ||
           code == TRUST_E_PROVIDER_UNKNOWN;
}

// One WinVerifyTrust run over an open file. The state it leaves (the signers and their
// certificates) is read while this object lives and closed with it, whatever the result.
class AuthenticodeCheck {
  public:
    AuthenticodeCheck(const std::wstring& path, HANDLE file) {
        fileInfo_.cbStruct = sizeof(fileInfo_);
        fileInfo_.pcwszFilePath = path.c_str();
        fileInfo_.hFile = file;
        data_.cbStruct = sizeof(data_);
        data_.dwUIChoice = WTD_UI_NONE;
        data_.fdwRevocationChecks = WTD_REVOKE_NONE;
        data_.dwUnionChoice = WTD_CHOICE_FILE;
        data_.pFile = &fileInfo_;
        data_.dwStateAction = WTD_STATEACTION_VERIFY;
        // No revocation check and nothing fetched from the network while the chain is built.
        data_.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
        result_ = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_);
        lastError_ = ::GetLastError();
    }
    ~AuthenticodeCheck() {
        if (data_.hWVTStateData != nullptr) {
            data_.dwStateAction = WTD_STATEACTION_CLOSE;
            ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action_, &data_);
        }
    }
    AuthenticodeCheck(const AuthenticodeCheck&) = delete;
    AuthenticodeCheck& operator=(const AuthenticodeCheck&) = delete;

    LONG result() const { return result_; }

    InstallerTrustReason FailureReason() const {
        if (result_ == TRUST_E_BAD_DIGEST) {
            return InstallerTrustReason::kBadDigest;
        }
        if (!MeansNoSignature(result_)) {
            return InstallerTrustReason::kUntrusted;
        }
        // TRUST_E_NOSIGNATURE is also returned for a signature that is present but cannot be
        // used; the thread's error then tells which.
        const bool unusable = result_ == TRUST_E_NOSIGNATURE && lastError_ != ERROR_SUCCESS &&
                              !MeansNoSignature(static_cast<LONG>(lastError_));
        return unusable ? InstallerTrustReason::kUntrusted : InstallerTrustReason::kNoSignature;
    }

    // The certificate of the primary signer (the leaf of its chain); null when there is none.
    PCCERT_CONTEXT SignerCertificate() const {
        if (data_.hWVTStateData == nullptr) {
            return nullptr;
        }
        CRYPT_PROVIDER_DATA* provider = ::WTHelperProvDataFromStateData(data_.hWVTStateData);
        CRYPT_PROVIDER_SGNR* signer =
            provider != nullptr ? ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
        CRYPT_PROVIDER_CERT* leaf =
            signer != nullptr ? ::WTHelperGetProvCertFromChain(signer, 0) : nullptr;
        return leaf != nullptr ? leaf->pCert : nullptr;
    }

  private:
    GUID action_ = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_FILE_INFO fileInfo_ = {};
    WINTRUST_DATA data_ = {};
    LONG result_ = 0;
    DWORD lastError_ = 0;
};

// Lower-case hex SHA-256 of the certificate's DER SubjectPublicKeyInfo; empty on failure.
std::string PublicKeyHash(PCCERT_CONTEXT certificate) {
    CERT_PUBLIC_KEY_INFO* key = &certificate->pCertInfo->SubjectPublicKeyInfo;
    DWORD size = 0;
    if (!::CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, key, 0, nullptr, nullptr,
                               &size)) {
        return std::string();
    }
    std::vector<BYTE> der(size);
    if (!::CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, key, 0, nullptr, der.data(),
                               &size)) {
        return std::string();
    }
    BYTE hash[32] = {};
    DWORD hashSize = sizeof(hash);
    if (!::CryptHashCertificate2(L"SHA256", 0, nullptr, der.data(), size, hash, &hashSize) ||
        hashSize != sizeof(hash)) {
        return std::string();
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (BYTE b : hash) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0x0F];
    }
    return hex;
}

std::wstring SubjectOf(PCCERT_CONTEXT certificate) {
    CERT_NAME_BLOB* name = &certificate->pCertInfo->Subject;
    const DWORD length = ::CertNameToStrW(X509_ASN_ENCODING, name, CERT_X500_NAME_STR, nullptr, 0);
    if (length <= 1) {
        return std::wstring();
    }
    std::wstring text(length, L'\0');
    ::CertNameToStrW(X509_ASN_ENCODING, name, CERT_X500_NAME_STR, &text[0], length);
    text.resize(length - 1);
    return text;
}

bool IsPinnedPublisher(const std::string& keyHash) {
    for (const char* pin : kPublisherKeys) {
        std::string expected = pin;  // the profile may write the hex digits in either case
        for (char& c : expected) {
            if (c >= 'A' && c <= 'F') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        if (expected == keyHash) {
            return true;
        }
    }
    return false;
}

InstallerTrust Logged(InstallerTrust trust, const std::wstring& path) {
    TLOGW("VerifyInstallerFile", L"%s: %s", path.c_str(), trust.Describe().c_str());
    return trust;
}

}  // namespace

const wchar_t* InstallerTrustReasonText(InstallerTrustReason reason) {
    switch (reason) {
        case InstallerTrustReason::kTrusted:
            return L"trusted";
        case InstallerTrustReason::kNotFound:
            return L"not found";
        case InstallerTrustReason::kUnreadable:
            return L"cannot be read";
        case InstallerTrustReason::kNotProgram:
            return L"not a program";
        case InstallerTrustReason::kNoSignature:
            return L"no signature";
        case InstallerTrustReason::kBadDigest:
            return L"bad digest (changed after signing)";
        case InstallerTrustReason::kUntrusted:
            return L"untrusted signature";
        case InstallerTrustReason::kWrongPublisher:
            return L"wrong publisher";
    }
    return L"unknown";
}

std::wstring InstallerTrust::Describe() const {
    std::wstring text =
        trusted() ? L"trusted" : FormatString(L"refused, %s", InstallerTrustReasonText(reason_));
    if (status_ != 0) {
        text += FormatString(L" (0x%08lx)", static_cast<unsigned long>(status_));
    }
    if (!signerSubject_.empty() || !signerKeyHash_.empty()) {
        text += FormatString(L": signed by %s, key SHA-256 %s", signerSubject_.c_str(),
                             AnsiToWide(signerKeyHash_).c_str());
    }
    return text;
}

InstallerTrust VerifyInstallerFile(const std::wstring& path) {
    InstallerTrust trust;
    // Shared for reading only: while this handle is open nobody can write, replace or delete the
    // file, so what is verified is what will be started.
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        trust.status_ = static_cast<long>(error);
        trust.reason_ = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_INVALID_NAME || error == ERROR_INVALID_DRIVE)
                            ? InstallerTrustReason::kNotFound
                            : InstallerTrustReason::kUnreadable;
        return Logged(std::move(trust), path);
    }
    std::vector<uint8_t> header(kPeHeaderProbeBytes);
    DWORD got = 0;
    const LARGE_INTEGER start = {};
    if (!::ReadFile(file.get(), header.data(), static_cast<DWORD>(header.size()), &got, nullptr) ||
        !IsWindowsProgramHeader(header.data(), got) ||
        !::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) {
        trust.reason_ = InstallerTrustReason::kNotProgram;
        return Logged(std::move(trust), path);
    }

    const AuthenticodeCheck check(path, file.get());
    trust.status_ = check.result();
    if (check.result() != ERROR_SUCCESS) {
        trust.reason_ = check.FailureReason();
        return Logged(std::move(trust), path);
    }
    const PCCERT_CONTEXT signer = check.SignerCertificate();
    if (signer == nullptr) {
        trust.reason_ = InstallerTrustReason::kUntrusted;
        return Logged(std::move(trust), path);
    }
    trust.signerSubject_ = SubjectOf(signer);
    trust.signerKeyHash_ = PublicKeyHash(signer);
    if (!IsPinnedPublisher(trust.signerKeyHash_)) {
        trust.reason_ = InstallerTrustReason::kWrongPublisher;
        return Logged(std::move(trust), path);
    }
    trust.reason_ = InstallerTrustReason::kTrusted;
    trust.lock_ = std::move(file);
    return Logged(std::move(trust), path);
}
