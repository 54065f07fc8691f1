// tandrel-trust-test-ca: adds the tests' private CA to the Wine prefix's LocalMachine Root
// store, for scripts (the benchmark) that run the downloader against the HTTPS test server.
// The tests themselves trust it in-process when they start a server.
#include <cstdio>
#include <string>

#include "TestCa.h"

int main() {
    std::string error;
    if (!TrustTestCa(error)) {
        std::fprintf(stderr, "tandrel-trust-test-ca: %s\n", error.c_str());
        return 1;
    }
    std::printf("trusted %s/ca.crt\n", TestCaFolder().c_str());
    return 0;
}
