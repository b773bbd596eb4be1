#pragma once

#include "platform/net/HttpClient.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// An http(s) URL taken apart, as both HTTP clients send it: they build the request from these
// parts only, so the address that was checked is the address that is reached.
struct ServerAddress {
    bool secure = false;      // https
    std::string host;         // lower case; an IPv6 address without its brackets
    unsigned short port = 0;  // the scheme's own port when the URL names none
    std::string target = "/"; // path and query, percent-encoded; the fragment left out

    // "host:port", "[::1]:port": how messages name the server.
    std::string HostAndPort() const;
    // "https://host:port/target"
    std::string Url() const;
};

// Reads an absolute http:// or https:// URL. Throws HttpError (BadAddress) for any other
// scheme, a URL with a user or password in it, a host or port that cannot be, and plain http://
// to a host other than this computer (127.0.0.1, ::1, localhost), which would carry the
// password in the clear. Characters outside ASCII in the path are percent-encoded.
ServerAddress ReadServerAddress(std::string_view url);

// Whether `host` (as ServerAddress holds it) names this computer: localhost, a name under
// .localhost, 127.0.0.0/8, ::1 (in any spelling) or ::ffff:127.x.x.x. Such a request never
// goes through a proxy, which would carry it, password and all, to another computer.
bool IsLoopbackHost(std::string_view host);

// Refuses (std::invalid_argument) a header whose name or value would end its line and so
// smuggle in another header: a tag the server sent back, put into If-Match, could hold one.
void CheckHeaders(const std::vector<HttpHeader>& headers);

// The Slovak message of an answer that did not come, naming the server and the reason:
// "Server 127.0.0.1:1 neodpovedá: spojenie odmietnuté."
HttpError ServerError(HttpError::Kind kind, const ServerAddress& server, std::string_view reason);

// The error for an answer longer than the limit.
HttpError TooLargeError(const ServerAddress& server, std::size_t largestBody);

} // namespace tilava
