#include "exchange/CalendarExchange.h"

#include "exchange/VcardImport.h"

namespace tilava {

namespace fs = std::filesystem;

ExchangeResult ExportCalendarFile(const fs::path& folder, const fs::path& subor,
                                  ExistingExport existing) {
    // The events' time stamp is a moment in UTC, not the user's day: the injectable clock
    // holds only local time, so this one reading comes from the system.
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    return ExportCalendarStamped(folder, subor, now, existing);
}

ExchangeResult ImportContactsFile(const fs::path& folder, const fs::path& subor) {
    const ImportReport r = ImportVcardFile(subor, folder);
    return {r.Succeeded(), r.Text()};
}

} // namespace tilava
