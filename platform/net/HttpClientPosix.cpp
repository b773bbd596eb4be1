// The HTTP client of Linux: one libcurl easy handle per client, reused so that its connection
// to the server stays open between requests where the server allows it.
#include "platform/net/HttpClient.h"
#include "platform/net/ServerAddress.h"
#include "platform/SecretMemory.h"

#include <curl/curl.h>

#include <cerrno>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string_view>

namespace tilava {

namespace {

// curl_global_init is not safe to run twice at once, and the sync may start on a worker thread.
void StartCurlOnce() {
    static std::once_flag started;
    static CURLcode result = CURLE_OK;
    std::call_once(started, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (result != CURLE_OK)
        throw std::runtime_error("Knižnica libcurl sa nedá spustiť (chyba " +
                                 std::to_string(static_cast<int>(result)) + ").");
}

struct Reception {
    std::string* body = nullptr;
    std::string* etag = nullptr;
    std::string* location = nullptr;
    std::size_t largestBody = 0;
    bool tooLarge = false;
};

std::size_t ReceiveBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* reception = static_cast<Reception*>(user);
    const std::size_t length = size * count;
    if (length > reception->largestBody - reception->body->size()) {
        reception->tooLarge = true;
        return 0; // curl stops with CURLE_WRITE_ERROR
    }
    reception->body->append(data, length);
    return length;
}

std::string_view TrimmedHeader(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::size_t ReceiveHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* reception = static_cast<Reception*>(user);
    const std::size_t length = size * count;
    const std::string_view line(data, length);
    // A new status line starts another answer (after "100 Continue"): its headers count.
    if (line.starts_with("HTTP/")) {
        reception->etag->clear();
        reception->location->clear();
    } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
        if (SameLetters(line.substr(0, colon), "ETag"))
            *reception->etag = TrimmedHeader(line.substr(colon + 1));
        else if (SameLetters(line.substr(0, colon), "Location"))
            *reception->location = TrimmedHeader(line.substr(colon + 1));
    }
    return length;
}

bool HasHeader(const HttpRequest& request, std::string_view name) {
    for (const HttpHeader& header : request.headers)
        if (SameLetters(header.name, name))
            return true;
    return false;
}

std::string ConnectReason(long systemError) {
    switch (systemError) {
    case ECONNREFUSED:
        return "spojenie odmietnuté";
    case ENETUNREACH:
    case ENETDOWN:
        return "sieť nie je dostupná";
    case EHOSTUNREACH:
        return "počítač servera nie je v sieti dostupný";
    case ECONNRESET:
        return "server spojenie prerušil";
    default:
        return "spojenie sa nepodarilo nadviazať";
    }
}

class CurlHttpClient final : public HttpClient {
public:
    CurlHttpClient(std::string user, std::string password, const HttpLimits& limits)
        : user_(std::move(user)), password_(std::move(password)), limits_(limits) {
        StartCurlOnce();
        handle_ = curl_easy_init();
        if (!handle_)
            throw std::bad_alloc();
    }

