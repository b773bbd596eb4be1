#include "exchange/sync/CalendarSync.h"

#include "core/Dates.h"
#include "exchange/EventMapping.h"
#include "exchange/sync/CalendarDiscovery.h"
#include "exchange/sync/CalendarListing.h"
#include "exchange/sync/DavXml.h"
#include "exchange/sync/DayOrder.h"
#include "exchange/sync/RemovedEntries.h"
#include "exchange/sync/SyncPlan.h"
#include "exchange/sync/SyncState.h"
#include "platform/FileLock.h"
#include "platform/net/ServerAddress.h"
#include "platform/SystemErrorText.h"
#include "store/NotesError.h"

#include <new>
#include <optional>
#include <set>

namespace tilava {

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

constexpr const char* kLockName = "sync.lock";
constexpr std::string_view kCalDav = "urn:ietf:params:xml:ns:caldav";
const std::string kNothingChanged = " Poznámky aj kalendár na serveri ostali, ako boli.";

// Ends the run; the report already says why.
struct Stopped {};

class SyncRun {
public:
    SyncRun(const fs::path& notesFolder, const fs::path& stateFolder, const SyncSettings& settings,
            HttpClient& client, const SyncOptions& options, SyncReport& report)
        : notesFolder_(notesFolder), stateFolder_(stateFolder),
          stateFile_(stateFolder / kSyncStateName), settings_(settings), client_(client),
          options_(options), report_(report) {}

    void Run() {
        try {
            state_ = LoadSyncState(stateFile_, settings_.calendarUrl, settings_.user);
            server_ = ReadServerAddress(settings_.calendarUrl);
            if (server_.target.empty() || server_.target.back() != '/') {
                server_.target += '/';
            }
            collection_ = server_.target;
            FindCalendar();
            std::vector<RemoteChange> changes = ListChanges();
            for (const RemoteChange& c : changes) {
                if (c.position >= 0) {
                    incomingPositions_[c.href] = c.position;
                }
            }
            Scan();
            const SyncPlan plan =
                PlanSync(state_, local_, unreadDays_, changes, options_.allowManyRemovals);
            complete_ = complete_ && plan.complete;
            report_.withheld = plan.withheld;
            total_ = static_cast<int>(plan.localChanges.size() + plan.uploads.size() +
                                      plan.deletes.size());
            Progress();
            for (const StateUpdate& u : plan.settled) {
                Learn(u);
            }
            changed_ = !plan.settled.empty();
            report_.conflicts = plan.conflicts;
            report_.refused = plan.refused;
            ChangeNotes(plan.localChanges);
            Upload(plan.uploads);
            Delete(plan.deletes);
            if (complete_ && report_.uploaded + report_.deleted > 0) {
                MoveTokenPastOwnChanges();
            }
            if (complete_) {
                state_.token = token_;
            }
            Save();
        } catch (const Stopped&) {
            SaveAfterFailure();
        } catch (const SyncStateError& e) {
            report_.failures.push_back(e.what());
        } catch (const HttpError& e) {
            report_.failures.push_back(e.what() + (changed_ ? std::string() : kNothingChanged));
            SaveAfterFailure();
        } catch (const XmlError& e) {
            report_.failures.push_back("Server " + server_.HostAndPort() +
                                       " poslal odpoveď, ktorej Tilava nerozumie: " + e.what() +
                                       (changed_ ? std::string() : kNothingChanged));
            SaveAfterFailure();
        } catch (const std::bad_alloc&) {
            report_.failures.push_back("Synchronizácia sa zastavila: nedostatok pamäte." +
                                       (changed_ ? std::string() : kNothingChanged));
            SaveAfterFailure();
        } catch (const std::exception& e) {
            // Whatever else stops a sync (a request the client refuses to send) is reported too.
            report_.failures.push_back("Synchronizácia sa zastavila: " + std::string(e.what()) +
                                       (changed_ ? std::string() : kNothingChanged));
            SaveAfterFailure();
        }
    }

private:
    HttpResponse Send(const std::string& method, const std::string& path,
                      std::vector<HttpHeader> headers, std::string body = {}) {
        ServerAddress target = server_;
        target.target = path;
        ++requests_;
        return client_.Send({method, target.Url(), std::move(headers), std::move(body)});
    }

