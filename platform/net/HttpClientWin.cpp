// The HTTP client of Windows: WinHTTP, one session per client, which keeps its connections to
// the server between requests where the server allows it.
#include "platform/net/HttpClient.h"
#include "platform/net/ServerAddress.h"
#include "platform/SecretMemory.h"
#include "platform/SystemErrorText.h"
#include "platform/WideText.h"

#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <limits>
#include <new>
#include <stdexcept>
#include <string_view>

namespace tilava {

namespace {

// A WinHTTP handle, closed once.
class Handle {
public:
    Handle() = default;
    explicit Handle(HINTERNET handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    void Close() {
        if (handle_)
            WinHttpCloseHandle(handle_);
        handle_ = nullptr;
    }

    HINTERNET handle_ = nullptr;
};

std::string Base64(std::string_view bytes) {
    constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8 |
                               static_cast<unsigned char>(bytes[i + 2]);
        encoded += kDigits[group >> 18];
        encoded += kDigits[(group >> 12) & 63];
        encoded += kDigits[(group >> 6) & 63];
        encoded += kDigits[group & 63];
    }
    if (bytes.size() - i == 1) {
        const unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        encoded += kDigits[group >> 18];
        encoded += kDigits[(group >> 12) & 63];
        encoded += "==";
    } else if (bytes.size() - i == 2) {
        const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8;
        encoded += kDigits[group >> 18];
        encoded += kDigits[(group >> 12) & 63];
        encoded += kDigits[(group >> 6) & 63];
        encoded += '=';
    }
    return encoded;
}

// Overwrites a wide string that held the password (SecureZeroMemory is never left out).
void WipeWide(std::wstring& text) noexcept {
    if (!text.empty())
        SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t));
    text.clear();
}

// "Authorization: Basic …" for the user and password; the copies on the way are wiped.
std::wstring BasicAuthorization(const std::string& user, const std::string& password) {
    std::string pair = user + ":" + password;
    std::string encoded = Base64(pair);
    WipeSecret(pair);
    std::wstring header = L"Authorization: Basic " + Utf8ToWide(encoded);
    WipeSecret(encoded);
    return header;
}

DWORD Milliseconds(std::chrono::seconds time) {
    const auto count = std::chrono::duration_cast<std::chrono::milliseconds>(time).count();
    return count > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                   : static_cast<DWORD>(count);
}

