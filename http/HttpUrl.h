// URL rules of the simple HTTP client family: host, port and path of a URL, and where a
// redirect's "Location" leads. No Windows header (built natively under the sanitizers too).
#pragma once

#include <cstdint>
#include <string>

// "http://" or "https://" (a case-insensitive prefix; 443 for https), then the host up to the
// first "/" or "?", an optional ":port", and the rest as the path ("/" when empty). Unlike the
// range objects' CBaseRequest::SplitRequestUrl, this rule has port syntax.
// A port outside 0..65535, or one that is not a number, gives 0.
void SplitUrl(const std::wstring& url, std::wstring& host, std::wstring& path, uint16_t& port);
void SplitUrl(const std::string& url, std::string& host, std::string& path, uint16_t& port);

enum RedirectKind {
    kRedirectUnusable = 0,  // empty, or holds blanks or control characters
    kRedirectAbsolute = 1,  // a new URL: start again on a new connection
    kRedirectPath = 2,      // a new path on the same server
};

// Classifies a "Location" value. |target| gets the absolute URL, or the path resolved against
// |currentPath| (a path without a leading "/" replaces the last segment of the current one).
RedirectKind ResolveRedirect(const std::string& location, const std::string& currentPath,
                             std::string& target);
