#include "exchange/sync/DavXml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {
namespace {

struct ReadCase {
    const char* what;
    std::string body;
    std::string syncToken;
    std::vector<DavMember> members;
};

// The calendar data of the multiget rows, decoded: a note with "&", "<" and an en dash.
const std::string kCalendarData =
    "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:0123456789abcdef@tilava\r\n"
    "SUMMARY:Jano & Mara <3 – narodeniny\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";

const std::string kDeclaration = "<?xml version='1.0' encoding='utf-8'?>\n";

TEST(DavXml, ReadsTheMembersOfAMultistatus) {
    const std::string etag = "\"ebfde54287d7d3f42b3a0dfd46eeb36e\"";
    const std::string token = "http://radicale.org/ns/sync/de0775ce68d800bdbb35339d775451d1";
    const std::string href = "/alice/t1/0123456789abcdef.ics";
    const std::vector<ReadCase> cases = {
        {"a sync-collection report as the test server sends it",
         kDeclaration + "<multistatus xmlns=\"DAV:\"><sync-token>" + token +
             "</sync-token><response><href>" + href + "</href><propstat><prop><getetag>" + etag +
             "</getetag></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
             "</multistatus>",
         token,
         {{href, 200, etag, ""}}},
        {"a report of no change has the token alone",
         kDeclaration + "<multistatus xmlns=\"DAV:\"><sync-token>" + token +
             "</sync-token></multistatus>",
         token,
         {}},
        {"a deleted member has its own status",
         kDeclaration + "<multistatus xmlns=\"DAV:\"><sync-token>" + token +
             "</sync-token><response><href>" + href +
             "</href><status>HTTP/1.1 404 Not Found</status></response></multistatus>",
         token,
         {{href, 404, "", ""}}},
        {"a multiget as the test server sends it: raw CR LF, entities, a missing item",
         kDeclaration +
             "<multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><response>"
             "<href>/alice/t1/missing.ics</href><status>HTTP/1.1 404 Not Found</status>"
             "</response><response><href>" +
             href + "</href><propstat><prop><getetag>" + etag +
             "</getetag><C:calendar-data>BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n"
             "UID:0123456789abcdef@tilava\r\nSUMMARY:Jano &amp; Mara &lt;3 \xE2\x80\x93 "
             "narodeniny\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n</C:calendar-data></prop>"
             "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
         "",
         {{"/alice/t1/missing.ics", 404, "", ""}, {href, 200, etag, kCalendarData}}},
        {"other prefixes, CDATA, character references and a property the item lacks",
         "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- listing -->\n"
         "<d:multistatus xmlns:d=\"DAV:\" xmlns:cal='urn:ietf:params:xml:ns:caldav'>\n"
         "  <d:response>\n    <d:href>\n      " +
             href +
             "\n    </d:href>\n"
             "    <d:propstat><d:prop><cal:schedule-tag/></d:prop>"
             "<d:status>HTTP/1.1 404 Not Found</d:status></d:propstat>\n"
             "    <d:propstat><d:prop><d:getetag> " +
             etag +
             " </d:getetag><cal:calendar-data><![CDATA[BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n"
             "UID:0123456789abcdef@tilava\r\nSUMMARY:Jano & Mara <3 ]]>&#x2013;<?skipped?>"
             "<!-- a comment --> narodeniny&#13;&#10;END:VEVENT\r\nEND:VCALENDAR&#xD;&#xa;"
             "</cal:calendar-data></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
             "</d:propstat>\n  </d:response>\n</d:multistatus>\n<!-- end -->\n",
         "",
         {{href, 200, etag, kCalendarData}}},
        {"only the DAV namespace counts, however its prefix is bound and rebound",
         "<multistatus xmlns=\"DAV:\" xmlns:x=\"urn:example:other\"><response>"
         "<x:href>/wrong.ics</x:href><href xmlns=\"urn:example:other\">/wrong.ics</href>"
         "<href>/right.ics</href><propstat><prop><x:getetag>\"wrong\"</x:getetag>"
         "<calendar-data>not CalDAV</calendar-data></prop><status>HTTP/1.1 200 OK</status>"
         "</propstat><propstat><prop><getctag/></prop><status>HTTP/1.1 404 Not Found</status>"
         "</propstat></response><D:response xmlns:D=\"urn:example:other\"><D:href>/no.ics"
         "</D:href></D:response><D:response xmlns:D=\"DAV:\"><D:href>/yes.ics</D:href>"
         "<status>HTTP/1.1 404 Not Found</status></D:response></multistatus>",
         "",
         {{"/right.ics", 200, "", ""}, {"/yes.ics", 404, "", ""}}},
        {"one response naming two items",
         "<multistatus xmlns=\"DAV:\"><response><href>/a.ics</href><href>/b.ics</href>"
         "<status>HTTP/1.0 404</status></response></multistatus>",
         "",
         {{"/a.ics", 404, "", ""}, {"/b.ics", 404, "", ""}}},
        {"a sync-collection report cut short names the collection with 507",
         kDeclaration +
             "<multistatus xmlns=\"DAV:\"><response><href>/alice/t1/</href>"
             "<status>HTTP/1.1 507 Insufficient Storage</status><error>"
             "<number-of-matches-within-limits/></error></response><response><href>" +
             href + "</href><propstat><prop><getetag>" + etag +
             "</getetag></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
             "<sync-token>" +
             token + "</sync-token></multistatus>",
         token,
         {{"/alice/t1/", 507, "", ""}, {href, 200, etag, ""}}},
        {"a PROPFIND of depth 1: the calendar, a folder in it, an event and a note",
         "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:response>"
         "<d:href>/alice/t1/</d:href><d:propstat><d:prop><d:resourcetype><d:collection/>"
         "<c:calendar/></d:resourcetype><d:getetag>\"c\"</d:getetag></d:prop><d:status>HTTP/1.1 "
         "200 OK</d:status></d:propstat></d:response><d:response><d:href>/alice/t1/inner/"
         "</d:href><d:propstat><d:prop><d:resourcetype><d:collection/></d:resourcetype></d:prop>"
         "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response><d:response><d:href>" +
             href +
             "</d:href><d:propstat><d:prop><d:resourcetype/><d:getcontenttype> "
             "text/calendar; charset=utf-8; component=VEVENT </d:getcontenttype><d:getetag>" +
             etag +
             "</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>"
             "<d:response><d:href>/alice/t1/note.txt</d:href><d:propstat><d:prop>"
             "<d:getcontenttype>text/plain</d:getcontenttype></d:prop><d:status>HTTP/1.1 200 OK"
             "</d:status></d:propstat><d:propstat><d:prop><d:getetag/></d:prop><d:status>HTTP/1.1 "
             "404 Not Found</d:status></d:propstat></d:response></d:multistatus>",
         "",
         {{"/alice/t1/", 200, "\"c\"", "", true},
          {"/alice/t1/inner/", 200, "", "", true},
          {href, 200, etag, "", false, "text/calendar; charset=utf-8; component=VEVENT"},
          {"/alice/t1/note.txt", 200, "", "", false, "text/plain"}}},
        {"elements nested as deep as allowed",
         "<multistatus xmlns=\"DAV:\">" +
             [] {
                 std::string inner;
                 for (int level = 2; level <= kDeepestXml; ++level)
                     inner += "<x>";
                 for (int level = 2; level <= kDeepestXml; ++level)
                     inner += "</x>";
                 return inner;
             }() +
             "</multistatus>",
         "",
         {}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        DavMultiStatus read;
        ASSERT_NO_THROW(read = ReadMultiStatus(c.body));
        EXPECT_EQ(read.syncToken, c.syncToken);
        ASSERT_EQ(read.members.size(), c.members.size());
        for (std::size_t i = 0; i < c.members.size(); ++i) {
            EXPECT_EQ(read.members[i].href, c.members[i].href);
            EXPECT_EQ(read.members[i].status, c.members[i].status);
            EXPECT_EQ(read.members[i].etag, c.members[i].etag);
            EXPECT_EQ(read.members[i].calendarData, c.members[i].calendarData);
            EXPECT_EQ(read.members[i].collection, c.members[i].collection);
            EXPECT_EQ(read.members[i].contentType, c.members[i].contentType);
        }
    }
}

struct RefusedCase {
    const char* what;
    std::string body;
    std::string reason; // a part of the Slovak message
};

TEST(DavXml, RefusesBodiesThatAreNotStrictXml) {
    std::string tooDeep = "<multistatus xmlns=\"DAV:\">";
    for (int level = 2; level <= kDeepestXml + 1; ++level)
        tooDeep += "<x>";
    const std::vector<RefusedCase> cases = {
        {"entities of the server's own making",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
         "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<m>&b;</m>",
         "DOCTYPE"},
        {"an outside file named by a DOCTYPE",
         "<!DOCTYPE multistatus SYSTEM \"file:///etc/passwd\"><multistatus xmlns=\"DAV:\"/>",
         "DOCTYPE"},
        {"a DOCTYPE inside an element", "<m><!DOCTYPE m></m>", "deklaráciu"},
        {"an entity that was never declared", "<m>&nbsp;</m>", "&nbsp;"},
        {"one level too deep", tooDeep, "hlbšie ako 64"},
        {"an element that is never closed",
         "<multistatus xmlns=\"DAV:\">\n<response>\n<href>/a.ics</href>", "neuzavrel"},
        {"a closing tag of another element",
         "<D:multistatus xmlns:D=\"DAV:\"><D:response></D:multistatus></D:response>",
         "</D:multistatus> nepatrí k <D:response>"},
        {"the same local name under another prefix",
         "<D:multistatus xmlns:D=\"DAV:\" xmlns:E=\"DAV:\"></E:multistatus>", "nepatrí"},
        {"a prefix never declared", "<D:multistatus><D:response/></D:multistatus>", "predpona „D“"},
        {"a prefix declared only in a sibling", "<m><a xmlns:p=\"DAV:\"/><p:b/></m>",
         "predpona „p“"},
        {"a prefix of an attribute never declared", "<m q:a=\"1\"/>", "predpona „q“"},
        {"character reference to NUL", "<m>&#0;</m>", "nedovoľuje"},
        {"character reference to a surrogate", "<m>&#xD800;</m>", "nedovoľuje"},
        {"character reference beyond Unicode", "<m>&#x110000;</m>", "mimo Unicode"},
        {"character reference with a huge number", "<m>&#99999999999999999999;</m>",
         "mimo Unicode"},
        {"an ampersand alone", "<m>a & b</m>", "„&“"},
        {"character reference without digits", "<m>&#x;</m>", "bez čísla"},
        {"character reference with a letter", "<m>&#12a;</m>", "číslicou"},
        {"a byte that is not UTF-8", "<m>caf\xE9</m>", "UTF-8"},
        {"a control character", "<m>\x01</m>", "UTF-8"},
        {"a second root", "<m/><m/>", "za koreňovým prvkom"},
        {"text after the root", "<m/>text", "za koreňovým prvkom"},
        {"no root", "  <!-- nothing -->  ", "chýba koreňový prvok"},
        {"an attribute twice", "<m a=\"1\" b=\"\" a=\"2\"/>", "atribút a je v prvku dvakrát"},
        {"more attributes than an answer ever has",
         [] {
             std::string element = "<m";
             for (int i = 0; i <= 256; ++i)
                 element += " a" + std::to_string(i) + "=''";
             return element + "/>";
         }(),
         "viac ako 256 atribútov"},
        {"a raw < in an attribute", "<m a=\"<\"/>", "„<“"},
        {"an empty namespace bound to a prefix", "<p:m xmlns:p=\"\"/>", "predpony"},
        {"a comment with --", "<m><!-- a -- b --></m>", "komentár"},
        {"an unfinished CDATA section", "<m><![CDATA[abc</m>", "CDATA"},
        {"an XML declaration not at the start", " <m/><?xml version=\"1.0\"?>", "na začiatku"},
        {"the line of the fault is named", "<m>\n<a>\n</b>\n</m>", "riadok 3"},
        {"not a multistatus", kDeclaration + "<error xmlns=\"DAV:\"><valid-sync-token /></error>",
         "„error“"},
        {"a multistatus of another namespace", "<multistatus xmlns=\"urn:other\"/>", "multistatus"},
        {"a member without an address",
         "<multistatus xmlns=\"DAV:\"><response><status>HTTP/1.1 200 OK</status></response>"
         "</multistatus>",
         "href"},
        {"a member whose status is not HTTP",
         "<multistatus xmlns=\"DAV:\"><response><href>/a.ics</href><status>200 OK</status>"
         "</response></multistatus>",
         "„200 OK“"},
        {"a member without any status",
         "<multistatus xmlns=\"DAV:\"><response><href>/a.ics</href></response></multistatus>",
         "bez stavu"},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ReadMultiStatus(c.body);
            ADD_FAILURE() << "read without complaint";
        } catch (const XmlError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
    // Refused by its length before a byte is read. Zeroed memory the system has not yet handed
    // out costs nothing to get; a reader that went on would stop at the first NUL, another way.
    const std::unique_ptr<char, decltype(&std::free)> zeros(
        static_cast<char*>(std::calloc(kLargestXml + 1, 1)), &std::free);
    ASSERT_TRUE(zeros);
    try {
        ReadMultiStatus(std::string_view(zeros.get(), kLargestXml + 1));
        ADD_FAILURE() << "a body longer than the limit was read";
    } catch (const XmlError& e) {
        EXPECT_NE(std::string(e.what()).find("príliš dlhá"), std::string::npos) << e.what();
    }
}

TEST(DavXml, TellsAnExpiredSyncTokenFromOtherRefusals) {
    EXPECT_TRUE(
        IsInvalidSyncToken(kDeclaration + "<error xmlns=\"DAV:\"><valid-sync-token /></error>"));
    EXPECT_TRUE(IsInvalidSyncToken("<D:error xmlns:D=\"DAV:\"><D:valid-sync-token/></D:error>"));
    EXPECT_FALSE(IsInvalidSyncToken("<error xmlns=\"DAV:\"><need-privileges/></error>"));
    EXPECT_FALSE(IsInvalidSyncToken("<error><valid-sync-token/></error>"));
    EXPECT_FALSE(IsInvalidSyncToken("Forbidden"));
    EXPECT_FALSE(IsInvalidSyncToken("<!DOCTYPE e><error xmlns=\"DAV:\"><valid-sync-token/>"));
}

TEST(DavXml, EscapedTextReadsBackUnchanged) {
    for (const std::string text : {"Jano & Mara <3", "a\"b'c>d", "]]>", "&amp;", "Ľubomír Žofia"}) {
        SCOPED_TRACE(text);
        const std::string escaped = XmlEscape(text);
        EXPECT_EQ(escaped.find_first_of("<>\"'"), std::string::npos);
        EXPECT_EQ(ParseXml("<m a=\"" + escaped + "\">" + escaped + "</m>").text, text);
    }
}

} // namespace
} // namespace tilava
