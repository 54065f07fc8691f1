// Starts the stand-in of the download-address API (tests/servers/address_api.py) on one
// loopback address from inside a Wine test process, reads what it received, ends it by its PID.
#pragma once

#include <string>
#include <vector>

// One line of the server's request log.
struct ApiRequest {
    std::string method;
    std::string path;
    std::string host;
    std::string userAgent;
    std::string headerNames;  // comma-separated, in the order received
};

class AddressApiServer {
  public:
    AddressApiServer() = default;
    ~AddressApiServer() { Stop(); }
    AddressApiServer(const AddressApiServer&) = delete;
    AddressApiServer& operator=(const AddressApiServer&) = delete;

    // Listens on |address|:80; false (with |error| set) when it did not come up within 30 s.
    bool Start(const std::string& address, std::string& error);
    void Stop();

    std::vector<ApiRequest> Requests() const;
    void ClearRequests() const;

  private:
    std::string stateUnix_;
    int pid_ = 0;
};
