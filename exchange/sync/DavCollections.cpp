#include "exchange/sync/DavCollections.h"

#include "core/Utf8.h"
#include "exchange/sync/DavXml.h"

#include <algorithm>

namespace tilava {

namespace {

constexpr std::string_view kDav = "DAV:";
constexpr std::string_view kCalDav = "urn:ietf:params:xml:ns:caldav";
// A principal with more homes than this is not one to pick from.
constexpr std::size_t kMostHomes = 16;

// The element's text as a value: without the white space around it.
std::string Trimmed(std::string_view text) {
    return std::string(XmlTrimmed(text));
}

void ReadProperties(const XmlElement& properties, DavCollection& member) {
    if (const XmlElement* type = properties.Find(kDav, "resourcetype")) {
        member.collection = type->Find(kDav, "collection") != nullptr;
        member.principal = type->Find(kDav, "principal") != nullptr;
        member.calendar = type->Find(kCalDav, "calendar") != nullptr;
    }
    if (const XmlElement* name = properties.Find(kDav, "displayname"))
        member.displayName = Utf8Shorten(Trimmed(name->text), kLongestCalendarName - 1);
    if (const XmlElement* set = properties.Find(kCalDav, "supported-calendar-component-set")) {
        member.componentsGiven = true;
        for (const XmlElement& comp : set->children)
            if (comp.space == kCalDav && comp.name == "comp")
                if (const std::string* name = comp.Attribute("name"))
                    member.components.push_back(Trimmed(*name));
    }
    if (const XmlElement* user = properties.Find(kDav, "current-user-principal"))
        if (const XmlElement* href = user->Find(kDav, "href"))
            member.principalHref = Trimmed(href->text);
    if (const XmlElement* homes = properties.Find(kCalDav, "calendar-home-set"))
        for (const XmlElement& href : homes->children)
            if (href.space == kDav && href.name == "href" &&
                member.calendarHomes.size() < kMostHomes && !Trimmed(href.text).empty())
                member.calendarHomes.push_back(Trimmed(href.text));
}

} // namespace

std::vector<DavCollection> ReadCollections(std::string_view body) {
    const XmlElement root = ParseXml(body);
    if (root.space != kDav || root.name != "multistatus")
        throw XmlError("Server namiesto zoznamu priečinkov (WebDAV multistatus) poslal prvok „" +
                       Utf8Shorten(root.name, 40) + "“.");
    std::vector<DavCollection> members;
    for (const XmlElement& response : root.children) {
        if (response.space != kDav || response.name != "response")
            continue;
        DavCollection member;
        const XmlElement* href = response.Find(kDav, "href");
        if (href)
            member.href = Trimmed(href->text);
        if (member.href.empty())
            throw XmlError("V odpovedi servera je položka bez adresy (href).");
        if (const XmlElement* status = response.Find(kDav, "status"))
            member.status = DavStatusCode(status->text);
        for (const XmlElement& propstat : response.children) {
            if (propstat.space != kDav || propstat.name != "propstat")
                continue;
            const XmlElement* status = propstat.Find(kDav, "status");
            if (!status)
                throw XmlError("V odpovedi servera je vlastnosť položky bez stavu.");
            const int code = DavStatusCode(status->text);
            const bool found = code >= 200 && code <= 299;
            if (member.status == 0 || (found && (member.status < 200 || member.status > 299)))
                member.status = code;
            if (const XmlElement* properties = propstat.Find(kDav, "prop"); found && properties)
                ReadProperties(*properties, member);
        }
        if (member.status == 0)
            throw XmlError("V odpovedi servera je položka bez stavu.");
        members.push_back(std::move(member));
    }
    return members;
}

bool TakesEvents(const DavCollection& calendar) {
    return !calendar.componentsGiven ||
           std::find(calendar.components.begin(), calendar.components.end(), "VEVENT") !=
               calendar.components.end();
}

} // namespace tilava
