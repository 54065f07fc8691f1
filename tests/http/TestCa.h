// The tests' private CA (tests/servers/testca.py) as seen from Windows: where it lives and how
// the Wine prefix comes to trust it.
#pragma once

#include <string>

// The test CA's folder (a Unix path under the build folder); the server creates it on first use.
std::string TestCaFolder();
// Adds the test CA to the LocalMachine Root store of the Wine prefix; idempotent.
bool TrustTestCa(std::string& error);