class WinHttpClient final : public HttpClient {
public:
    WinHttpClient(const std::string& user, const std::string& password, const HttpLimits& limits)
        : limits_(limits), authorization_(BasicAuthorization(user, password)) {
        const std::wstring agent = Utf8ToWide("Tilava/" TILAVA_VERSION);
        // The proxy of the system's settings; Windows before 8.1 knows only WinHTTP's own.
        session_ = Handle(WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
        if (!session_)
            session_ = Handle(WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                          WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
        if (!session_)
            throw std::runtime_error("Sieťové služby systému (WinHTTP) sa nedajú spustiť: " +
                                     SystemErrorText(GetLastError()) + ".");
        const int connect = static_cast<int>(Milliseconds(limits_.connectTimeout));
        const int total = static_cast<int>(Milliseconds(limits_.totalTimeout));
        WinHttpSetTimeouts(session_.get(), connect, connect, total, total);
    }

    ~WinHttpClient() override { WipeWide(authorization_); }
    WinHttpClient(const WinHttpClient&) = delete;
    WinHttpClient& operator=(const WinHttpClient&) = delete;

    HttpResponse Send(const HttpRequest& request) override {
        const ServerAddress server = ReadServerAddress(request.url);
        CheckHeaders(request.headers);
        if (request.body.size() > std::numeric_limits<DWORD>::max())
            throw std::invalid_argument("Požiadavka na server je príliš dlhá.");
        const auto deadline = std::chrono::steady_clock::now() + limits_.totalTimeout;

        if (!connection_ || server.host != connectedHost_ || server.port != connectedPort_) {
            connection_ = Handle(
                WinHttpConnect(session_.get(), Utf8ToWide(server.host).c_str(), server.port, 0));
            if (!connection_)
                throw Failure(GetLastError(), server);
            connectedHost_ = server.host;
            connectedPort_ = server.port;
        }
        const std::wstring method = Utf8ToWide(request.method);
        const std::wstring target = Utf8ToWide(server.target);
        const Handle call(WinHttpOpenRequest(
            connection_.get(), method.c_str(), target.c_str(), nullptr, WINHTTP_NO_REFERER,
            WINHTTP_DEFAULT_ACCEPT_TYPES, server.secure ? WINHTTP_FLAG_SECURE : 0));
        if (!call)
            throw Failure(GetLastError(), server);
        // A 3xx comes back as an answer; nothing is followed to another place.
        DWORD disabled = WINHTTP_DISABLE_REDIRECTS;
        if (!WinHttpSetOption(call.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disabled,
                              sizeof disabled))
            throw Failure(GetLastError(), server);
        // The session takes the system's proxy, and its list of addresses to reach directly may
        // leave out this computer: a proxy would get the request, and with plain http:// read
        // the password. A request to this computer goes there directly.
        if (IsLoopbackHost(server.host)) {
            WINHTTP_PROXY_INFO direct{};
            direct.dwAccessType = WINHTTP_ACCESS_TYPE_NO_PROXY;
            if (!WinHttpSetOption(call.get(), WINHTTP_OPTION_PROXY, &direct, sizeof direct))
                throw Failure(GetLastError(), server);
        }

        // The headers with the password are wiped however the request ends.
        struct WipedHeaders {
            std::wstring text;
            ~WipedHeaders() { WipeWide(text); }
        } headers{authorization_ + L"\r\n"};
        for (const HttpHeader& header : request.headers)
            headers.text += Utf8ToWide(header.name + ": " + header.value) + L"\r\n";

        const auto length = static_cast<DWORD>(request.body.size());
        void* body = length ? const_cast<char*>(request.body.data()) : WINHTTP_NO_REQUEST_DATA;
        if (!WinHttpSendRequest(call.get(), headers.text.c_str(), static_cast<DWORD>(-1L), body,
                                length, length, 0) ||
            !WinHttpReceiveResponse(call.get(), nullptr))
            throw Failure(GetLastError(), server);

        HttpResponse response;
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!WinHttpQueryHeaders(call.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                                 WINHTTP_NO_HEADER_INDEX))
            throw Failure(GetLastError(), server);
        response.status = static_cast<int>(status);
        response.etag = Header(call.get(), WINHTTP_QUERY_ETAG);
        response.location = Header(call.get(), WINHTTP_QUERY_LOCATION);
        // A length announced beyond the limit is refused before anything is read.
        unsigned long long announced = 0;
        for (const char digit : Header(call.get(), WINHTTP_QUERY_CONTENT_LENGTH)) {
            if (digit < '0' || digit > '9')
                break;
            announced = announced * 10 + static_cast<unsigned>(digit - '0');
            if (announced > limits_.largestBody)
                throw TooLargeError(server, limits_.largestBody);
        }

        for (;;) {
            DWORD available = 0;
            if (!WinHttpQueryDataAvailable(call.get(), &available))
                throw Failure(GetLastError(), server);
            if (available == 0)
                break;
            if (available > limits_.largestBody - response.body.size())
                throw TooLargeError(server, limits_.largestBody);
            // WinHTTP times each step alone; the whole answer has its own deadline.
            if (std::chrono::steady_clock::now() > deadline)
                throw Failure(ERROR_WINHTTP_TIMEOUT, server);
            const std::size_t start = response.body.size();
            response.body.resize(start + available);
            DWORD read = 0;
            if (!WinHttpReadData(call.get(), response.body.data() + start, available, &read))
                throw Failure(GetLastError(), server);
            response.body.resize(start + read);
        }
        return response;
    }

private:
    // A header of the answer, or empty when it has none.
    static std::string Header(HINTERNET call, DWORD which) {
        DWORD size = 0;
        WinHttpQueryHeaders(call, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                            &size, WINHTTP_NO_HEADER_INDEX);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
            return {};
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (!WinHttpQueryHeaders(call, which, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                                 WINHTTP_NO_HEADER_INDEX))
            return {};
        value.resize(size / sizeof(wchar_t));
        return WideToUtf8(value);
    }

    HttpError Failure(DWORD code, const ServerAddress& server) const {
        using Kind = HttpError::Kind;
        switch (code) {
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
            return ServerError(Kind::NoConnection, server, "jeho meno sa nedá nájsť");
        case ERROR_WINHTTP_CANNOT_CONNECT:
            // WinHTTP does not tell a refused connection from a server out of reach.
            return ServerError(Kind::NoConnection, server,
                               "spojenie odmietnuté alebo server nie je v sieti dostupný");
        case ERROR_WINHTTP_TIMEOUT:
            return ServerError(Kind::Timeout, server,
                               "odpoveď neprišla do " +
                                   std::to_string(limits_.totalTimeout.count()) + " s");
        case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
        case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
        case ERROR_WINHTTP_SECURE_INVALID_CA:
        case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
        case ERROR_WINHTTP_SECURE_INVALID_CERT:
        case ERROR_WINHTTP_SECURE_CERT_REVOKED:
        case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
            return ServerError(Kind::Tls, server,
                               "jeho certifikát nie je dôveryhodný alebo nepatrí k jeho menu");
        case ERROR_WINHTTP_SECURE_FAILURE:
        case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        case ERROR_WINHTTP_SECURE_FAILURE_PROXY:
            return ServerError(Kind::Tls, server,
                               "šifrované spojenie (TLS) sa nepodarilo nadviazať");
        case ERROR_WINHTTP_CONNECTION_ERROR:
            return ServerError(Kind::NoConnection, server,
                               "spojenie sa prerušilo skôr, ako prišla celá odpoveď");
        case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
            return ServerError(Kind::NoConnection, server, "neodpovedá podľa protokolu HTTP");
        case ERROR_WINHTTP_INVALID_URL:
        case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
            return ServerError(Kind::BadAddress, server, "adresa nie je platná adresa http(s)");
        default:
            return ServerError(Kind::NoConnection, server, SystemErrorText(code));
        }
    }

    HttpLimits limits_;
    std::wstring authorization_;
    Handle session_;
    Handle connection_;
    std::string connectedHost_;
    unsigned short connectedPort_ = 0;
};

} // namespace

std::unique_ptr<HttpClient> CreateHttpClient(const std::string& user, const std::string& password,
                                             const HttpLimits& limits) {
    return std::make_unique<WinHttpClient>(user, password, limits);
}

} // namespace tilava
