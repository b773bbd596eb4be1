// The iCalendar writer is a module of its own (Linux), loaded at the first export, so that a
// start of the widget maps neither libical nor the writer.

#include "exchange/CalendarExchange.h"
#include "exchange/ExportEntry.h"
#include "exchange/LoadedModule.h"

namespace tilava {

ExchangeResult ExportCalendarStamped(const std::filesystem::path& folder,
                                     const std::filesystem::path& subor,
                                     std::chrono::sys_seconds now, ExistingExport existing) {
    ExchangeResult v;
    if (void* f = LoadedModuleEntry(kExportModuleName, kExportEntryName,
                                    "Export do kalendára sa nedá spustiť: jeho súčasť", v.message))
        v.success = reinterpret_cast<ExportEntry>(f)(folder, subor, now.time_since_epoch().count(),
                                                     existing, v.message);
    return v;
}

} // namespace tilava
