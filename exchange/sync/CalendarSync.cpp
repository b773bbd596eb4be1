#include "exchange/sync/CalendarSync.h"

#include "core/Dates.h"
#include "exchange/EventMapping.h"
#include "exchange/sync/DavXml.h"
#include "exchange/sync/SyncPlan.h"
#include "exchange/sync/SyncState.h"
#include "platform/FileLock.h"
#include "platform/net/ServerAddress.h"
#include "platform/SystemErrorText.h"
#include "store/NotesError.h"

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

// The path of an href, whether the server wrote it as a path or as a whole URL.
std::string HrefPath(const std::string& href) {
    const auto scheme = href.find("://");
    if (scheme == std::string::npos || href.find('/') < scheme) {
        return href;
    }
    const auto path = href.find('/', scheme + 3);
    return path == std::string::npos ? "/" : href.substr(path);
}

class SyncRun {
public:
    SyncRun(const fs::path& notesFolder, const fs::path& stateFolder, const SyncSettings& settings,
            HttpClient& client, const SyncOptions& options, SyncReport& report)
        : notesFolder_(notesFolder), stateFile_(stateFolder / kSyncStateName), settings_(settings),
          client_(client), options_(options), report_(report) {}

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
            Scan();
            const SyncPlan plan = PlanSync(state_, local_, unreadDays_, changes);
            complete_ = complete_ && plan.complete;
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

    // Makes the calendar when the server does not have it yet.
    void FindCalendar() {
        const HttpResponse found =
            Send("PROPFIND", collection_, {{"Depth", "0"}, {"Content-Type", kXml}},
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:propfind xmlns:D=\"DAV:\"><D:prop>"
                 "<D:resourcetype/></D:prop></D:propfind>");
        if (found.status == 207) {
            return;
        }
        if (found.status != 404) {
            Refused(found, "otvoriť kalendár");
        }
        const HttpResponse made =
            Send("MKCALENDAR", collection_, {{"Content-Type", kXml}},
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:mkcalendar xmlns:D=\"DAV:\" "
                 "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop><D:displayname>Tilava"
                 "</D:displayname><C:supported-calendar-component-set><C:comp name=\"VEVENT\"/>"
                 "</C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>");
        if (made.status != 201) {
            Refused(made, "založiť kalendár");
        }
        // A new calendar knows nothing of an old state: everything is sent again.
        state_ = {settings_.calendarUrl, settings_.user, {}, {}};
    }

    HttpResponse Report(const std::string& token) {
        return Send("REPORT", collection_, {{"Content-Type", kXml}},
                    "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:sync-collection "
                    "xmlns:D=\"DAV:\"><D:sync-token>" +
                        XmlEscape(token) +
                        "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/>"
                        "</D:prop></D:sync-collection>");
    }

    // The server's changes since the state's token (all its events when there is none, or the
    // server no longer knows it), read as entries.
    std::vector<RemoteChange> ListChanges() {
        std::string token = state_.token;
        HttpResponse answer = Report(token);
        if (answer.status == 403 && !token.empty() && IsInvalidSyncToken(answer.body)) {
            token.clear();
            answer = Report(token);
        }
        if (answer.status != 207) {
            Refused(answer, "zoznam zmien kalendára");
        }
        const DavMultiStatus listing = ReadMultiStatus(answer.body);
        token_ = listing.syncToken;
        std::vector<RemoteChange> changes;
        std::vector<std::string> wanted;
        std::set<std::string> listed;
        for (const DavMember& member : listing.members) {
            const std::string href = HrefPath(member.href);
            if (href == collection_) {
                continue;
            }
            const auto known = state_.events.find(href);
            if (member.status == 404) {
                if (known != state_.events.end()) {
                    changes.push_back({href, RemoteChange::Kind::Deleted, {}, {}, {}, {}});
                }
            } else if (member.status == 200) {
                listed.insert(href);
                listedEtags_[href] = member.etag;
                if (known == state_.events.end() || member.etag.empty() ||
                    member.etag != known->second.etag) {
                    wanted.push_back(href);
                }
            } else {
                // Listed in part (a server that pages its answer): the rest comes next time.
                complete_ = false;
            }
        }
        if (token.empty()) {
            // A full listing: what it does not name is gone.
            for (const auto& [href, known] : state_.events) {
                if (!listed.contains(href)) {
                    changes.push_back({href, RemoteChange::Kind::Deleted, {}, {}, {}, {}});
                }
            }
        }
        for (std::size_t first = 0; first < wanted.size();
             first += static_cast<std::size_t>(options_.fetchBatch)) {
            const auto last =
                std::min(wanted.size(), first + static_cast<std::size_t>(options_.fetchBatch));
            Fetch({wanted.begin() + static_cast<std::ptrdiff_t>(first),
                   wanted.begin() + static_cast<std::ptrdiff_t>(last)},
                  changes);
        }
        return changes;
    }

