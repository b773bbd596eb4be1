// The module the program loads for a calendar sync (see exchange/SyncEntry.h).

#include "exchange/sync/DesktopDiscovery.h"
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

extern "C" __attribute__((visibility("default"))) bool
tilava_find_calendars_1(const std::string& address, const std::string& user,
                        const std::string& password, const tilava::SyncSettings& kept,
                        const std::string& homeUrl, tilava::SyncCalendarsFound& found) {
    try {
        found = homeUrl.empty() ? tilava::FindCalendarsOnDesktop(address, user, password, kept)
                                : tilava::MakeCalendarOnDesktop(homeUrl, user, password, kept);
        return found.success;
    } catch (const std::exception& e) {
        found = {};
        found.message = std::string("Kalendáre sa nepodarilo nájsť: ") + e.what();
    }
    return false;
}

extern "C" __attribute__((visibility("default"))) bool
tilava_kept_sync_password_1(const tilava::SyncSettings& from, const tilava::SyncSettings* to,
                            bool& kept, std::string& message) {
    try {
        return tilava::KeptPasswordOnDesktop(from, to, kept, message);
    } catch (const std::exception& e) {
        message = std::string("Heslo sa nepodarilo preniesť: ") + e.what() + "\n";
    }
    return false;
}

extern "C" __attribute__((visibility("default"))) bool
tilava_forget_sync_listing_1(std::string& message) {
    try {
        return tilava::ForgetListingOnDesktop(message);
    } catch (const std::exception& e) {
        message = std::string("Stav synchronizácie sa nezmenil: ") + e.what() + "\n";
    }
    return false;
}

[[maybe_unused]] static constexpr tilava::FindCalendarsEntry kFind = &tilava_find_calendars_1;
[[maybe_unused]] static constexpr tilava::KeptPasswordEntry kKept = &tilava_kept_sync_password_1;
[[maybe_unused]] static constexpr tilava::ForgetListingEntry kForget =
    &tilava_forget_sync_listing_1;
