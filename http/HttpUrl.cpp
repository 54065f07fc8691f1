#include "http/HttpUrl.h"

#include "common/StringUtil.h"
#include "http/HttpText.h"

namespace {

template <typename Char>
void SplitUrlT(const std::basic_string<Char>& url, std::basic_string<Char>& host,
               std::basic_string<Char>& path, uint16_t& port) {
    using String = std::basic_string<Char>;
    port = 80;
    String rest = url;
    // Only a leading scheme counts: an address inside the query must not become the host.
    if (StartsWithNoCase(url, "http://")) {
        rest = url.substr(7);
    } else if (StartsWithNoCase(url, "https://")) {
        rest = url.substr(8);
        port = 443;
    }
    const size_t end = rest.find_first_of(String{Char('/'), Char('?')});
    host = rest.substr(0, end);
    if (end == String::npos) {
        path = String(1, Char('/'));
    } else if (rest[end] == Char('?')) {
        path = Char('/') + rest.substr(end);
    } else {
        path = rest.substr(end);
    }
    const size_t colon = host.find(Char(':'));
    if (colon != String::npos) {
        const int number = http_text::LeadingDecimal(host.substr(colon + 1));
        port = number >= 0 && number <= 65535 ? static_cast<uint16_t>(number) : 0;
        host.erase(colon);
    }
}

}  // namespace

void SplitUrl(const std::wstring& url, std::wstring& host, std::wstring& path, uint16_t& port) {
    SplitUrlT(url, host, path, port);
}

void SplitUrl(const std::string& url, std::string& host, std::string& path, uint16_t& port) {
    SplitUrlT(url, host, path, port);
}

RedirectKind ResolveRedirect(const std::string& location, const std::string& currentPath,
                             std::string& target) {
    if (location.empty()) {
        return kRedirectUnusable;
    }
    for (unsigned char c : location) {
        // The value becomes part of a request line: nothing may end or split it.
        if (c <= ' ' || c == 0x7F) {
            return kRedirectUnusable;
        }
    }
    if (StartsWithNoCase(location, "http://") || StartsWithNoCase(location, "https://")) {
        target = location;
        return kRedirectAbsolute;
    }
    if (location.compare(0, 2, "//") == 0) {
        target = "http:" + location;
        return kRedirectAbsolute;
    }
    if (location[0] == '/') {
        target = location;
        return kRedirectPath;
    }
    const std::string base = currentPath.substr(0, currentPath.find('?'));
    const size_t slash = base.rfind('/');
    target = (slash == std::string::npos ? std::string("/") : base.substr(0, slash + 1)) + location;
    return kRedirectPath;
}
