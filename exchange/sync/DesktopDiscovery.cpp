#include "exchange/sync/DesktopDiscovery.h"

#include "exchange/sync/CalendarDiscovery.h"
#include "exchange/sync/SyncState.h"
#include "platform/FileLock.h"
#include "platform/net/SecretStore.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SecretMemory.h"
#include "platform/SyncStateFolder.h"

#include <optional>

namespace tilava {

namespace {

// The password typed, else the one kept for the settings saved before; nothing (and the reason
// in `found`) when there is none.
std::optional<std::string> Password(const std::string& typed, const std::string& user,
                                    const SyncSettings& kept, SyncCalendarsFound& found) {
    if (!typed.empty())
        return typed;
    std::optional<std::string> password;
    if (kept.Configured() && kept.user == user)
        password = CreateDesktopSecretStore()->Lookup(kept.calendarUrl, kept.user);
    if (!password)
        found.message = "Zadajte heslo používateľa „" + user + "“: pre neho nie je uložené žiadne.";
    return password;
}

// Runs `work` with a client of `user` and the typed or kept password, which is wiped when it
// ends; while it is held the process writes no core dump. Failures are said in the answer.
template <typename Work>
SyncCalendarsFound WithClient(const std::string& typed, const std::string& user,
                              const SyncSettings& kept, Work work) {
    SyncCalendarsFound found;
    const SecretHold hold;
    WipedSecret password;
    try {
        std::optional<std::string> secret = Password(typed, user, kept, found);
        if (!secret)
            return found;
        password.Text() = *secret;
        WipeSecret(*secret);
        const auto client = CreateHttpClient(user, password.Text());
        work(*client, found);
    } catch (const SecretStoreError& e) {
        found.message = e.what();
    } catch (const HttpError& e) {
        found.message = e.what();
    }
    return found;
}

} // namespace

SyncCalendarsFound FindCalendarsOnDesktop(const std::string& address, const std::string& user,
                                          const std::string& password, const SyncSettings& kept) {
    return WithClient(password, user, kept, [&](HttpClient& client, SyncCalendarsFound& found) {
        const CalendarSearch search = FindCalendars(address, user, client);
        found.success = search.Succeeded();
        found.message = search.failure;
        found.homeUrl = search.homeUrl;
        found.typedUrl = search.typedUrl;
        for (const FoundCalendar& c : search.calendars)
            found.calendars.push_back({c.url, c.name});
    });
}

SyncCalendarsFound MakeCalendarOnDesktop(const std::string& homeUrl, const std::string& user,
                                         const std::string& password, const SyncSettings& kept) {
    return WithClient(password, user, kept, [&](HttpClient& client, SyncCalendarsFound& found) {
        const MadeCalendar made = MakeCalendar(homeUrl, client);
        found.success = made.failure.empty();
        found.message = made.failure;
        found.homeUrl = homeUrl;
        if (found.success)
            found.calendars.push_back({made.url, "Tilava"});
    });
}

bool KeptPasswordOnDesktop(const SyncSettings& from, const SyncSettings* to, bool& kept,
                           std::string& message) {
    kept = false;
    try {
        const auto store = CreateDesktopSecretStore();
        const SecretHold hold;
        std::optional<std::string> found = store->Lookup(from.calendarUrl, from.user);
        kept = found.has_value();
        if (!to || !found)
            return true;
        WipedSecret password;
        password.Text() = *found;
        WipeSecret(*found);
        store->Store(to->calendarUrl, to->user, password.Text());
        store->Clear(from.calendarUrl, from.user);
        message = "Heslo pre používateľa „" + to->user + "“ platí aj pre novú adresu.\n";
        return true;
    } catch (const SecretStoreError& e) {
        message = std::string(e.what()) + "\n";
        return false;
    }
}

void ForgetListing(const std::filesystem::path& file) {
    std::optional<std::string> text;
    try {
        text = ReadFileIfExists(file, kLargestSyncState);
    } catch (const FileError& e) {
        throw SyncStateError(e.what());
    }
    if (!text)
        return;
    SyncState state = ReadSyncStateText(*text, file);
    state.token.clear();
    // Events that were no entry are taken as new at the next full listing and read again; the
    // entries keep their tags, so that nothing of the user's is deleted or sent unconditionally.
    std::erase_if(state.events, [](const auto& known) { return !known.second.entry; });
    SaveSyncState(file, state);
}

bool ForgetListingOnDesktop(std::string& message) {
    const std::optional<std::filesystem::path> folder = SyncStateFolder();
    if (!folder)
        return true; // no state: the next sync reads everything anyway
    try {
        const FileLock lock(*folder / "sync.lock", std::chrono::seconds(5));
        ForgetListing(*folder / kSyncStateName);
        return true;
    } catch (const FileLockError& e) {
        message = "Prepnutie sa prejaví až po synchronizácii, ktorá práve beží: jej stav sa teraz "
                  "nedá zmeniť (" +
                  e.reason + ").\n";
    } catch (const SyncStateError& e) {
        message = std::string(e.what()) + "\n";
    }
    return false;
}

} // namespace tilava
