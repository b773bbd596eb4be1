// The module the program loads for a calendar sync (see exchange/SyncEntry.h).

#include "exchange/sync/DesktopSync.h"
#include "exchange/SyncEntry.h"

#include <exception>

extern "C" __attribute__((visibility("default"))) void
tilava_sync_calendar_3(const std::filesystem::path& folder, const tilava::SyncSettings& settings,
                       const tilava::SyncRequest& request, tilava::ExchangeResult& result) {
    // Nothing may unwind into the program across the module's edge.
    try {
        tilava::SyncWithDesktop(folder, settings, request, result);
        return;
    } catch (const std::exception& e) {
        result.message = std::string("Synchronizácia s kalendárom zlyhala: ") + e.what() + "\n";
    } catch (...) {
        result.message = "Synchronizácia s kalendárom zlyhala.\n";
    }
    result.success = false;
}

extern "C" __attribute__((visibility("default"))) bool
tilava_keep_sync_password_1(const tilava::SyncSettings& settings, const std::string& password,
                            std::string& message) {
    try {
        return tilava::KeepPasswordOnDesktop(settings, password, message);
    } catch (const std::exception& e) {
        message = std::string("Heslo sa neuložilo: ") + e.what() + "\n";
    } catch (...) {
        message = "Heslo sa neuložilo.\n";
    }
    return false;
}

// The entry points have the types the program calls them by.
[[maybe_unused]] static constexpr tilava::SyncEntry kSync = &tilava_sync_calendar_3;
[[maybe_unused]] static constexpr tilava::PasswordEntry kPassword = &tilava_keep_sync_password_1;
