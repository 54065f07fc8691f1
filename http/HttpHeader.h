// The header model of the simple HTTP clients: ordered request fields with defaults, the
// request text and header block built from them, and the parsed response status and fields.
// No Windows header (built natively under the sanitizers too).
#pragma once

#include <map>
#include <string>

class CHttpHeader {
  public:
    CHttpHeader() = default;
    virtual ~CHttpHeader() = default;
    // One model per client, never copied.
    CHttpHeader(const CHttpHeader&) = delete;
    CHttpHeader& operator=(const CHttpHeader&) = delete;

    // Inserts the pair when both are non-empty and the name is absent: the first value wins,
    // so a caller's own "User-Agent" or "Accept" keeps its place over the defaults.
    void AddHeader(const std::string& name, const std::string& value);
    // Sets |name| to |value| whatever it held (the socket client's "Host" for a new server).
    void ReplaceHeader(const std::string& name, const std::string& value);
    // The value stored under exactly |name| (case-sensitive), or an empty text.
    std::string GetHeader(const std::string& name) const;
    // The first field whose name equals |lowerName| in any case (a client reading a response:
    // servers do not all write "Content-Length" the same way).
    std::string FindHeaderNoCase(const char* lowerName) const;

    // "GET path version\r\n", each field as "name: value\r\n" in byte order of the names, then
    // two more CRLF pairs. Inserts the default fields first; an empty version becomes HTTP/1.1.
    std::string BuildRequestText();
    // Only the field lines, defaults included.
    std::string BuildHeaderBlock();

    // Fills status, version, reason and fields from a response header (the text before the
    // blank line). A field line without ": " is split at its first ":" with the blanks after it
    // dropped; a line without ":" is skipped. Always true.
    bool ParseResponseHeader(const std::string& text);

    void SetPath(const std::string& path) { path_ = path; }
    const std::string& GetPath() const { return path_; }
    void SetVersion(const std::string& version) { version_ = version; }
    const std::string& GetVersion() const { return version_; }
    const std::string& GetReason() const { return reason_; }
    int GetStatusCode() const { return statusCode_; }

  private:
    void AddDefaultFields();

    int statusCode_ = 0;
    std::string version_;
    std::string reason_;
    std::string path_;
    std::map<std::string, std::string> fields_;
};
