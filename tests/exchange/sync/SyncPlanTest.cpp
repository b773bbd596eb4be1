#include "exchange/sync/SyncPlan.h"

#include "exchange/EventMapping.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tilava {
namespace {

using namespace std::chrono;
using Kind = RemoteChange::Kind;

// The entries of the table, by their text.
const std::map<std::string, EntryKey> kEntries = {
    {"Jano", {EntryKind::Narodeniny, March / 15, 1980, "Jano"}},
    {"Ján", {EntryKind::Narodeniny, March / 15, 1980, "Ján"}},
    {"svadba", {EntryKind::Vyrocie, March / 16, 0, "svadba"}},
    {"zubár", {EntryKind::Poznamka, March / 16, 2026, "zubár"}},
};

struct Change {
    const char* href;
    Kind kind;
    const char* entry;           // for Kind::Entry
    const char* uidOf = nullptr; // the event has the UID Tilava gives this entry
};

struct Row {
    const char* name;
    std::vector<std::pair<const char*, const char*>> known; // href -> entry text or "foreign"
    std::vector<const char*> notes;                         // the entries of the day files
    std::vector<Change> changes;                            // the server's, etag "new"
    bool marchFifteenthUnread;
    const char* plan;
    bool allowManyRemovals = false;
};

std::string Line(const std::string& href, const std::optional<KnownEvent>& known) {
    if (!known) {
        return href + "=gone";
    }
    return href + "=" + (known->entry ? known->entry->text : "foreign") + "@" + known->etag;
}

// The whole plan in one line: steps in order, each with the state lines it sets when done.
std::string Describe(const SyncPlan& plan) {
    std::string text;
    const auto add = [&](const std::string& step) { text += (text.empty() ? "" : "; ") + step; };
    for (const auto& [href, known] : plan.settled) {
        add(Line(href, known));
    }
    for (const LocalChange& c : plan.localChanges) {
        std::string step = (c.add ? "add " : "remove ") + c.key.text;
        for (const auto& [href, known] : c.done) {
            step += " " + Line(href, known);
        }
        add(step);
    }
    for (const auto& [key, entry] : plan.uploads) {
        add("put " + entry.Text);
    }
    for (const RemoteDelete& d : plan.deletes) {
        add("delete " + d.href + "@" + d.etag);
    }
    for (std::size_t i = 0; i < plan.conflicts.size(); ++i) {
        add("conflict");
    }
    for (const std::string& why : plan.refused) {
        add("refused " + why);
    }
    if (plan.withheld > 0) {
        add("withheld " + std::to_string(plan.withheld));
    }
    if (!plan.complete) {
        add("incomplete");
    }
    return text;
}

const Row kRows[] = {
    {"nothing changed", {{"h1", "Jano"}}, {"Jano"}, {}, false, ""},
    {"added in the notes", {}, {"Jano"}, {}, false, "put Jano"},
    {"deleted in the notes", {{"h1", "Jano"}}, {}, {}, false, "delete h1@old"},
    {"added on the server", {}, {}, {{"h1", Kind::Entry, "Jano"}}, false, "add Jano h1=Jano@new"},
    {"deleted on the server",
     {{"h1", "Jano"}},
     {"Jano"},
     {{"h1", Kind::Deleted, nullptr}},
     false,
     "remove Jano h1=gone"},
    {"changed on the server",
     {{"h1", "Jano"}},
     {"Jano"},
     {{"h1", Kind::Entry, "Ján"}},
     false,
     "remove Jano; add Ján h1=Ján@new"},
    {"new etag, same entry",
     {{"h1", "Jano"}},
     {"Jano"},
     {{"h1", Kind::Entry, "Jano"}},
     false,
     "h1=Jano@new"},
    {"first sync: the same entry on both sides is joined",
     {},
     {"Jano", "svadba"},
     {{"h1", Kind::Entry, "Jano"}},
     false,
     "h1=Jano@new; put svadba"},
    {"an upload whose state line was lost is joined, not uploaded again",
     {{"h1", "Jano"}},
     {"Jano", "svadba"},
     {{"h2", Kind::Entry, "svadba"}},
     false,
     "h2=svadba@new"},
    {"an addition to the notes whose state line was lost is joined, not added again",
     {},
     {"zubár"},
     {{"h1", Kind::Entry, "zubár"}, {"h2", Kind::Entry, "svadba"}},
     false,
     "h1=zubár@new; add svadba h2=svadba@new"},
    {"deleted on both sides",
     {{"h1", "Jano"}},
     {},
     {{"h1", Kind::Deleted, nullptr}},
     false,
     "h1=gone"},
    {"changed on both sides keeps both",
     {{"h1", "Jano"}},
     {"Ján"},
     {{"h1", Kind::Entry, "svadba"}},
     false,
     "add svadba h1=svadba@new; put Ján; conflict"},
    {"a change on the server wins over a deletion in the notes",
     {{"h1", "Jano"}},
     {},
     {{"h1", Kind::Entry, "Ján"}},
     false,
     "add Ján h1=Ján@new; conflict"},
    {"a deletion the server refused (412) comes back as the server's change",
     {{"h1", "Jano"}, {"h2", "svadba"}},
     {"svadba"},
     {{"h1", Kind::Entry, "Ján"}},
     false,
     "add Ján h1=Ján@new; conflict"},
    {"a new etag of an unchanged event brings no deleted entry back",
     {{"h1", "Jano"}, {"h2", "svadba"}},
     {"svadba"},
     {{"h1", Kind::Entry, "Jano"}},
     false,
     "delete h1@new"},
    {"a second computer's first sync keeps the phone's edit of its event and names the conflict",
     {},
     {"Jano"},
     {{"h1", Kind::Entry, "Ján", "Jano"}},
     false,
     "add Ján h1=Ján@new; put Jano; conflict"},
    {"the same first sync with another event's UID is no conflict",
     {},
     {"Jano"},
     {{"h1", Kind::Entry, "Ján", "svadba"}},
     false,
     "add Ján h1=Ján@new; put Jano"},
    {"an emptied calendar removes nothing without the user's word, the rest goes on",
     {{"h1", "Jano"}, {"h2", "svadba"}},
     {"Jano", "svadba", "zubár"},
     {{"h1", Kind::Deleted, nullptr}, {"h2", Kind::Deleted, nullptr}, {"h3", Kind::Entry, "Ján"}},
     false,
     "add Ján h3=Ján@new; put zubár; withheld 2; incomplete"},
    {"the removals the user allowed",
     {{"h1", "Jano"}, {"h2", "svadba"}},
     {"Jano", "svadba", "zubár"},
     {{"h1", Kind::Deleted, nullptr}, {"h2", Kind::Deleted, nullptr}},
     false,
     "remove Jano h1=gone; remove svadba h2=gone; put zubár",
     true},
    {"entries turned into appointments count as removals",
     {{"h1", "Jano"}, {"h2", "svadba"}},
     {"Jano", "svadba"},
     {{"h1", Kind::Foreign, nullptr}, {"h2", Kind::Deleted, nullptr}},
     false,
     "withheld 2; incomplete"},
    {"renames on the server are no removals",
     {{"h1", "Jano"}, {"h2", "svadba"}},
     {"Jano", "svadba"},
     {{"h1", Kind::Entry, "Ján"}, {"h2", Kind::Entry, "zubár"}},
     false,
     "remove Jano; remove svadba; add zubár h2=zubár@new; add Ján h1=Ján@new"},
    {"the same change on both sides is no conflict",
     {{"h1", "Jano"}},
     {"Ján"},
     {{"h1", Kind::Entry, "Ján"}},
     false,
     "h1=Ján@new"},
    {"a foreign event is remembered, never imported",
     {},
     {},
     {{"h1", Kind::Foreign, nullptr}},
     false,
     "h1=foreign@new"},
    {"a foreign event deleted is forgotten",
     {{"h1", "foreign"}},
     {},
     {{"h1", Kind::Deleted, nullptr}},
     false,
     "h1=gone"},
    {"an entry turned into an appointment on the server leaves the notes",
     {{"h1", "Jano"}},
     {"Jano"},
     {{"h1", Kind::Foreign, nullptr}},
     false,
     "remove Jano h1=foreign@new"},
    {"a change the notes cannot hold keeps the entry and uploads it again",
     {{"h1", "Jano"}},
     {"Jano"},
     {{"h1", Kind::Refused, nullptr}},
     false,
     "h1=foreign@new; put Jano; refused why"},
    {"an unread day file deletes nothing on the server",
     {{"h1", "Jano"}, {"h2", "svadba"}},
     {"svadba"},
     {},
     true,
     ""},
    {"a change for an unread day waits",
     {{"h1", "Jano"}},
     {},
     {{"h1", Kind::Entry, "Ján"}, {"h2", Kind::Entry, "svadba"}},
     true,
     "add svadba h2=svadba@new; incomplete"},
    {"one entry, two identical events: both deleted",
     {{"h1", "Jano"}, {"h2", "Jano"}},
     {},
     {},
     false,
     "delete h1@old; delete h2@old"},
    {"one of two identical events deleted on the server: the entry stays",
     {{"h1", "Jano"}, {"h2", "Jano"}},
     {"Jano"},
     {{"h1", Kind::Deleted, nullptr}},
     false,
     "h1=gone"},
};

TEST(SyncPlan, DecidesEachCaseOfTheThreeSides) {
    for (const Row& row : kRows) {
        SyncState state{"https://server/cal/", "alice", "token", {}};
        for (const auto& [href, text] : row.known) {
            KnownEvent known{"old", "uid", std::nullopt};
            if (std::string(text) != "foreign") {
                known.entry = kEntries.at(text);
            }
            state.events[href] = known;
        }
        std::map<EntryKey, TNote> notes;
        for (const char* text : row.notes) {
            notes[kEntries.at(text)] = EntryOf(kEntries.at(text));
        }
        std::vector<RemoteChange> changes;
        for (const Change& c : row.changes) {
            RemoteChange change{c.href, c.kind, "new", "uid", std::nullopt, "why"};
            if (c.uidOf) {
                const EntryKey& key = kEntries.at(c.uidOf);
                change.uid = EntryUid(EntryOf(key), key.date);
            }
            if (c.entry) {
                change.entry = kEntries.at(c.entry);
            }
            changes.push_back(change);
        }
        std::set<month_day> unread;
        if (row.marchFifteenthUnread) {
            unread.insert(March / 15);
        }
        EXPECT_EQ(Describe(PlanSync(state, notes, unread, changes, row.allowManyRemovals)),
                  row.plan)
            << row.name;
    }
}

TEST(SyncPlan, AsksBeforeRemovingMoreThanASmallShare) {
    struct Case {
        std::size_t removals;
        std::size_t entries;
        bool many;
    };
    const Case cases[] = {{0, 0, false}, {1, 1, false},    {2, 2, true},     {2, 4, false},
                          {3, 4, true},  {5, 40, false},   {6, 40, true},    {6, 60, false},
                          {7, 60, true}, {336, 336, true}, {20, 5000, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(ManyRemovals(c.removals, c.entries), c.many) << c.removals << " of " << c.entries;
    }
}

} // namespace
} // namespace tilava