    void Fetch(const std::vector<std::string>& hrefs, std::vector<RemoteChange>& changes) {
        std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:calendar-multiget "
                           "xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
                           "<D:getetag/><C:calendar-data/></D:prop>";
        for (const std::string& href : hrefs) {
            body += "<D:href>" + XmlEscape(href) + "</D:href>";
        }
        body += "</C:calendar-multiget>";
        const HttpResponse answer =
            Send("REPORT", collection_, {{"Content-Type", kXml}, {"Depth", "1"}}, body);
        if (answer.status != 207) {
            Refused(answer, "udalosti kalendára");
        }
        std::set<std::string> missing(hrefs.begin(), hrefs.end());
        for (const DavMember& member : ReadMultiStatus(answer.body).members) {
            const std::string href = HrefPath(member.href);
            if (!missing.erase(href)) {
                continue;
            }
            if (member.status == 404) {
                if (state_.events.contains(href)) {
                    changes.push_back({href, RemoteChange::Kind::Deleted, {}, {}, {}, {}});
                }
                continue;
            }
            if (member.status != 200) {
                complete_ = false;
                continue;
            }
            RemoteChange change{href,
                                RemoteChange::Kind::Foreign,
                                member.etag.empty() ? listedEtags_[href] : member.etag,
                                {},
                                {},
                                {}};
            const ReadEvent event =
                ReadCalendarEvent(member.calendarData, settings_.yearlyEventsAsBirthdays);
            change.uid = event.uid;
            if (event.kind == ReadEvent::Kind::Entry) {
                change.entry = KeyOf(event.entry, event.date);
                if (change.entry) {
                    change.kind = RemoteChange::Kind::Entry;
                }
            } else if (event.kind == ReadEvent::Kind::Refused) {
                change.kind = RemoteChange::Kind::Refused;
                change.reason = event.reason;
            }
            changes.push_back(std::move(change));
        }
        // Events the answer left out are asked for again next time.
        complete_ = complete_ && missing.empty();
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
                    local_.try_emplace(*key, notes.Polozka(i));
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
                for (const LocalChange* c : dayChanges) {
                    bool present = false;
                    for (int i = notes.Pocet() - 1; i >= 0; --i) {
                        if (KeyOf(notes.Polozka(i), date) != c->key) {
                            continue;
                        }
                        present = true;
                        if (!c->add) {
                            notes.Zmaz(i);
                        }
                    }
                    if (c->add && !present) {
                        notes.Pridaj(EntryOf(c->key));
                    }
                }
                if (std::string joined = notes.Uloz(FolderFlush::Later); !joined.empty()) {
                    report_.notices.push_back(std::move(joined));
                }
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

    void Upload(const std::vector<std::pair<EntryKey, TNote>>& uploads) {
        for (const auto& [key, entry] : uploads) {
            const std::string uid = EntryUid(entry, key.date);
            const std::string name = uid.substr(0, uid.find('@'));
            std::string href;
            HttpResponse answer;
            // The UID is taken when the server keeps an event of it that was changed into
            // another entry (a calendar that imported an export, edited since): the entry then
            // goes up as an event of its own, beside that one.
            for (const std::string& suffix : {std::string(), std::string("-1")}) {
                href = collection_ + name + suffix + ".ics";
                answer = Send(
                    "PUT", href,
                    {{"If-None-Match", "*"}, {"Content-Type", "text/calendar; charset=utf-8"}},
                    EventCalendarText(entry, key.date, name + suffix + "@tilava", options_.now));
                if (answer.status != 409) {
                    if (Accepted(answer, "udalosť " + EntryTitle(key))) {
                        state_.events[href] = {answer.etag, name + suffix + "@tilava", key};
                        ++report_.uploaded;
                    }
                    break;
                }
            }
            if (answer.status == 409) {
                Refused(answer, "udalosť " + EntryTitle(key), true);
            }
            StepDone();
        }
    }

    void Delete(const std::vector<RemoteDelete>& deletes) {
        for (const RemoteDelete& d : deletes) {
            const auto known = state_.events.find(d.href);
            const std::string what =
                "zmazať udalosť " + (known != state_.events.end() && known->second.entry
                                         ? EntryTitle(*known->second.entry)
                                         : d.href);
            const HttpResponse answer = Send("DELETE", d.href, {{"If-Match", d.etag}});
            if (answer.status == 404 || Accepted(answer, what)) {
                state_.events.erase(d.href);
                report_.deleted += answer.status == 404 ? 0 : 1;
            }
            StepDone();
        }
    }

    // The token came before this sync's own uploads and deletes, and a server may leave out of
    // the listing after it an event both made and deleted since (xandikos does): a phone's
    // deletion of an entry just sent would never arrive. The token after them is taken when
    // the changes since the old one are exactly this sync's own; else the old one stays.
    void MoveTokenPastOwnChanges() {
        try {
            const HttpResponse answer = Report(token_);
            if (answer.status != 207 || token_.empty()) {
                return;
            }
            const DavMultiStatus listing = ReadMultiStatus(answer.body);
            for (const DavMember& member : listing.members) {
                const std::string href = HrefPath(member.href);
                const auto known = state_.events.find(href);
                const bool own = href == collection_ ||
                                 (member.status == 404 && known == state_.events.end()) ||
                                 (member.status == 200 && known != state_.events.end() &&
                                  !member.etag.empty() && member.etag == known->second.etag);
                if (!own) {
                    return;
                }
            }
            if (!listing.syncToken.empty()) {
                token_ = listing.syncToken;
            }
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
    fs::path stateFile_;
    const SyncSettings& settings_;
    HttpClient& client_;
    const SyncOptions& options_;
    SyncReport& report_;

    ServerAddress server_;
    std::string collection_;
    SyncState state_;
    std::string token_;
    std::map<std::string, std::string> listedEtags_;
    std::map<EntryKey, TNote> local_;
    std::set<month_day> unreadDays_;
    int requests_ = 0;
    int steps_ = 0;
    bool changed_ = false; // the state learned something worth saving
    bool complete_ = true; // every change of the server came in
    bool flush_ = false;
};

std::string Count(const char* label, int count) {
    return std::string(label) + std::to_string(count);
}

void AddList(std::string& text, const char* title, const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    text += std::string("\n") + title + "\n";
    for (const std::string& line : lines) {
        text += "  " + line + "\n";
    }
}

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

std::string SyncReport::Text() const {
    std::string text = "Synchronizácia s kalendárom „" + calendarUrl + "“ " +
                       (Succeeded() ? "prebehla.\n" : "sa nedokončila.\n");
    if (added + removed > 0) {
        text += Count("Zo servera do poznámok: pridané záznamy ", added) +
                Count(", odstránené ", removed) + ".\n";
    }
    if (uploaded + deleted > 0) {
        text += Count("Z poznámok na server: odoslané udalosti ", uploaded) +
                Count(", zmazané ", deleted) + ".\n";
    }
    if (Succeeded() && added + removed + uploaded + deleted == 0 && conflicts.empty()) {
        text += "Obe strany už boli rovnaké.\n";
    }
    if (waiting > 0) {
        text += Count("Udalosti, ktoré sa na serveri medzitým zmenili a prídu na rad pri ďalšej "
                      "synchronizácii: ",
                      waiting) +
                ".\n";
    }
    AddList(text, "Konflikty (záznam zmenený na oboch stranách):", conflicts);
    AddList(text, "Udalosti zo servera, ktoré sa do poznámok nedajú prevziať (na serveri ostali):",
            refused);
    AddList(text, "Dni spojené so zmenami iného programu:", notices);
    AddList(text, "Chyby:", failures);
    return text;
}

} // namespace tilava
