// The remote size query: what the server says about a file before any range is fetched (its
// size, its validators, whether it serves ranges). HEAD first, then a GET for byte 0, then the
// WinINet GET; a busy server's Retry-After is waited out.
#pragma once

#include <cstdint>
#include <string>

#include "http/RangeResponse.h"
#include "http/tool/BaseRequest.h"

struct SizeQueryOptions {
    unsigned receiveTimeoutMs = kDefaultReceiveTimeoutMs;
    PauseFunction pause;  // empty: Sleep
};

// False when no step gave a size.
bool QueryRemoteFile(const std::wstring& url, const SizeQueryOptions& options,
                     RemoteFileInfo& info);
