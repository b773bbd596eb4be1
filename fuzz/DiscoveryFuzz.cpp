// Feeds arbitrary bytes to the calendar search as a server's answers and checks what must hold
// for every input: the reader of the PROPFIND answers refuses only with XmlError and keeps its
// limits; a search whose every answer is these bytes (as a 207, or as a redirect to them) ends
// after a bounded number of requests, all to the server typed, with calendars on that server
// only, never the root or the home; and the sync's check refuses only with XmlError.
#include "core/Utf8.h"
#include "exchange/sync/CalendarDiscovery.h"
#include "exchange/sync/DavCollections.h"
#include "exchange/sync/DavXml.h"
#include "fuzz/Broken.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using tilava::fuzz::Broken;

constexpr const char* kServer = "https://cal.example.org:443/";

class EchoServer final : public tilava::HttpClient {
public:
    EchoServer(std::string body, int status) : body_(std::move(body)), status_(status) {}

    tilava::HttpResponse Send(const tilava::HttpRequest& request) override {
        if (!request.url.starts_with(kServer))
            Broken("a request to another server");
        if (++requests > 40)
            Broken("a search that does not end");
        return {status_, {}, status_ == 207 ? body_ : std::string(), status_ == 207 ? "" : body_};
    }

    int requests = 0;

private:
    std::string body_;
    int status_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    try {
        for (const tilava::DavCollection& member : tilava::ReadCollections(bytes)) {
            if (member.href.empty() || member.href.front() == ' ' || member.href.back() == ' ')
                Broken("a member without a trimmed address");
            if (member.status < 100 || member.status > 999)
                Broken("a member status that is no HTTP status");
            if (tilava::Utf8Length(member.displayName) > tilava::kLongestCalendarName)
                Broken("a display name beyond the limit");
            if (member.calendarHomes.size() > 16)
                Broken("more homes than the limit");
        }
    } catch (const tilava::XmlError&) {
    }

    for (const int status : {207, 301}) {
        EchoServer server(bytes, status);
        const tilava::CalendarSearch found =
            tilava::FindCalendars("https://cal.example.org/", "alice", server);
        if (found.Succeeded() == !found.failure.empty())
            Broken("a search both failed and not");
        for (const tilava::FoundCalendar& c : found.calendars) {
            if (!c.url.starts_with("https://cal.example.org/") ||
                c.url == "https://cal.example.org/" || c.url == found.homeUrl)
                Broken("a calendar that is no calendar of the server typed");
            if (tilava::Utf8Length(c.name) > tilava::kLongestCalendarName)
                Broken("a calendar name beyond the limit");
        }
    }

    try {
        tilava::CalendarProblem({207, {}, bytes, {}}, "https://cal.example.org/a/");
    } catch (const tilava::XmlError&) {
    }
    return 0;
}
