#include "exchange/sync/DesktopSync.h"

#include "exchange/sync/CalendarSync.h"
#include "platform/net/SecretStore.h"
#include "platform/SyncStateFolder.h"

namespace tilava {

namespace {

constexpr const char* kWhereToSetUp =
    "Nastavíte ju v ponuke ikony na lište: „Nastavenie synchronizácie…“.";

} // namespace

bool SyncWithDesktop(const std::filesystem::path& folder, const SyncSettings& settings,
                     std::string& message, bool& remarks) {
    remarks = false;
    if (!settings.Configured()) {
        message = std::string("Synchronizácia s kalendárom nie je nastavená: chýba adresa "
                              "kalendára alebo meno používateľa. ") +
                  kWhereToSetUp + "\n";
        return false;
    }
    const std::optional<std::filesystem::path> stateFolder = SyncStateFolder();
    if (!stateFolder) {
        message = "Synchronizácia neprebehla: priečinok pre jej stav sa nedá nájsť ani založiť. "
                  "Poznámky aj kalendár na serveri ostali, ako boli.\n";
        return false;
    }
    std::optional<std::string> password;
    try {
        password = CreateDesktopSecretStore()->Lookup(settings.calendarUrl, settings.user);
    } catch (const SecretStoreError& e) {
        message = std::string("Synchronizácia neprebehla: ") + e.what() + "\n";
        return false;
    }
    if (!password) {
        message = "Synchronizácia neprebehla: pre používateľa „" + settings.user +
                  "“ nie je uložené heslo. Zadáte ho v ponuke ikony na lište: „Nastavenie "
                  "synchronizácie…“.\n";
        return false;
    }
    try {
        const auto client = CreateHttpClient(settings.user, *password);
        const SyncReport report = RunCalendarSync(folder, *stateFolder, settings, *client);
        message = report.Text();
        remarks = !report.conflicts.empty() || !report.refused.empty();
        return report.Succeeded();
    } catch (const std::exception& e) {
        // A client that cannot start (HttpError), memory that ran out.
        message = std::string("Synchronizácia neprebehla celá: ") + e.what() + "\n";
        return false;
    }
}

bool KeepPasswordOnDesktop(const SyncSettings& settings, const std::string& password,
                           std::string& message) {
    try {
        const auto store = CreateDesktopSecretStore();
        if (password.empty()) {
            store->Clear(settings.calendarUrl, settings.user);
            message = "Heslo pre používateľa „" + settings.user + "“ sa zabudlo.\n";
        } else {
            store->Store(settings.calendarUrl, settings.user, password);
            message = "Heslo pre používateľa „" + settings.user +
                      "“ je uložené v úložisku hesiel systému.\n";
        }
        return true;
    } catch (const std::exception& e) {
        message = std::string(e.what()) + "\n";
        return false;
    }
}

} // namespace tilava
