// The client family's header model and URL rules: response parsing, URL splitting, redirect
// targets, and random input cut into random blocks.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "http/HttpHeader.h"
#include "http/HttpUrl.h"
#include "http/ResponseHeaderReader.h"

TEST(HttpHeaderTest, ParseResponseHeader) {
    struct Case {
        const char* text;
        int status;
        const char* version;
        const char* reason;
        const char* name;  // looked up exactly
        const char* value;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 9", 200, "HTTP/1.1", "OK",
         "Content-Length", "5"},
        {"HTTP/1.0 404 Not Found Here", 404, "HTTP/1.0", "Not Found Here", "", ""},
        {"HTTP/1.1 302\r\nLocation:/next", 302, "HTTP/1.1", "", "Location", "/next"},
        {"HTTP/1.1 200 OK\r\nX-Tab:\t v\r\nNoColon\r\n: nameless", 200, "HTTP/1.1", "OK", "X-Tab",
         "v"},
        {"HTTP/1.1 abc x", 0, "HTTP/1.1", "x", "", ""},
        {"HTTP/1.1 99999999999 Big", INT_MAX, "HTTP/1.1", "Big", "", ""},
        {"", 0, "", "", "", ""},
    };
    for (const Case& c : cases) {
        CHttpHeader header;
        EXPECT_TRUE(header.ParseResponseHeader(c.text));
        EXPECT_EQ(header.GetStatusCode(), c.status) << c.text;
        EXPECT_EQ(header.GetVersion(), c.version) << c.text;
        EXPECT_EQ(header.GetReason(), c.reason) << c.text;
        EXPECT_EQ(header.GetHeader(c.name), c.value) << c.text;
    }
    CHttpHeader header;
    header.ParseResponseHeader("HTTP/1.1 200 OK\r\ncontent-LENGTH: 7\r\nNoColon");
    EXPECT_EQ(header.FindHeaderNoCase("content-length"), "7");
    EXPECT_EQ(header.GetHeader("Content-Length"), "");  // names are exact
    EXPECT_EQ(header.GetHeader("NoColon"), "");
}

TEST(SplitUrlTest, HostPathAndPortInBothForms) {
    struct Case {
        const char* url;
        const char* host;
        const char* path;
        uint16_t port;
    };
    const Case cases[] = {
        {"http://example.test/a/b?x=1", "example.test", "/a/b?x=1", 80},
        {"https://example.test", "example.test", "/", 443},
        {"example.test:8080/x", "example.test", "/x", 8080},
        {"https://example.test:8443/f", "example.test", "/f", 8443},
        {"http://example.test:443/f", "example.test", "/f", 443},
        {"HTTP://Example.Test/x", "Example.Test", "/x", 80},
        // The scheme counts only as a prefix: an address in the query is not the host.
        {"https://a.test/go?u=http://b.test/x", "a.test", "/go?u=http://b.test/x", 443},
        {"http://a.test?q=1", "a.test", "/?q=1", 80},
        {"http://a.test:99999/", "a.test", "/", 0},
        {"http://a.test:x/", "a.test", "/", 0},
    };
    for (const Case& c : cases) {
        std::string host, path;
        uint16_t port = 1;
        SplitUrl(std::string(c.url), host, path, port);
        EXPECT_EQ(host, c.host) << c.url;
        EXPECT_EQ(path, c.path) << c.url;
        EXPECT_EQ(port, c.port) << c.url;

        const std::string url = c.url;
        std::wstring wideHost, widePath;
        port = 1;
        SplitUrl(std::wstring(url.begin(), url.end()), wideHost, widePath, port);
        EXPECT_EQ(std::string(wideHost.begin(), wideHost.end()), c.host) << c.url;
        EXPECT_EQ(std::string(widePath.begin(), widePath.end()), c.path) << c.url;
        EXPECT_EQ(port, c.port) << c.url;
    }
}

TEST(ResolveRedirectTest, AbsoluteRelativeAndUnusableLocations) {
    struct Case {
        const char* location;
        RedirectKind kind;
        const char* target;
    };
    const Case cases[] = {
        {"http://b.test/x", kRedirectAbsolute, "http://b.test/x"},
        {"HTTPS://b.test/", kRedirectAbsolute, "HTTPS://b.test/"},
        {"//b.test/x", kRedirectAbsolute, "http://b.test/x"},
        {"/next?a=1", kRedirectPath, "/next?a=1"},
        {"file.bin", kRedirectPath, "/dir/file.bin"},
        {"", kRedirectUnusable, ""},
        {"/a b", kRedirectUnusable, ""},
        {"/a\r\nX-Injected: 1", kRedirectUnusable, ""},
    };
    for (const Case& c : cases) {
        std::string target;
        EXPECT_EQ(ResolveRedirect(c.location, "/dir/old.bin?u=/x/y", target), c.kind) << c.location;
        EXPECT_EQ(target, c.target) << c.location;
    }
}

// Random and malformed responses cut into random blocks: nothing is lost or invented, and
// (in the sanitizer build) nothing is read or written outside a buffer.
TEST(HttpParserRobustnessTest, RandomResponsesInRandomBlocks) {
    std::mt19937 random(20240611);
    const char alphabet[] = "\r\n\r\n: HTTP/1.1 200 Content-Length9-\0\x7f\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string input(random() % 600, '\0');
        for (char& c : input) {
            c = random() % 4 == 0 ? static_cast<char>(random())
                                  : alphabet[random() % (sizeof(alphabet) - 1)];
        }
        CResponseHeaderReader reader(256);
        size_t fed = 0;
        CResponseHeaderReader::Result result = CResponseHeaderReader::kNeedMore;
        while (fed < input.size() && result == CResponseHeaderReader::kNeedMore) {
            const size_t block = std::min<size_t>(1 + random() % 40, input.size() - fed);
            result = reader.Add(input.data() + fed, block);
            fed += block;
        }
        if (result == CResponseHeaderReader::kComplete) {
            ASSERT_EQ(reader.HeaderText() + "\r\n\r\n" + reader.BodyStart(), input.substr(0, fed));
            CHttpHeader header;
            header.ParseResponseHeader(reader.HeaderText());
            header.FindHeaderNoCase("content-length");
            std::string target;
            ResolveRedirect(header.GetHeader("Location"), header.GetReason(), target);
        }
        std::string host, path;
        uint16_t port = 0;
        SplitUrl(input, host, path, port);
        ASSERT_LE(host.size() + path.size(), input.size() + 1);
    }
}