    ~CurlHttpClient() override {
        curl_easy_cleanup(handle_);
        WipeSecret(password_);
    }

    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    HttpResponse Send(const HttpRequest& request) override {
        const ServerAddress server = ReadServerAddress(request.url);
        CheckHeaders(request.headers);

        HttpResponse response;
        Reception reception{&response.body, &response.etag, &response.location,
                            limits_.largestBody};
        // A reset keeps the open connection, the DNS cache and the TLS sessions.
        curl_easy_reset(handle_);
        const std::string url = server.Url();
        curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 0L);
        // A proxy named by http_proxy, https_proxy or all_proxy would get a request to this
        // computer, and with plain http:// read its password.
        if (IsLoopbackHost(server.host))
            curl_easy_setopt(handle_, CURLOPT_PROXY, "");
        curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(handle_, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(handle_, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(handle_, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(handle_, CURLOPT_USERNAME, user_.c_str());
        curl_easy_setopt(handle_, CURLOPT_PASSWORD, password_.c_str());
        curl_easy_setopt(handle_, CURLOPT_USERAGENT, "Tilava/" TILAVA_VERSION);
        curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(limits_.connectTimeout.count() * 1000));
        curl_easy_setopt(handle_, CURLOPT_TIMEOUT_MS,
                         static_cast<long>(limits_.totalTimeout.count() * 1000));
        curl_easy_setopt(handle_, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(limits_.largestBody));
        curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, ReceiveBody);
        curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &reception);
        curl_easy_setopt(handle_, CURLOPT_HEADERFUNCTION, ReceiveHeader);
        curl_easy_setopt(handle_, CURLOPT_HEADERDATA, &reception);
        curl_easy_setopt(handle_, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        if (!request.body.empty() || request.method == "PUT" || request.method == "POST") {
            curl_easy_setopt(handle_, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(request.body.size()));
            curl_easy_setopt(handle_, CURLOPT_POSTFIELDS, request.body.data());
        } else if (request.method == "HEAD") {
            curl_easy_setopt(handle_, CURLOPT_NOBODY, 1L);
        }

        curl_slist* headers = nullptr;
        const auto add = [&headers](const std::string& line) {
            curl_slist* longer = curl_slist_append(headers, line.c_str());
            if (!longer) {
                curl_slist_free_all(headers);
                throw std::bad_alloc();
            }
            headers = longer;
        };
        for (const HttpHeader& header : request.headers)
            add(header.name + ": " + header.value);
        // curl would otherwise label a body as a web form and, past 1 MiB, wait for a
        // "100 Continue" that a plain server never sends.
        if (!HasHeader(request, "Content-Type"))
            add("Content-Type:");
        add("Expect:");
        curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers);
        const CURLcode result = curl_easy_perform(handle_);
        curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, nullptr);
        curl_slist_free_all(headers);
        // curl keeps a copy of the password until it is set again; between requests it has none.
        curl_easy_setopt(handle_, CURLOPT_PASSWORD, nullptr);

        if (result != CURLE_OK)
            throw Failure(result, server, reception);
        long status = 0;
        curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
        response.status = static_cast<int>(status);
        return response;
    }

private:
    HttpError Failure(CURLcode result, const ServerAddress& server,
                      const Reception& reception) const {
        using Kind = HttpError::Kind;
        if (reception.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
            return TooLargeError(server, limits_.largestBody);
        switch (result) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return ServerError(Kind::NoConnection, server, "jeho meno sa nedá nájsť");
        case CURLE_COULDNT_RESOLVE_PROXY:
            return ServerError(Kind::NoConnection, server,
                               "meno servera proxy (z premenných prostredia) sa nedá nájsť");
        case CURLE_COULDNT_CONNECT: {
            long systemError = 0;
            curl_easy_getinfo(handle_, CURLINFO_OS_ERRNO, &systemError);
            return ServerError(Kind::NoConnection, server, ConnectReason(systemError));
        }
        case CURLE_OPERATION_TIMEDOUT: {
            // The request went out when its size is known: the connection stood (made now or
            // kept from the request before, when curl gives no time of connecting), and the
            // answer is what came late.
            long sent = 0;
            curl_easy_getinfo(handle_, CURLINFO_REQUEST_SIZE, &sent);
            if (sent == 0)
                return ServerError(Kind::Timeout, server,
                                   "spojenie sa nenadviazalo do " +
                                       std::to_string(limits_.connectTimeout.count()) + " s");
            return ServerError(Kind::Timeout, server,
                               "celá odpoveď neprišla do " +
                                   std::to_string(limits_.totalTimeout.count()) + " s");
        }
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            return ServerError(Kind::Tls, server,
                               "jeho certifikát nie je dôveryhodný alebo nepatrí k jeho menu");
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_USE_SSL_FAILED:
            return ServerError(Kind::Tls, server,
                               "šifrované spojenie (TLS) sa nepodarilo nadviazať");
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
            return ServerError(Kind::NoConnection, server,
                               "spojenie sa prerušilo skôr, ako prišla celá odpoveď");
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
            return ServerError(Kind::NoConnection, server, "neodpovedá podľa protokolu HTTP");
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return ServerError(Kind::BadAddress, server, "adresa nie je platná adresa http(s)");
        default:
            return ServerError(Kind::NoConnection, server,
                               "spojenie zlyhalo (chyba knižnice libcurl č. " +
                                   std::to_string(static_cast<int>(result)) + ")");
        }
    }

    std::string user_;
    std::string password_;
    HttpLimits limits_;
    CURL* handle_ = nullptr;
};

} // namespace

std::unique_ptr<HttpClient> CreateHttpClient(const std::string& user, const std::string& password,
                                             const HttpLimits& limits) {
    return std::make_unique<CurlHttpClient>(user, password, limits);
}

} // namespace tilava
