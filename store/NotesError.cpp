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

NotesError::NotesError(Kind error, std::filesystem::path dayFile, int lineNumber, std::string why)
    : std::runtime_error(Message(dayFile, lineNumber, why)), kind(error), file(std::move(dayFile)),
      line(lineNumber), reason(std::move(why)) {}

} // namespace tilava
