#pragma once

#include <string>
#include <utility>

namespace tilava {

// Overwrites every byte of `secret` (in a way the optimiser keeps) and empties it, so that a
// password used up leaves no copy in the string's memory.
void WipeSecret(std::string& secret) noexcept;

// While one lives, the process cannot write a core dump, nor can another process of the user
// read its memory by ptrace (Linux: PR_SET_DUMPABLE 0 and a core size limit of 0); the last
// one to end gives back the settings found before the first. Hold one for as long as a password is
// in memory. Safe to hold from several threads at once. On Windows it does nothing.
class SecretHold final {
public:
    SecretHold();
    ~SecretHold();
    SecretHold(const SecretHold&) = delete;
    SecretHold& operator=(const SecretHold&) = delete;
};

// A password that is wiped (WipeSecret) when it goes out of scope, whichever way.
class WipedSecret final {
public:
    WipedSecret() = default;
    explicit WipedSecret(std::string secret) : secret_(std::move(secret)) {}
    ~WipedSecret() { WipeSecret(secret_); }
    WipedSecret(const WipedSecret&) = delete;
    WipedSecret& operator=(const WipedSecret&) = delete;

    std::string& Text() { return secret_; }

private:
    std::string secret_;
};

} // namespace tilava
