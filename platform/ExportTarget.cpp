#include "platform/ExportTarget.h"

#include "platform/SystemErrorText.h"

#include <cctype>

namespace tilava {

namespace fs = std::filesystem;

fs::path RealPath(const fs::path& path) {
    fs::path existing = fs::absolute(path);
    fs::path rest;
    for (;;) {
        if (const fs::path real = ExistingRealPath(existing); !real.empty()) {
            return (rest.empty() ? real : real / rest).lexically_normal();
        }
        if (!existing.has_relative_path()) {
            return fs::absolute(path).lexically_normal();
        }
        rest = rest.empty() ? existing.filename() : existing.filename() / rest;
        existing = existing.parent_path();
    }
}

bool StartsAsCalendar(std::string_view head) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    constexpr std::string_view kBegin = "BEGIN:VCALENDAR";
    if (head.starts_with(kBom)) {
        head.remove_prefix(kBom.size());
    }
    const std::size_t start = head.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || head.size() - start < kBegin.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kBegin.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(head[start + i])) != kBegin[i]) {
            return false;
        }
    }
    return true;
}

void CheckExportTarget(const fs::path& target, const std::vector<fs::path>& ownFolders,
                       ExistingExport existing) {
    const auto refuse = [&](const std::string& reason) {
        throw FileError(target, "Do súboru „" + PathText(target) + "“ sa kalendár neuloží: " +
                                    reason + ". Súbor ostal nezmenený.");
    };
    const ExportTargetFacts facts = InspectExportTarget(SaveTarget(target, kExportSaveRules.links));
    for (const fs::path& folder : ownFolders) {
        if (LiesWithin(facts.real, folder)) {
            refuse("leží v priečinku „" + PathText(folder) +
                   "“, kde má Tilava svoje vlastné súbory (poznámky, nastavenia)");
        }
    }
    if (facts.exists && !facts.regular) {
        refuse("nie je obyčajný súbor (je to priečinok, pomenovaná rúra alebo zariadenie)");
    }
    if (facts.exists && existing == ExistingExport::CalendarOnly && !facts.empty &&
        !StartsAsCalendar(facts.head)) {
        refuse("už existuje a nie je to kalendár (iCalendar, začína sa BEGIN:VCALENDAR); "
               "prepísať ho dovolí voľba --force");
    }
}

} // namespace tilava
