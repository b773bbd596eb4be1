#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tilava {

// A body the XML reader refuses: not well-formed, a DOCTYPE (no entity of a server's own
// making is ever expanded), nested deeper than kDeepestXml, or longer than kLargestXml. The
// message is Slovak, for the user.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kLargestXml = std::size_t{64} << 20;
inline constexpr int kDeepestXml = 64;

// One element, with its namespace resolved (prefixes and the default namespace).
struct XmlElement {
    std::string space; // the namespace's URI: "DAV:", "urn:ietf:params:xml:ns:caldav"; or empty
    std::string name;  // the local name
    std::string text;  // the character data directly inside it, entities and CDATA decoded
    std::vector<XmlElement> children;
    // Its attributes without a prefix (CalDAV's <comp name="VEVENT"/>), values decoded;
    // namespace declarations and prefixed attributes are not kept.
    std::vector<std::pair<std::string, std::string>> attributes;

    // The first child of that namespace and name; nullptr when there is none.
    const XmlElement* Find(std::string_view childSpace, std::string_view childName) const;
    // The value of an unprefixed attribute; nullptr when it has none of that name.
    const std::string* Attribute(std::string_view attributeName) const;
};

// Reads a whole XML document (UTF-8, as WebDAV servers send it) strictly. Attributes are read
// only to resolve namespaces. Throws XmlError.
XmlElement ParseXml(std::string_view document);

// One member of a WebDAV multistatus answer.
struct DavMember {
    std::string href;          // as the server wrote it (trimmed), percent-encoding kept
    int status = 0;            // 200 for a member with properties; 404 for one that is gone
    std::string etag;          // DAV:getetag, quotes included; empty when not given
    std::string calendarData;  // CalDAV calendar-data; empty when not given
    bool collection = false;   // its DAV:resourcetype holds DAV:collection (a folder)
    std::string contentType{}; // DAV:getcontenttype, trimmed; empty when not given
};

struct DavMultiStatus {
    std::string syncToken; // DAV:sync-token of a sync-collection report; empty when none
    std::vector<DavMember> members;
};

// A 207 answer to PROPFIND or REPORT (sync-collection, calendar-multiget, calendar-query).
// A sync-collection answer cut short (RFC 6578, 3.6) has a member for the collection itself
// with status 507; the reader gives it as any other.
// A member's status is its response's own <status>, else that of the propstat holding its
// properties. Throws XmlError when the body is not a multistatus.
DavMultiStatus ReadMultiStatus(std::string_view body);

// The server refused a sync-collection report because it no longer knows the token
// (<DAV:error><DAV:valid-sync-token/></DAV:error>): the client starts again with a full listing.
bool IsInvalidSyncToken(std::string_view body);

// "HTTP/1.1 404 Not Found" → 404, as a multistatus gives a member's status. Throws XmlError.
int DavStatusCode(std::string_view line);

// The text without the XML white space (blank, tab, CR, LF) at its ends.
std::string_view XmlTrimmed(std::string_view text);

// The text with & < > " ' written as entities, to put into a request's XML body.
std::string XmlEscape(std::string_view text);

} // namespace tilava
