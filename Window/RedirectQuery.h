// Asks the download-address API for the current address of the product's full installer: one
// plain HTTP GET on port 80 whose 302 answer is read, never followed. WinHTTP only.
#pragma once

#include <string>

// True with |url| set to the "Location" of a 302 answer (a relative one is resolved against the
// API's host). True with |url| unchanged when the request went out but no answer came back: the
// caller then keeps the API's own address. False, with |url| unchanged, for any other answer, a
// 302 without a location, or a request that could not be sent (nothing listening, no host).
bool GetRedirectUrl(const std::wstring& host, const std::wstring& path, std::wstring& url);
