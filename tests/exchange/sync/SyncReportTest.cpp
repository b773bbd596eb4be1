#include "exchange/sync/CalendarSync.h"

#include <gtest/gtest.h>

namespace tilava {
namespace {

TEST(SyncReport, SaysBothSidesWereAlikeOnlyWhenNothingWaits) {
    const std::string alike = "Obe strany už boli rovnaké.";
    const struct {
        const char* name;
        void (*change)(SyncReport&);
        bool saysAlike;
    } rows[] = {
        {"nothing to do", [](SyncReport&) {}, true},
        {"a change waits", [](SyncReport& r) { r.waiting = 1; }, false},
        {"removals withheld", [](SyncReport& r) { r.withheld = 2; }, false},
        {"an event refused", [](SyncReport& r) { r.refused = {"Udalosť „x“ sa neprevzala."}; },
         false},
        {"a conflict", [](SyncReport& r) { r.conflicts = {"„Jano“ (15. 3.) …"}; }, false},
        {"a failure", [](SyncReport& r) { r.failures = {"Server neodpovedá."}; }, false},
    };
    for (const auto& row : rows) {
        SyncReport report;
        row.change(report);
        EXPECT_EQ(report.Text().find(alike) != std::string::npos, row.saysAlike) << row.name;
    }
}

} // namespace
} // namespace tilava
