#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tilava {

struct HttpHeader {
    std::string name;
    std::string value;
};

// One request to a calendar server.
struct HttpRequest {
    std::string method;              // GET, PUT, DELETE, PROPFIND, REPORT, MKCALENDAR, OPTIONS
    std::string url;                 // absolute: http://host[:port]/path or https://…
    std::vector<HttpHeader> headers; // besides Authorization, which the client adds itself
    std::string body;
};

// The server's answer, whatever its status.
struct HttpResponse {
    int status = 0;
    std::string etag; // the ETag header as sent, quotes included; empty when there was none
    std::string body;
    std::string location; // the Location header of a redirect, as sent; empty when none
};

// No answer came. The message is Slovak, for the user, and names the server (host and port),
// never the password: "Server calendar.example.org neodpovedá: spojenie odmietnuté."
class HttpError : public std::runtime_error {
public:
    enum class Kind {
        NoConnection, // the name is not known, the connection was refused or broke
        Timeout,      // no connection or no whole answer in time
        Tls,          // the server's certificate is not trusted, or TLS failed
        TooLarge,     // the answer is longer than the limit
        BadAddress,   // not an http(s) URL; plain http to a host other than this computer
    };
    HttpError(Kind error, const std::string& message) : std::runtime_error(message), kind(error) {}

    Kind kind;
};

struct HttpLimits {
    std::size_t largestBody = std::size_t{64} << 20;
    std::chrono::seconds connectTimeout{10};
    std::chrono::seconds totalTimeout{60};
};

// An HTTP(S) client for one account: every request carries Basic authentication with the
// account's user and password. It verifies the server's certificate against the system's
// trusted ones, never follows a redirect (a 3xx comes back as an answer), and refuses plain
// http:// to any host but this computer (127.0.0.1, ::1, localhost), which would send the
// password in the clear. It keeps its connection between requests where the server allows.
// Linux: libcurl; Windows: WinHTTP.
class HttpClient {
public:
    virtual ~HttpClient() = default;

    // Sends the request and gives the answer. Throws HttpError when no whole answer came.
    virtual HttpResponse Send(const HttpRequest& request) = 0;
};

std::unique_ptr<HttpClient> CreateHttpClient(const std::string& user, const std::string& password,
                                             const HttpLimits& limits = {});

} // namespace tilava
