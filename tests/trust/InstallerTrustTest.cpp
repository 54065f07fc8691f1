// Which downloaded files may be started elevated: the sample installer as signed at build time
// is trusted; changed, unsigned, foreign-signed and non-program files are refused, each for its
// own reason; the road "download, then verify" through httpget against a local server.
#include <windows.h>

#include <gtest/gtest.h>

#include "BuildConfig.h"
#include "LocalServer.h"
#include "common/Format.h"
#include "common/InstallerRunner.h"
#include "common/InstallerTrust.h"
#include "support/TestFolders.h"

namespace {

constexpr char kTrustServerAddress[] = "127.0.0.61";
constexpr char kErrorPage[] =
    "<!doctype html><html><head><title>502 Bad Gateway</title></head><body>502</body></html>";

// The signed installer with one byte of its program changed after signing.
std::string TamperedSetupBytes() {
    std::string bytes = ReadFileBytes(UnixToWindowsPath(TANDREL_SIGNED_SETUP));
    if (!bytes.empty()) {
        bytes[bytes.size() / 3] ^= 0x01;  // well before the signature at the end
    }
    return bytes;
}

int RunHttpget(const std::wstring& arguments) {
    return RunProgram(FormatString(L"\"%s\" --quiet %s", UnixToWindowsPath(TANDREL_HTTPGET).c_str(),
                                   arguments.c_str()),
                      300000);
}

}  // namespace

TEST(InstallerTrustTest, EachFileIsTrustedOrRefusedForItsReason) {
    ScopedTempFolder scratch(L"trust");
    ASSERT_TRUE(WriteFileBytes(scratch.path() + L"tampered.exe", TamperedSetupBytes()));
    ASSERT_TRUE(WriteFileBytes(scratch.path() + L"error-page.exe", kErrorPage));
    const std::wstring publisher = L"Orbitane Test Publisher (tests only)";

    const struct {
        const char* name;
        std::wstring path;
        InstallerTrustReason reason;
        std::wstring signer;  // part of the subject, empty when none is reported
    } cases[] = {
        {"signed by the pinned publisher", UnixToWindowsPath(TANDREL_SIGNED_SETUP),
         InstallerTrustReason::kTrusted, publisher},
        {"one byte changed after signing", scratch.path() + L"tampered.exe",
         InstallerTrustReason::kBadDigest, L""},
        {"unsigned", UnixToWindowsPath(TANDREL_UNSIGNED_SETUP), InstallerTrustReason::kNoSignature,
         L""},
        {"another publisher of the same CA", UnixToWindowsPath(TANDREL_OTHER_PUBLISHER_SETUP),
         InstallerTrustReason::kWrongPublisher, L"Other Test Publisher"},
        {"the pinned publisher's name from a look-alike CA",
         UnixToWindowsPath(TANDREL_LOOKALIKE_CA_SETUP), InstallerTrustReason::kWrongPublisher,
         publisher},
        {"an HTML error page", scratch.path() + L"error-page.exe",
         InstallerTrustReason::kNotProgram, L""},
        {"missing", scratch.path() + L"missing.exe", InstallerTrustReason::kNotFound, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const InstallerTrust trust = VerifyInstallerFile(c.path);
        EXPECT_EQ(c.reason, trust.reason()) << trust.Describe();
        EXPECT_EQ(c.reason == InstallerTrustReason::kTrusted, trust.trusted());
        if (c.signer.empty()) {
            EXPECT_EQ(L"", trust.signerSubject());
        } else {
            EXPECT_NE(std::wstring::npos, trust.signerSubject().find(c.signer)) << trust.Describe();
        }
        // The key behind the name decides: only the pinned publisher's key hash is the pin.
        const bool pinnedKey = trust.signerKeyHash() == TANDREL_PUBLISHER_KEY_SHA256;
        EXPECT_EQ(c.reason == InstallerTrustReason::kTrusted, pinnedKey);
    }
}

// A trusted file stays as it was verified until the result is dropped, and can be started
// meanwhile; a refused one is not held and can be cleaned up at once.
TEST(InstallerTrustTest, TrustedFileIsHeldUnchangedWhileItStarts) {
    ScopedTempFolder scratch(L"trust");
    const std::wstring installer = scratch.path() + L"tandrel-download.exe";
    const std::wstring tampered = scratch.path() + L"tampered.exe";
    ASSERT_TRUE(
        ::CopyFileW(UnixToWindowsPath(TANDREL_SIGNED_SETUP).c_str(), installer.c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(tampered, TamperedSetupBytes()));
    {
        const InstallerTrust trust = VerifyInstallerFile(installer);
        ASSERT_TRUE(trust.trusted()) << trust.Describe();
        EXPECT_FALSE(WriteFileBytes(installer, "MZ"));
        EXPECT_FALSE(::DeleteFileW(installer.c_str()));
        EXPECT_FALSE(::MoveFileExW(tampered.c_str(), installer.c_str(), MOVEFILE_REPLACE_EXISTING));

        ::SetEnvironmentVariableW(L"REPAVIO_SETUP_DURATION_MS", L"0");
        const InstallerRunResult run = RunSilentInstaller(installer, scratch.path() + L"target\\",
                                                          scratch.path() + L"temp.progress");
        ::SetEnvironmentVariableW(L"REPAVIO_SETUP_DURATION_MS", nullptr);
        EXPECT_TRUE(run.Ran());
        EXPECT_EQ(0u, run.exitCode);

        const InstallerTrust refused = VerifyInstallerFile(tampered);
        EXPECT_FALSE(refused.trusted());
        EXPECT_TRUE(::DeleteFileW(tampered.c_str()));
    }
    EXPECT_TRUE(::DeleteFileW(installer.c_str()));
}

// httpget --verify: what the server sends is downloaded, then checked; exit code 3 refuses it.
TEST(InstallerTrustTest, HttpgetVerifiesWhatItDownloaded) {
    LocalServer server;
    std::string error;
    LocalServerOptions options;
    options.address = kTrustServerAddress;
    ASSERT_TRUE(server.Start(options, error)) << error;
    ASSERT_TRUE(::CopyFileW(UnixToWindowsPath(TANDREL_SIGNED_SETUP).c_str(),
                            (server.RootWindows() + L"setup.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(server.RootWindows() + L"tampered.exe", TamperedSetupBytes()));
    ASSERT_TRUE(WriteFileBytes(server.RootWindows() + L"page.exe", kErrorPage));
    ScopedTempFolder scratch(L"trust");

    const struct {
        const char* file;
        int exitCode;
    } cases[] = {{"setup.exe", 0}, {"tampered.exe", 3}, {"page.exe", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::wstring save = FormatString(L"%s%S", scratch.path().c_str(), c.file);
        EXPECT_EQ(c.exitCode, RunHttpget(FormatString(L"--verify %s \"%s\"",
                                                      server.Url(c.file).c_str(), save.c_str())));
    }
}
