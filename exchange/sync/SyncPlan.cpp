#include "exchange/sync/SyncPlan.h"

#include "exchange/EventMapping.h"

namespace tilava {

namespace {

struct Holder {
    std::string href;
    KnownEvent known;
    bool fresh = false;   // new or changed into another entry on the server since the last sync
    bool relearn = false; // listed as changed: its state line takes the new etag
};

} // namespace

bool ManyRemovals(std::size_t removals, std::size_t entries) {
    return removals >= 2 && (removals * 2 > entries || (removals > 5 && removals * 10 > entries));
}

std::string EntryTitle(const EntryKey& key) {
    std::string title = "„" + key.text;
    if (key.kind == EntryKind::Narodeniny) {
        title += " – narodeniny";
    } else if (key.kind == EntryKind::Vyrocie) {
        title += " – výročie";
    }
    title += "“ (" + std::to_string(static_cast<unsigned>(key.date.day())) + ". " +
             std::to_string(static_cast<unsigned>(key.date.month())) + ".";
    if (key.year != 0) {
        title += " " + std::to_string(key.year);
    }
    return title + ")";
}

SyncPlan PlanSync(const SyncState& state, const std::map<EntryKey, TNote>& local,
                  const std::set<std::chrono::month_day>& unreadDays,
                  const std::vector<RemoteChange>& changes, bool allowManyRemovals) {
    SyncPlan plan;
    const auto unread = [&](const std::optional<EntryKey>& key) {
        return key && unreadDays.contains(key->date);
    };
    const auto stateEntry = [&](const std::string& href) -> std::optional<EntryKey> {
        const auto it = state.events.find(href);
        return it == state.events.end() ? std::nullopt : it->second.entry;
    };

    // Changes that touch a day whose file could not be read wait for a sync that can read it.
    std::map<std::string, const RemoteChange*> changed;
    for (const RemoteChange& c : changes) {
        if (unread(c.entry) || unread(stateEntry(c.href))) {
            plan.complete = false;
            continue;
        }
        changed[c.href] = &c;
    }

    // Each key as the last sync left it (base) and as the server has it now (after).
    std::map<EntryKey, std::vector<std::string>> base;
    std::map<EntryKey, std::vector<Holder>> after;
    std::set<EntryKey> keys;
    for (const auto& [href, known] : state.events) {
        if (!known.entry) {
            continue;
        }
        const auto it = changed.find(href);
        if (it == changed.end()) {
            after[*known.entry].push_back({href, known, false});
        } else if (it->second->kind == RemoteChange::Kind::Refused) {
            // The server's version cannot come in: the entry counts as never synced.
            continue;
        }
        base[*known.entry].push_back(href);
        keys.insert(*known.entry);
    }
    // The UIDs of the server's new and changed events that read as entries.
    std::map<std::string, const RemoteChange*> byUid;
    for (const auto& [href, c] : changed) {
        if (c->kind == RemoteChange::Kind::Entry) {
            // Only a new etag (a server that stamps anew, an upload answered without one):
            // the entry is the one the state knows, and no change.
            const bool same = stateEntry(href) == c->entry;
            after[*c->entry].push_back({href, {c->etag, c->uid, c->entry}, !same, true});
            keys.insert(*c->entry);
            byUid.emplace(c->uid, c);
        }
    }
    for (const auto& [key, entry] : local) {
        keys.insert(key);
    }

    std::set<std::string> deferred; // hrefs whose state line waits for a change of the notes
    std::vector<LocalChange> removals;
    std::vector<LocalChange> additions;
    for (const EntryKey& key : keys) {
        if (unreadDays.contains(key.date)) {
            continue;
        }
        const bool inNotes = local.contains(key);
        const auto& before = base[key];
        const auto& now = after[key];
        std::vector<StateUpdate> fresh;
        for (const Holder& h : now) {
            if (h.fresh) {
                fresh.emplace_back(h.href, h.known);
            }
        }
        if (!now.empty() && inNotes) {
            // Both sides have it: nothing to move, the new events and etags are learned.
            for (const Holder& h : now) {
                if (h.relearn) {
                    plan.settled.emplace_back(h.href, h.known);
                }
            }
        } else if (!now.empty()) {
            if (fresh.empty()) {
                // Deleted in the notes, unchanged on the server.
                for (const Holder& h : now) {
                    plan.deletes.push_back({h.href, h.known.etag});
                }
            } else {
                // New or changed on the server (a change wins over a deletion in the notes).
                for (const StateUpdate& u : fresh) {
                    deferred.insert(u.first);
                }
                additions.push_back({true, key, std::move(fresh)});
            }
        } else if (inNotes && before.empty()) {
            // A first sync of a second computer: the server may hold this entry's event,
            // changed since into another entry (by a phone). The server's version comes in,
            // and the entry goes up beside it.
            const TNote& entry = local.at(key);
            const auto same = byUid.find(EntryUid(entry, key.date));
            if (same != byUid.end() && *same->second->entry != key &&
                !state.events.contains(same->second->href)) {
                plan.conflicts.push_back(EntryTitle(key) + " má na serveri inú podobu, " +
                                         EntryTitle(*same->second->entry) +
                                         "; ponechané sú obe verzie.");
            }
            plan.uploads.emplace_back(key, entry);
        } else if (inNotes) {
            // Deleted on the server, or changed there into another entry or another event.
            LocalChange removal{false, key, {}};
            for (const std::string& href : before) {
                const RemoteChange& c = *changed.at(href);
                if (c.kind == RemoteChange::Kind::Deleted) {
                    removal.done.emplace_back(href, std::nullopt);
                } else if (c.kind == RemoteChange::Kind::Foreign) {
                    removal.done.emplace_back(href, KnownEvent{c.etag, {}, std::nullopt});
                } else {
                    continue;
                }
                deferred.insert(href);
            }
            removals.push_back(std::move(removal));
        }
    }

    for (const auto& [href, c] : changed) {
        const std::optional<EntryKey> was = stateEntry(href);
        if (c->kind == RemoteChange::Kind::Entry && was && *was != *c->entry &&
            !local.contains(*was) && !local.contains(*c->entry)) {
            plan.conflicts.push_back(EntryTitle(*was) +
                                     " sa zmenil v Tilave aj na serveri; ponechané sú obe "
                                     "verzie, zo servera prišla " +
                                     EntryTitle(*c->entry) + ".");
        }
        if (c->kind == RemoteChange::Kind::Refused) {
            plan.refused.push_back(c->reason);
        }
        if (deferred.contains(href) || c->kind == RemoteChange::Kind::Entry) {
            continue;
        }
        if (c->kind == RemoteChange::Kind::Deleted) {
            if (state.events.contains(href)) {
                plan.settled.emplace_back(href, std::nullopt);
            }
        } else {
            plan.settled.emplace_back(href, KnownEvent{c->etag, {}, std::nullopt});
        }
    }
    std::size_t removing = 0;
    for (const LocalChange& r : removals) {
        removing += r.done.empty() ? 0 : 1;
    }
    if (!allowManyRemovals && ManyRemovals(removing, local.size())) {
        // Entries deleted or changed into other events on the server: none goes now. Their
        // events stay known as they were, and the old token is kept to list them again.
        std::erase_if(removals, [](const LocalChange& r) { return !r.done.empty(); });
        plan.withheld = static_cast<int>(removing);
        plan.complete = false;
    }
    plan.localChanges = std::move(removals);
    plan.localChanges.insert(plan.localChanges.end(), additions.begin(), additions.end());
    return plan;
}

} // namespace tilava
