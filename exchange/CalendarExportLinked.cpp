// The iCalendar writer is linked into the program (the Windows program).

#include "exchange/CalendarExchange.h"
#include "exchange/CalendarExport.h"

namespace tilava {

ExchangeResult ExportCalendarStamped(const std::filesystem::path& folder,
                                     const std::filesystem::path& subor,
                                     std::chrono::sys_seconds now, ExistingExport existing) {
    const ExportReport r = ExportCalendar(folder, subor, now, existing);
    return {r.Succeeded(), r.Text(subor)};
}

} // namespace tilava
