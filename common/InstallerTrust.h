// Decides whether a downloaded installer may be started with this program's rights: it must be a
// Windows program whose Authenticode signature verifies and whose signer is a pinned publisher.
// It does not download or start anything.
#pragma once

#include <windows.h>

#include <string>

#include "common/WinHandle.h"

enum class InstallerTrustReason {
    kTrusted,
    kNotFound,        // no such file
    kUnreadable,      // it exists but cannot be opened and kept from changing
    kNotProgram,      // not a Windows program (an error page, for example)
    kNoSignature,     // a program without an Authenticode signature
    kBadDigest,       // signed, but changed after signing
    kUntrusted,       // the signature or its certificate chain is not trusted
    kWrongPublisher,  // validly signed, but by a key that the build does not pin
};

// The outcome of one verification. A trusted result keeps the file open for reading while it
// lives, shared for reading only, so that nobody can change, replace or delete the file between
// the check and the start of the installer: keep it until the installer has been started.
class InstallerTrust {
  public:
    bool trusted() const { return reason_ == InstallerTrustReason::kTrusted; }
    InstallerTrustReason reason() const { return reason_; }
    // WinVerifyTrust's result, or the system error of opening the file.
    long status() const { return status_; }
    // The signing certificate's subject and the hex SHA-256 of its SubjectPublicKeyInfo; empty
    // when there is no verified signature.
    const std::wstring& signerSubject() const { return signerSubject_; }
    const std::string& signerKeyHash() const { return signerKeyHash_; }
    // One line for the log: the verdict, why, and the signer.
    std::wstring Describe() const;

  private:
    friend InstallerTrust VerifyInstallerFile(const std::wstring& path);

    InstallerTrustReason reason_ = InstallerTrustReason::kNotFound;
    long status_ = 0;
    std::wstring signerSubject_;
    std::string signerKeyHash_;
    UniqueFileHandle lock_;
};

// A short English name of the reason ("wrong publisher").
const wchar_t* InstallerTrustReasonText(InstallerTrustReason reason);

// Verifies |path| against the publisher pins of the build profile and logs the outcome.
InstallerTrust VerifyInstallerFile(const std::wstring& path);
