#pragma once

#include <chrono>
#include <optional>

namespace tilava {

class CalendarSyncRunner;
class InstanceChannel;
class SingleInstance;

// The program's last steps once its event loop has ended. A start right after "Ukončit" must
// find no copy running at once, so the single-instance claim and the name on the session bus
// go first; only then does a calendar sync that still waits for its server get up to `syncWait`
// to end. False when it did not: the caller ends the process at once (ending normally would
// tear down the libraries under it; the next sync picks up where this one stopped).
bool EndProgram(std::optional<SingleInstance>& single, std::optional<InstanceChannel>& channel,
                const CalendarSyncRunner& sync,
                std::chrono::milliseconds syncWait = std::chrono::seconds(2));

} // namespace tilava
