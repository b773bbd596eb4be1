#include "ui/desktop/PlatformChoice.h"

#include <cstdlib>
#include <string_view>

namespace tilava {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

SessionVariables SessionVariables::Current() {
    return {Variable("QT_QPA_PLATFORM"), Variable("WAYLAND_DISPLAY"), Variable("DISPLAY")};
}

std::optional<std::string> PlatformForSession(const SessionVariables& session,
                                              std::span<const char* const> arguments) {
    if (!session.qtPlatform.empty() || session.waylandDisplay.empty() || session.display.empty())
        return std::nullopt;
    // Qt reads its options anywhere on the command line, with one dash or two; the program's
    // name is not one of them.
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i] ? arguments[i] : "";
        if (argument == "-platform" || argument == "--platform")
            return std::nullopt;
    }
    return std::string("xcb;wayland");
}

QtArguments::QtArguments(int argc, char* argv[], const SessionVariables& session) {
    const std::span<const char* const> arguments(argv, static_cast<std::size_t>(argc));
    values_.assign(argv, argv + argc);
    if (const auto platform = PlatformForSession(session, arguments); platform && argc > 0) {
        added_ = {"-platform", *platform};
        values_.insert(values_.begin() + 1, {added_[0].data(), added_[1].data()});
    }
    count_ = static_cast<int>(values_.size());
    values_.push_back(nullptr); // argv[argc] is a null pointer, as Qt may expect
}

} // namespace tilava
