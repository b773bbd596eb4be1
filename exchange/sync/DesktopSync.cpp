#include "exchange/sync/DesktopSync.h"

#include "exchange/sync/CalendarSync.h"
#include "platform/net/SecretStore.h"
#include "platform/SyncStateFolder.h"

namespace tilava {

namespace {

constexpr const char* kWhereToSetUp =
    "Nastavíte ju v ponuke ikony na lište: „Nastavenie synchronizácie…“.";

} // namespace

void SyncWithDesktop(const std::filesystem::path& folder, const SyncSettings& settings,
                     const SyncRequest& request, ExchangeResult& result) {
    result = {};
    std::string& message = result.message;
    if (!settings.Configured()) {
        message = std::string("Synchronizácia s kalendárom nie je nastavená: chýba adresa "
                              "kalendára alebo meno používateľa. ") +
                  kWhereToSetUp + "\n";
        return;
    }
    const std::optional<std::filesystem::path> stateFolder = SyncStateFolder();
    if (!stateFolder) {
        message = "Synchronizácia neprebehla: priečinok pre jej stav sa nedá nájsť ani založiť. "
                  "Poznámky aj kalendár na serveri ostali, ako boli.\n";
        return;
    }
    std::optional<std::string> password;
    try {
        password = CreateDesktopSecretStore()->Lookup(settings.calendarUrl, settings.user);
    } catch (const SecretStoreError& e) {
        message = std::string("Synchronizácia neprebehla: ") + e.what() + "\n";
        return;
    }
    if (!password) {
        message = "Synchronizácia neprebehla: pre používateľa „" + settings.user +
                  "“ nie je uložené heslo. Zadáte ho v ponuke ikony na lište: „Nastavenie "
                  "synchronizácie…“.\n";
        return;
    }
    try {
        const auto client = CreateHttpClient(settings.user, *password);
        SyncOptions options;
        options.allowManyRemovals = request.allowManyRemovals;
        options.progress = request.progress;
        const SyncReport report = RunCalendarSync(folder, *stateFolder, settings, *client, options);
        message = report.Text();
        result.remarks = !report.conflicts.empty() || !report.refused.empty();
        result.withheldRemovals = report.withheld;
        result.success = report.Succeeded();
    } catch (const std::exception& e) {
        // A client that cannot start (HttpError), memory that ran out.
        message = std::string("Synchronizácia neprebehla celá: ") + e.what() + "\n";
        return;
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