    // The server refused the request `what` ("zoznam zmien"): said in the report, and the run
    // ends unless `goOn`.
    void Refused(const HttpResponse& answer, const std::string& what, bool goOn = false) {
        const std::string status = " (HTTP " + std::to_string(answer.status) + ")";
        std::string text;
        if (answer.status == 401 || (answer.status == 403 && requests_ == 1)) {
            text = "Server " + server_.HostAndPort() + " odmietol používateľa „" + settings_.user +
                   "“ alebo heslo" + status +
                   ". Heslo zadáte v ponuke ikony na lište: „Nastavenie synchronizácie…“.";
            goOn = false;
        } else if (answer.status >= 500) {
            text = "Server " + server_.HostAndPort() + " odmietol " + what + status +
                   "; skúste to neskôr.";
            goOn = false;
        } else {
            text = "Server " + server_.HostAndPort() + " nevybavil " + what + status + ".";
        }
        report_.failures.push_back(text + (changed_ ? std::string() : kNothingChanged));
        if (!goOn) {
            throw Stopped{};
        }
    }

    // The address must be a calendar: a missing one, or a server's root or an account's home,
    // stops the sync before anything changes. No calendar is ever made here.
    void FindCalendar() {
        const HttpResponse found = Send(
            "PROPFIND", collection_, {{"Depth", "0"}, {"Content-Type", kXml}}, CalendarCheckBody());
        if (found.status != 207 && found.status != 404) {
            Refused(found, "otvoriť kalendár");
        }
        if (const std::string problem = CalendarProblem(found, settings_.calendarUrl);
            !problem.empty()) {
            report_.failures.push_back(problem + kNothingChanged);
            throw Stopped{};
        }
    }

    // How the listing reaches the server: through Send and Refused.
    ListingServer Server() {
        return {
            [this](const std::string& method, const std::string& path,
                   std::vector<HttpHeader> headers, std::string body) {
                return Send(method, path, std::move(headers), std::move(body));
            },
            [this](const HttpResponse& answer, const std::string& what) { Refused(answer, what); }};
    }

    // The server's changes since the state's token, read as entries.
    std::vector<RemoteChange> ListChanges() {
        ServerListing listing = ListServerChanges(
            Server(), collection_, state_, settings_.yearlyEventsAsBirthdays, options_.fetchBatch);
        token_ = listing.token;
        complete_ = complete_ && listing.complete;
        return std::move(listing.changes);
    }

    // The entries of every day file, as the export reads them.
    void Scan() {
        for (const month_day date : EveryDayOfTheYear()) {
            TDayNotes notes(notesFolder_);
            try {
                notes.Nacitaj(year{2024} / date);
            } catch (const NotesError& e) {
                report_.failures.push_back(std::string(e.what()) +
                                           " Záznamy toho dňa sa nesynchronizovali.");
                unreadDays_.insert(date);
                continue;
            }
            for (int i = 0; i < notes.Pocet(); ++i) {
                if (const auto key = KeyOf(notes.Polozka(i), date)) {
                    if (local_.try_emplace(*key, notes.Polozka(i)).second) {
                        positions_[*key] = i;
                    }
                }
            }
        }
    }

    void Learn(const StateUpdate& update) {
        if (update.second) {
            state_.events[update.first] = *update.second;
        } else {
            state_.events.erase(update.first);
        }
    }

    void StepDone() {
        changed_ = true;
        ++steps_;
        if (options_.saveEvery > 0 && steps_ % options_.saveEvery == 0) {
            SaveSyncState(stateFile_, state_);
        }
        if (options_.afterStep) {
            options_.afterStep(steps_);
        }
        Progress();
    }

    void Progress() const {
        if (options_.progress) {
            options_.progress(steps_, total_);
        }
    }

    // Where the computer that sent the events of an addition had its entry (-1: not said).
    int IncomingPosition(const LocalChange& addition) const {
        int position = -1;
        for (const StateUpdate& u : addition.done) {
            const auto it = incomingPositions_.find(u.first);
            if (it != incomingPositions_.end() && (position < 0 || it->second < position)) {
                position = it->second;
            }
        }
        return position;
    }

