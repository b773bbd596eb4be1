// A build without libical has no iCalendar writer: the export says so and changes nothing.

#include "exchange/CalendarExchange.h"

namespace tilava {

ExchangeResult ExportCalendarStamped(const std::filesystem::path&, const std::filesystem::path&,
                                     std::chrono::sys_seconds, ExistingExport) {
    return {false, "Táto zostava Tilavy export do kalendára nemá (bola zostavená bez knižnice "
                   "libical).\n"};
}

} // namespace tilava
