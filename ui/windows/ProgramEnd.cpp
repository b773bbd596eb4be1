#include "ui/windows/ProgramEnd.h"

#include "platform/SingleInstance.h"
#include "ui/desktop/InstanceChannel.h"
#include "ui/windows/CalendarSyncRunner.h"

namespace tilava {

bool EndProgram(std::optional<SingleInstance>& single, std::optional<InstanceChannel>& channel,
                const CalendarSyncRunner& sync, std::chrono::milliseconds syncWait) {
    channel.reset();
    single.reset();
    return sync.WaitForEnd(syncWait);
}

} // namespace tilava