    // Removes and adds entries day by day through the notes store, one save a day.
    void ChangeNotes(const std::vector<LocalChange>& changes) {
        std::map<month_day, std::vector<const LocalChange*>> days;
        for (const LocalChange& c : changes) {
            days[c.key.date].push_back(&c);
        }
        for (const auto& [date, dayChanges] : days) {
            TDayNotes notes(notesFolder_);
            try {
                notes.Nacitaj(year{2024} / date);
                std::vector<RemovedEntry> removed;
                std::vector<PlacedEntry> added;
                for (const LocalChange* c : dayChanges) {
                    bool present = false;
                    for (int i = notes.Pocet() - 1; i >= 0; --i) {
                        if (KeyOf(notes.Polozka(i), date) != c->key) {
                            continue;
                        }
                        present = true;
                        if (!c->add) {
                            removed.push_back({date, notes.Polozka(i)});
                            notes.Zmaz(i);
                        }
                    }
                    if (c->add && !present) {
                        added.push_back({IncomingPosition(*c), c->key, EntryOf(c->key)});
                    }
                }
                if (!added.empty()) {
                    std::vector<TNote> day;
                    for (int i = 0; i < notes.Pocet(); ++i) {
                        day.push_back(notes.Polozka(i));
                    }
                    notes.Vycisti();
                    for (TNote& entry : PlaceEntries(std::move(day), std::move(added))) {
                        notes.Pridaj(std::move(entry));
                    }
                }
                // What leaves a day file is kept where the user can take it back from, first.
                KeepRemovedEntries(stateFolder_, removed, options_.now);
                if (std::string joined = notes.Uloz(FolderFlush::Later); !joined.empty()) {
                    report_.notices.push_back(std::move(joined));
                }
            } catch (const FileError& e) {
                report_.failures.push_back(std::string(e.what()) +
                                           " Záznamy, ktoré mali z poznámok odísť, ostali; "
                                           "prídu na rad pri ďalšej synchronizácii.");
                complete_ = false;
                continue;
            } catch (const NotesError& e) {
                report_.failures.push_back(std::string(e.what()) +
                                           " Zmeny zo servera pre tento deň prídu pri ďalšej "
                                           "synchronizácii.");
                complete_ = false;
                continue;
            }
            flush_ = true;
            for (const LocalChange* c : dayChanges) {
                for (const StateUpdate& u : c->done) {
                    Learn(u);
                }
                ++(c->add ? report_.added : report_.removed);
                StepDone();
            }
        }
        if (flush_) {
            try {
                FlushFolder(notesFolder_);
            } catch (const FileError& e) {
                report_.failures.push_back(e.what());
            }
        }
    }

    // Whether an answer to a PUT or DELETE of one event lets the sync go on.
    bool Accepted(const HttpResponse& answer, const std::string& what) {
        if (answer.status >= 200 && answer.status < 300) {
            return true;
        }
        if (answer.status == 412) {
            ++report_.waiting;
        } else {
            Refused(answer, what, true);
        }
        return false;
    }

    // The event at `href` as the server has it now, when it reads as the entry `key`: its
    // etag (which may be empty) and UID. Nothing when it is gone, another entry or event.
    std::optional<KnownEvent> EventOfEntry(const std::string& href, const EntryKey& key) {
        const HttpResponse answer = Send("GET", href, {});
        if (answer.status != 200) {
            return std::nullopt;
        }
        const ReadEvent event = ReadCalendarEvent(answer.body, settings_.yearlyEventsAsBirthdays);
        if (event.kind != ReadEvent::Kind::Entry || KeyOf(event.entry, event.date) != key) {
            return std::nullopt;
        }
        return KnownEvent{UsableEtag(answer.etag), event.uid, key};
    }

    // Each entry goes up as a new event (If-None-Match: *) under its UID's name. When the
    // server holds that name or UID for another event (the phone renamed this entry's event
    // and the user typed the entry again, an event the notes could not take in, a calendar that
    // imported an export and was edited since), the entry goes up under the next free name
    // ("-1", "-2", ...), beside that one. An event already there that reads as this entry is
    // taken as it.
    void Upload(const std::vector<std::pair<EntryKey, TNote>>& uploads) {
        static constexpr int kNames = 10;
        for (const auto& [key, entry] : uploads) {
            const std::string uid = EntryUid(entry, key.date);
            const std::string name = uid.substr(0, uid.find('@'));
            const auto position = positions_.find(key);
            bool settled = false;
            for (int attempt = 0; attempt < kNames && !settled; ++attempt) {
                const std::string suffix = attempt == 0 ? "" : "-" + std::to_string(attempt);
                const std::string href = collection_ + name + suffix + ".ics";
                std::string event =
                    EventCalendarText(entry, key.date, name + suffix + "@tilava", options_.now);
                if (position != positions_.end()) {
                    event = WithPosition(std::move(event), position->second);
                }
                const HttpResponse answer =
                    Send("PUT", href,
                         {{"If-None-Match", "*"}, {"Content-Type", "text/calendar; charset=utf-8"}},
                         std::move(event));
                if (answer.status >= 200 && answer.status < 300) {
                    // Without an etag in the answer, the next sync learns it.
                    state_.events[href] = {UsableEtag(answer.etag), name + suffix + "@tilava", key};
                    ++report_.uploaded;
                    settled = true;
                } else if (answer.status == 412) {
                    if (const auto there = EventOfEntry(href, key)) {
                        state_.events[href] = *there;
                        settled = true;
                    }
                } else if (answer.status != 409) {
                    Refused(answer, "udalosť " + EntryTitle(key), true);
                    settled = true;
                }
            }
            if (!settled) {
                report_.failures.push_back("Záznam " + EntryTitle(key) +
                                           " sa na server nedostal: všetky mená jeho udalosti sú "
                                           "obsadené inými udalosťami.");
            }
            StepDone();
        }
    }

