#pragma once

// A server on 127.0.0.1 that misbehaves as told, for the HTTP client's failures (and a proxy
// that only notes who came): a thread per connection, all ended when the server ends. POSIX
// only.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tilava::test {

class FakeServer {
public:
    enum class Behaviour {
        Silent,       // takes the request and never answers
        Trickle,      // answers 200 with a long body, one byte every 100 ms
        CutShort,     // sends the start of a 207 answer, then resets the connection
        OnceThenMute, // answers the first request of a connection, never the second
        Shut,         // closes each connection at once (a proxy that only notes who came)
        Full,         // never takes a connection, its queue full: a connection is never made
    };

    explicit FakeServer(Behaviour behaviour) : behaviour_(behaviour) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (listener_ < 0 || pipe(stop_) != 0 ||
            bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            listen(listener_, behaviour == Behaviour::Full ? 0 : 16) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            throw std::runtime_error("the fake server cannot listen");
        port_ = ntohs(address.sin_port);
        if (behaviour != Behaviour::Full) {
            threads_.emplace_back([this] { Accept(); });
        } else {
            // One waiting connection fills a queue of 0: the system drops later ones unanswered.
            filler_ = socket(AF_INET, SOCK_STREAM, 0);
            if (filler_ < 0 ||
                connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                throw std::runtime_error("the fake server's queue cannot be filled");
        }
    }

    ~FakeServer() {
        [[maybe_unused]] const auto written = write(stop_[1], "x", 1);
        for (std::thread& thread : threads_)
            if (thread.joinable())
                thread.join();
        close(listener_);
        if (filler_ >= 0)
            close(filler_);
        close(stop_[0]);
        close(stop_[1]);
    }

    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    int Connections() const { return connections_; }

private:
    // Waits until `socket` can be read; false when the server stops first.
    bool WaitFor(int socket) const {
        pollfd watched[2] = {{socket, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        return poll(watched, 2, -1) > 0 && !(watched[1].revents & POLLIN);
    }

    // Reads one request's head; false when the server stops or the client leaves.
    bool ReadRequest(int socket, std::string& received) const {
        while (received.find("\r\n\r\n") == std::string::npos) {
            char buffer[4096];
            if (!WaitFor(socket))
                return false;
            const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
            if (got <= 0)
                return false;
            received.append(buffer, static_cast<std::size_t>(got));
        }
        received.erase(0, received.find("\r\n\r\n") + 4);
        return true;
    }

    void Accept() {
        std::vector<std::thread> served;
        while (WaitFor(listener_)) {
            const int socket = accept(listener_, nullptr, nullptr);
            if (socket < 0)
                continue;
            ++connections_;
            served.emplace_back([this, socket] {
                Serve(socket);
                close(socket);
            });
        }
        for (std::thread& thread : served)
            thread.join();
    }

    void Serve(int socket) const {
        const auto sendText = [socket](std::string_view text) {
            return send(socket, text.data(), text.size(), MSG_NOSIGNAL) ==
                   static_cast<ssize_t>(text.size());
        };
        if (behaviour_ == Behaviour::Shut)
            return;
        std::string received;
        if (!ReadRequest(socket, received))
            return;
        switch (behaviour_) {
        case Behaviour::Silent:
            break;
        case Behaviour::Trickle:
            if (!sendText("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n"))
                return;
            for (;;) {
                pollfd stop{stop_[0], POLLIN, 0};
                if (poll(&stop, 1, 100) != 0 || !sendText("x"))
                    return;
            }
        case Behaviour::CutShort: {
            sendText("HTTP/1.1 207 Multi-Status\r\nContent-Length: 1000\r\n\r\n<?xml version=");
            const linger reset{1, 0};
            setsockopt(socket, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            return;
        }
        case Behaviour::OnceThenMute:
            if (!sendText("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok") ||
                !ReadRequest(socket, received))
                return;
            break;
        case Behaviour::Shut:
        case Behaviour::Full:
            return;
        }
        WaitFor(stop_[0]);
    }

    Behaviour behaviour_;
    int listener_ = -1;
    int filler_ = -1;
    int stop_[2] = {-1, -1};
    unsigned short port_ = 0;
    std::atomic<int> connections_{0};
    std::vector<std::thread> threads_;
};

} // namespace tilava::test
