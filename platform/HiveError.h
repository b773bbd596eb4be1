#pragma once

#include <stdexcept>
#include <string>

namespace tilava {

// A settings value that could not be written or deleted; what() says which one and why, in
// Slovak.
class HiveError : public std::runtime_error {
public:
    explicit HiveError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace tilava
