// A server that answers wrongly or hostilely: the sync refuses with a
// message naming what was wrong, sends nothing where it should not, and
// leaves the data set as it was.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "fakes/case_file.h"
#include "fakes/contact_files.h"
#include "fakes/fake_clock.h"
#include "fakes/golden.h"
#include "sync/carddav_client.h"
#include "sync/carddav_sync.h"
#include "sync/dav_multistatus.h"
#include "sync/sync_state.h"

namespace tabrel {
namespace {

using testing::Contact;

constexpr const char* kBook = "https://dav.example/book/";

std::string Multistatus(const std::string& inner) {
  return R"(<?xml version="1.0"?><d:multistatus xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav">)" +
         inner + "</d:multistatus>";
}
std::string Listed(const std::string& href, const std::string& etag) {
  return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop><d:getetag>" + etag +
         "</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}
HttpResponse Answer(int status, std::string body = {}) {
  return {status, {}, std::move(body)};
}

// A scripted server: a well-behaved one with an empty address book, but for
// the answers `script` gives.
class ScriptedHttp : public HttpClient {
 public:
  using Script = std::function<std::optional<HttpResponse>(const HttpRequest&)>;
  explicit ScriptedHttp(Script script) : script_(std::move(script)) {}
  Result<HttpResponse> Send(const HttpRequest& request) override {
    sent.push_back(request.method + " " + request.url);
    if (auto scripted = script_(request)) return *scripted;
    if (request.method == "PROPFIND") {
      return Answer(
          207, Multistatus("<d:response><d:href>/book/</d:href><d:propstat><d:prop><d:resourcetype>"
                           "<d:collection/><c:addressbook/></d:resourcetype></d:prop>"
                           "</d:propstat></d:response>"));
    }
    if (request.method == "PUT") return Answer(201);
    return Answer(207, Multistatus("<d:sync-token>t1</d:sync-token>"));
  }
  std::vector<std::string> sent;

 private:
  Script script_;
};

bool IsListing(const HttpRequest& r) {
  return r.method == "REPORT" && r.body.find("sync-collection") != std::string::npos;
}
bool IsFetch(const HttpRequest& r) {
  return r.method == "REPORT" && r.body.find("multiget") != std::string::npos;
}

std::optional<HttpResponse> OnListing(const HttpRequest& r, HttpResponse answer) {
  if (IsListing(r)) return answer;
  return std::nullopt;
}

struct HostileCase {
  const char* name;
  ScriptedHttp::Script script;
  const char* message;  // empty: the sync ends, the card skipped
};

std::string ManyHrefs(std::size_t n) {
  std::string inner;
  inner.reserve(n * 120);
  for (std::size_t i = 0; i < n; ++i)
    inner += Listed("/book/" + std::to_string(i) + ".vcf", "\"e\"");
  return Multistatus(inner);
}

const HostileCase kCases[] = {
    {"BadXml",
     [](const HttpRequest& r) {
       return OnListing(r, Answer(207, "<d:multistatus xmlns:d=\"DAV:\"><d:response>"));
     },
     "The server's answer was refused: it is not well-formed XML"},
    {"ExternalEntity",
     [](const HttpRequest& r) {
       return OnListing(
           r,
           Answer(
               207,
               R"(<?xml version="1.0"?><!DOCTYPE m [<!ENTITY x SYSTEM "file:///etc/passwd">]>)"
               R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>&x;</d:href></d:response></d:multistatus>)"));
     },
     "The server's answer was refused: it holds a document type declaration"},
    {"MillionHrefs",
     [](const HttpRequest& r) { return OnListing(r, Answer(207, ManyHrefs(1000000))); },
     "The server's answer was refused: it is larger than 64 MB"},
    {"DeepNesting",
     [](const HttpRequest& r) {
       std::string deep;
       for (int i = 0; i < 40; ++i) deep = "<d:x>" + deep + "</d:x>";
       return OnListing(r, Answer(207, Multistatus(deep)));
     },
     "The server's answer was refused: its elements nest deeper than 32"},
    {"HrefOnAnotherHost",
     [](const HttpRequest& r) {
       return OnListing(r, Answer(207, Multistatus(Listed("https://evil.example/x.vcf", "\"e\""))));
     },
     "The server pointed to another host (https://evil.example:443); nothing was sent there, the "
     "password included"},
    {"RedirectToAnotherHost",
     [](const HttpRequest& r) {
       if (r.method != "PROPFIND") return std::optional<HttpResponse>();
       return std::optional<HttpResponse>(
           HttpResponse{301, {{"location", "https://evil.example/book/"}}, {}});
     },
     "The server pointed to another host (https://evil.example:443); nothing was sent there, the "
     "password included"},
    {"Unauthorised", [](const HttpRequest& r) { return OnListing(r, Answer(401)); },
     "Listing the address book failed: the server did not accept the user name and password (401)"},
    {"Forbidden",
     [](const HttpRequest& r) {
       return r.method == "PUT" ? std::optional(Answer(403)) : std::nullopt;
     },
     "failed: the server refused it (403 Forbidden)"},
    {"PutNotFound",
     [](const HttpRequest& r) {
       return r.method == "PUT" ? std::optional(Answer(404)) : std::nullopt;
     },
     "failed: the server has no such address book (404)"},
    {"Full",
     [](const HttpRequest& r) {
       return r.method == "PUT" ? std::optional(Answer(507)) : std::nullopt;
     },
     "failed: the server has no room left (507 Insufficient Storage)"},
    {"FiftyMegabyteCard",
     [](const HttpRequest& r) -> std::optional<HttpResponse> {
       if (IsListing(r))
         return Answer(207, Multistatus(Listed("/book/big.vcf", "\"1\"") +
                                        "<d:sync-token>t2</d:sync-token>"));
       if (!IsFetch(r)) return std::nullopt;
       std::string card =
           "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big\r\nNOTE:" + std::string(50u << 20, 'x') +
           "\r\nEND:VCARD\r\n";
       return Answer(
           207,
           Multistatus(
               "<d:response><d:href>/book/big.vcf</d:href><d:propstat><d:prop><c:address-data>" +
               card + "</c:address-data></d:prop></d:propstat></d:response>"));
     },
     ""},
};

class HostileServer : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileServer, RefusesAndLeavesTheDataSetAsItWas) {
  testing::DataSetFolders folders;
  testing::WriteContacts(folders.data, {Contact("1", "Berg", "Anna", "03-01-2024 1000")});
  const std::string before = folders.data.Read("tabrel.dat");
  SyncConfig config;
  config.url = kBook;
  testing::FakeClock clock;
  ScriptedHttp http(GetParam().script);
  auto report = CarddavSync(folders.state, http, config, clock).Run({});
  const std::string expected = GetParam().message;
  if (expected.empty()) {
    ASSERT_TRUE(report.ok()) << report.status().description();
    ASSERT_EQ(report.value().skipped.size(), 1u);
    EXPECT_EQ(report.value().skipped[0],
              "/book/big.vcf could not be fetched (too large or not returned)");
    EXPECT_EQ(SyncState::Read(folders.state).value().token, "") << "a token past a skipped card";
    return;
  }
  ASSERT_FALSE(report.ok());
  EXPECT_NE(report.status().description().find(expected), std::string::npos)
      << report.status().description();
  EXPECT_EQ(folders.data.Read("tabrel.dat"), before);
  EXPECT_FALSE(std::filesystem::exists(folders.data.File(kSyncStateName)));
  for (const std::string& sent : http.sent) EXPECT_EQ(sent.find("evil"), std::string::npos) << sent;
}

INSTANTIATE_TEST_SUITE_P(Answers, HostileServer, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What the sync window shows while a dry run and a sync run, and after
// each.
TEST(CarddavSyncTest, TellsEachStepAndWhatItDidOrWouldDo) {
  struct Steps : SyncObserver {
    void Progress(std::string_view step, std::size_t done, std::size_t total) override {
      seen += std::string(step) + " " + std::to_string(done) + "/" + std::to_string(total) + "\n";
    }
    bool Cancelled() override { return false; }
    std::string seen;
  } steps;
  testing::DataSetFolders folders;
  testing::WriteContacts(folders.data, {Contact("1", "Berg", "Anna", "03-01-2024 1000")});
  SyncConfig config;
  config.url = kBook;
  testing::FakeClock clock;
  ScriptedHttp http([](const HttpRequest&) { return std::nullopt; });
  for (const bool dry_run : {true, false}) {
    auto report = CarddavSync(folders.state, http, config, clock, &steps).Run({dry_run});
    for (const std::string& line : ReportLines(report.value(), dry_run)) steps.seen += line + "\n";
  }
  testing::ExpectGolden(testing::TestDataFolder("sync"), "steps_and_report", steps.seen);
}

TEST(CarddavClientTest, AnUnreadableUrlSendsNothing) {
  ScriptedHttp http([](const HttpRequest&) { return std::nullopt; });
  EXPECT_FALSE(CarddavClient(http, "https://dav.example:443").Discover("dav.example/b/", "").ok());
  EXPECT_TRUE(http.sent.empty());
}

// Servers write DAV: with any prefix, or none.
TEST(DavMultistatus, ReadsEveryWayOfNamingTheNamespaces) {
  for (
      const char* body :
      {R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/b/1.vcf</d:href><d:propstat><d:prop><d:getetag>"x"</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response><d:sync-token>t</d:sync-token></d:multistatus>)",
       R"(<D:multistatus xmlns:D="DAV:"><D:response><D:href>/b/1.vcf</D:href><D:propstat><D:prop><D:getetag>"x"</D:getetag></D:prop></D:propstat></D:response><D:sync-token>t</D:sync-token></D:multistatus>)",
       R"(<multistatus xmlns="DAV:"><response><href> /b/1.vcf </href><propstat><prop><getetag>"x"</getetag></prop></propstat></response><sync-token>t</sync-token></multistatus>)"}) {
    auto parsed = ParseMultistatus(body);
    ASSERT_TRUE(parsed.ok()) << body;
    ASSERT_EQ(parsed.value().resources.size(), 1u);
    EXPECT_EQ(parsed.value().resources[0].href, "/b/1.vcf");
    EXPECT_EQ(parsed.value().resources[0].etag, "\"x\"");
    EXPECT_EQ(parsed.value().sync_token, "t");
  }
  // A property in a 404 propstat is not the resource's.
  auto missing = ParseMultistatus(
      R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/b/</d:href><d:propstat><d:prop><d:getetag>"y"</d:getetag></d:prop><d:status>HTTP/1.1 404 Not Found</d:status></d:propstat></d:response></d:multistatus>)");
  ASSERT_TRUE(missing.ok());
  EXPECT_EQ(missing.value().resources[0].etag, "");
}

using UrlTest = testing::FileCaseTest;

TEST_P(UrlTest, IsSplitResolvedOrRefused) {
  const testing::FileCase& c = GetParam();
  const auto parts = SplitUrl(c.Get("url"));
  const auto resolved = ResolveUrl(c.Get("base", "none"), c.Get("url"));
  EXPECT_EQ(c.Has("base") ? (resolved.ok() ? resolved.value() : resolved.status().description())
                          : (parts.ok() ? parts.value().Origin() + parts.value().path
                                        : parts.status().description()),
            c.Get("is"));
}

TABREL_FILE_CASES(Addresses, UrlTest, "sync", "urls.cases");

}  // namespace
}  // namespace tabrel