    // Deletes on condition that the event is still the one the state knows (If-Match). An
    // event whose etag is not known (an upload answered without one) is read first: deleted
    // only when it still reads as the entry, by the etag it has then; never without If-Match.
    void Delete(const std::vector<RemoteDelete>& deletes) {
        for (const RemoteDelete& d : deletes) {
            const auto known = state_.events.find(d.href);
            const std::optional<EntryKey> entry =
                known != state_.events.end() ? known->second.entry : std::nullopt;
            const std::string what = "zmazať udalosť " + (entry ? EntryTitle(*entry) : d.href);
            std::string etag = d.etag;
            if (etag.empty() && entry) {
                if (const auto there = EventOfEntry(d.href, *entry)) {
                    etag = there->etag;
                }
            }
            if (etag.empty()) {
                ++report_.waiting;
                StepDone();
                continue;
            }
            const HttpResponse answer = Send("DELETE", d.href, {{"If-Match", etag}});
            if (answer.status == 404 || Accepted(answer, what)) {
                state_.events.erase(d.href);
                report_.deleted += answer.status == 404 ? 0 : 1;
            }
            StepDone();
        }
    }

    // After this sync's own uploads and deletes (see TokenPastOwnChanges).
    void MoveTokenPastOwnChanges() {
        try {
            token_ = TokenPastOwnChanges(Server(), collection_, state_, token_);
        } catch (const HttpError&) {
            // Everything is done; the next sync lists from the old token.
        } catch (const XmlError&) {
        }
    }

    void Save() {
        try {
            SaveSyncState(stateFile_, state_);
        } catch (const SyncStateError& e) {
            report_.failures.push_back(e.what());
        }
    }

    void SaveAfterFailure() {
        if (changed_) {
            Save();
        }
    }

    static constexpr const char* kXml = "application/xml; charset=utf-8";

    fs::path notesFolder_;
    fs::path stateFolder_;
    fs::path stateFile_;
    const SyncSettings& settings_;
    HttpClient& client_;
    const SyncOptions& options_;
    SyncReport& report_;

    ServerAddress server_;
    std::string collection_;
    SyncState state_;
    std::string token_;
    std::map<EntryKey, TNote> local_;
    std::map<EntryKey, int> positions_;            // of local_'s entries in their day files
    std::map<std::string, int> incomingPositions_; // of the server's events, by href
    int total_ = 0;                                // steps planned
    std::set<month_day> unreadDays_;
    int requests_ = 0;
    int steps_ = 0;
    bool changed_ = false; // the state learned something worth saving
    bool complete_ = true; // every change of the server came in
    bool flush_ = false;
};

} // namespace

SyncReport RunCalendarSync(const fs::path& notesFolder, const fs::path& stateFolder,
                           const SyncSettings& settings, HttpClient& client,
                           const SyncOptions& options) {
    SyncReport report;
    report.calendarUrl = settings.calendarUrl;
    if (!settings.Configured()) {
        report.failures.push_back(
            "Synchronizácia nie je nastavená: chýba adresa kalendára alebo meno používateľa. "
            "Nastavíte ju v ponuke ikony na lište: „Nastavenie synchronizácie…“.");
        return report;
    }
    std::optional<FileLock> lock;
    try {
        lock.emplace(stateFolder / kLockName, options.lockWait);
    } catch (const FileLockError& e) {
        report.failures.push_back(
            (e.kind == FileLockError::Kind::Busy
                 ? "Iná synchronizácia s kalendárom práve beží (" + e.reason + "); táto neprebehla."
                 : "Synchronizácia sa nedá spustiť: zámok „" + PathText(e.file) +
                       "“ sa nedá použiť (" + e.reason + ").") +
            kNothingChanged);
        return report;
    }
    SyncRun(notesFolder, stateFolder, settings, client, options, report).Run();
    return report;
}

} // namespace tilava
