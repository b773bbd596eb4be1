#include "store/NotesError.h"

#include "platform/SystemErrorText.h"

#include <utility>

namespace tilava {

namespace {

std::string Message(const std::filesystem::path& file, int line, const std::string& reason) {
    std::string text = "Súbor „" + PathText(file) + "“";
    if (line > 0) {
        text += ", riadok " + std::to_string(line);
    }
    return text + ": " + reason;
}

} // namespace

NotesError::NotesError(Kind kind, std::filesystem::path file, int line, std::string reason)
    : std::runtime_error(Message(file, line, reason)), kind(kind), file(std::move(file)),
      line(line), reason(std::move(reason)) {}

} // namespace tilava
