#include "platform/StandardOutput.h"

#include <cstdio>

namespace tilava {

bool WriteStandard(StandardStream stream, std::string_view utf8) {
    std::FILE* file = stream == StandardStream::Output ? stdout : stderr;
    const bool whole = std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size();
    return std::fflush(file) == 0 && whole;
}

} // namespace tilava
