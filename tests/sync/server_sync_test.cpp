// Two machines and a real CardDAV server (Radicale, Xandikos) on the
// loopback: what one does reaches the other, and nothing is lost.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <random>
#include <thread>
#include <tuple>

#include "fakes/cli_runner.h"
#include "fakes/dav_server.h"
#include "fakes/golden.h"
#include "fakes/secret_service.h"
#include "fakes/sync_device.h"
#include "sync/carddav_client.h"
#include "sync/libsecret_store.h"
#include "sync/sync_state.h"

namespace tabrel {
namespace {

using testing::DavKind;
using testing::DavServer;
using testing::SecretService;
using testing::SyncDevice;

std::string TestData(const std::string& name) {
  return testing::ReadBytes(testing::TestDataFolder("sync") / name);
}

// A client of the server as a phone would be one.
class Phone {
 public:
  explicit Phone(const DavServer& server)
      : http_(server.Origin(), {DavServer::kUser, DavServer::kPassword}, 64u << 20),
        client_(http_, server.Origin()),
        book_(server.BookUrl()) {}
  std::vector<ServerCard> Cards() {
    auto listing = client_.List(book_, "");
    EXPECT_TRUE(listing.ok()) << listing.status().description();
    std::vector<std::string> skipped;
    EXPECT_TRUE(client_.Fetch(book_, listing.value().changed, skipped).ok());
    return listing.value().changed;
  }
  ServerCard Named(const std::string& needle) {
    for (ServerCard& card : Cards()) {
      if (card.text.find(needle) != std::string::npos) return card;
    }
    return {};
  }
  void Put(const std::string& href, const std::string& etag, const std::string& text) {
    auto put = client_.Put(book_, href, etag, text);
    ASSERT_TRUE(put.ok() && !put.value().conflict) << href;
  }
  // Replaces `from` by `to` in the card holding `needle`.
  void Edit(const std::string& needle, const std::string& from, const std::string& to) {
    ServerCard card = Named(needle);
    const std::size_t at = card.text.find(from);
    ASSERT_NE(at, std::string::npos) << card.text;
    Put(card.href, card.etag, card.text.replace(at, from.size(), to));
  }
  void Delete(const std::string& needle) {
    const ServerCard card = Named(needle);
    ASSERT_TRUE(client_.Delete(book_, card.href, card.etag).ok());
  }

 private:
  CurlHttpClient http_;
  CarddavClient client_;
  std::string book_;
};

// Runs `before` once, right before the first request of `method` goes out.
class RacingHttp : public HttpClient {
 public:
  RacingHttp(HttpClient& inner, std::string method, std::function<void()> before)
      : inner_(inner), method_(std::move(method)), before_(std::move(before)) {}
  Result<HttpResponse> Send(const HttpRequest& request) override {
    if (request.method == method_ && before_) std::exchange(before_, nullptr)();
    return inner_.Send(request);
  }

 private:
  HttpClient& inner_;
  std::string method_;
  std::function<void()> before_;
};

class ServerSync : public ::testing::TestWithParam<DavKind> {
 protected:
  void SetUp() override {
    if (!DavServer::Installed(GetParam()))
      GTEST_SKIP() << DavServer::Binary(GetParam()) << " is not installed";
    ASSERT_TRUE(server_.Start()) << "the server did not start";
    a_.config.url = server_.ServerUrl();
    b_.config.url = server_.BookUrl();
  }
  // `a` found the book from the bare server, `b` was given it.
  void Synced(SyncDevice& device, SyncOptions options = {}, HttpClient* http = nullptr) {
    auto report = device.Sync(options, http);
    ASSERT_TRUE(report.ok()) << report.status().description();
  }
  void ExpectSame() {
    Synced(a_);
    Synced(b_);
    Synced(a_);
    EXPECT_EQ(a_.Contents(), b_.Contents());
    EXPECT_EQ(Phone(server_).Cards().size(), a_.Records().size());
  }

  DavServer server_{GetParam()};
  SyncDevice a_{"", 1};
  SyncDevice b_{"", 2};
};

TEST_P(ServerSync, FirstSyncUpThenDownThenNothingToDo) {
  a_.AddPeople(200);
  Synced(a_);
  EXPECT_EQ(Phone(server_).Cards().size(), 200u);
  Synced(b_);
  EXPECT_EQ(b_.Records().size(), 200u);
  EXPECT_EQ(a_.Contents(), b_.Contents());
  auto again = b_.Sync();
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.value().actions.size(), 0u);
  EXPECT_LE(again.value().requests, 5u);
}

TEST_P(ServerSync, EditsAndDeletesOnEachSideReachTheOther) {
  a_.AddPeople(20);
  ExpectSame();
  a_.Edit("Person1", &ContactRecord::Title, "Captain");
  b_.Edit("Person2", &ContactRecord::EMail, "two@example.org");
  a_.Delete("Person3");
  b_.Delete("Person4");
  Phone(server_).Edit("Person5", ";Ann;", ";Annika;");
  Phone(server_).Delete("Person6");
  auto dry = a_.Sync({.dry_run = true});
  ASSERT_TRUE(dry.ok()) << dry.status().description();
  const SyncReport& would = dry.value();
  EXPECT_EQ(std::tuple(would.sent, would.received, would.deleted_here, would.deleted_there),
            std::tuple(1u, 1u, 1u, 1u));
  ExpectSame();
  ASSERT_EQ(a_.Records().size(), 17u);
  EXPECT_EQ(Trim(b_.Records()[b_.Find("Person1")].Title), "Captain");
  EXPECT_EQ(Trim(a_.Records()[a_.Find("Person2")].EMail), "two@example.org");
  EXPECT_EQ(Trim(a_.Records()[a_.Find("Person5")].FirstName), "Annika");
  EXPECT_EQ(a_.Find("Person6"), -1);
}

TEST_P(ServerSync, EditsOnBothSidesKeepBothVersions) {
  a_.AddPeople(3);
  ExpectSame();
  a_.Edit("Person1", &ContactRecord::Title, "Mine");
  b_.Edit("Person1", &ContactRecord::Title, "Theirs");
  b_.Edit("Person2", &ContactRecord::Title, "Same");
  a_.Edit("Person2", &ContactRecord::Title, "Same");
  Synced(b_);
  auto report = a_.Sync();
  ASSERT_TRUE(report.ok()) << report.status().description();
  EXPECT_EQ(report.value().conflicts, std::vector<std::string>{"Ann Person1"});
  ExpectSame();
  EXPECT_EQ(a_.Contents(),
            (std::vector<std::string>{
                "Person0|Ann|p0@example.org||", "Person1|Ann|p1@example.org|Mine|Conflict",
                "Person1|Ann|p1@example.org|Theirs|", "Person2|Ann|p2@example.org|Same|"}));
}

TEST_P(ServerSync, ChangeBeatsDeleteOnEitherSide) {
  a_.AddPeople(4);
  ExpectSame();
  a_.Delete("Person1");
  Phone(server_).Edit("Person1", ";Ann;", ";Anna;");
  Phone(server_).Delete("Person2");
  a_.Edit("Person2", &ContactRecord::Title, "Kept");
  ExpectSame();
  EXPECT_EQ(Trim(b_.Records()[b_.Find("Person1")].FirstName), "Anna");
  EXPECT_EQ(Trim(b_.Records()[b_.Find("Person2")].Title), "Kept");
}

TEST_P(ServerSync, CardChangedBetweenListingAndPutIsAConflictNotAnOverwrite) {
  a_.AddPeople(2);
  ExpectSame();
  a_.Edit("Person0", &ContactRecord::Title, "Local");
  CurlHttpClient curl(server_.Origin(), {DavServer::kUser, DavServer::kPassword}, 64u << 20);
  RacingHttp racing(curl, "PUT", [this] { Phone(server_).Edit("Person0", ";Ann;", ";Racer;"); });
  auto report = a_.Sync({}, &racing);
  ASSERT_TRUE(report.ok()) << report.status().description();
  EXPECT_EQ(report.value().conflicts.size(), 1u);
  ExpectSame();
  EXPECT_EQ(a_.Contents()[0], "Person0|Ann|p0@example.org|Local|Conflict");
  EXPECT_EQ(a_.Contents()[1], "Person0|Racer|p0@example.org||");
}

// The card comes back with the server's etag: the next edit goes out as an
// edit, not as a conflict.
TEST_P(ServerSync, CardChangedBetweenListingAndDeleteComesBack) {
  a_.AddPeople(2);
  ExpectSame();
  a_.Delete("Person0");
  CurlHttpClient curl(server_.Origin(), {DavServer::kUser, DavServer::kPassword}, 64u << 20);
  RacingHttp racing(curl, "DELETE", [this] { Phone(server_).Edit("Person0", ";Ann;", ";Racer;"); });
  Synced(a_, {}, &racing);
  EXPECT_EQ(Trim(a_.Records()[a_.Find("Person0")].FirstName), "Racer");
  a_.Edit("Person0", &ContactRecord::Title, "Later");
  auto later = a_.Sync();
  EXPECT_TRUE(later.ok() && later.value().conflicts.empty());
}

TEST_P(ServerSync, PhoneCardKeepsWhatARecordCannotHold) {
  Phone(server_).Put("phone-card-0001.vcf", "", TestData("phone_card.vcf"));
  auto first = a_.Sync();
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(first.value().kept_on_server, std::vector<std::string>{"Maja Lindqvist"});
  a_.Edit("Lindqvist", &ContactRecord::Title, "Chief Engineer");
  a_.Edit("Lindqvist", &ContactRecord::LastName, "Lindqvist-Berg");
  Synced(a_);
  const std::string card = Phone(server_).Named("Lindqvist").text;
  for (const char* kept : {"BDAY:1984-07-12", "maja.home@example.org", "m.l@example.net", "PHOTO;",
                           "X-PHONE-RINGTONE:marimba", "item1.URL:https://sail.example/maja",
                           "+46 8 999 00", "UID:phone-card-0001", "TITLE:Chief Engineer",
                           "N:Lindqvist-Berg;", "ADR;TYPE=WORK:PO Box 7;;Strandvagen 1;"}) {
    EXPECT_NE(card.find(kept), std::string::npos) << kept << " lost from\n" << card;
  }
  EXPECT_EQ(card.find("TITLE:Engineer"), std::string::npos);
}

TEST_P(ServerSync, MassDeletionIsRefusedUnlessAllowed) {
  a_.AddPeople(20);
  Synced(a_);
  a_.Store({});
  auto refused = a_.Sync();
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.status().number(), kSyncMassDelete);
  EXPECT_EQ(refused.status().description(),
            "The sync would delete 20 of the 20 cards on the server, so it was stopped; nothing "
            "was changed");
  EXPECT_EQ(Phone(server_).Cards().size(), 20u);
  Synced(a_, {.allow_mass_delete = true});
  EXPECT_EQ(Phone(server_).Cards().size(), 0u);
}

TEST_P(ServerSync, AnInvalidSyncTokenFallsBackToAFullListing) {
  a_.AddPeople(5);
  ExpectSame();
  auto state = SyncState::Read(a_.folders.state);
  state.value().token = "http://radicale.org/ns/sync/bogus-token";
  a_.folders.data.Write(kSyncStateName, state.value().Serialise());
  Phone(server_).Edit("Person3", ";Ann;", ";Anne;");
  Phone(server_).Delete("Person4");
  ExpectSame();
  EXPECT_EQ(Trim(a_.Records()[a_.Find("Person3")].FirstName), "Anne");
  EXPECT_EQ(a_.Records().size(), 4u);
}

// A sync killed at random moments, then run to the end: nothing doubled or lost.
TEST_P(ServerSync, KilledSyncsEndAsAnUninterruptedOne) {
  testing::CliRunner cli;
  SyncDevice& here = a_;
  here.AddPeople(150);
  here.folders.data.Write("carddav.ini", "url = " + server_.BookUrl() + "\nuser = test\n" +
                                             "password-command = /usr/bin/printf '%s' '" +
                                             DavServer::kPassword + "'\n");
  const std::vector<std::string> args = {"--data", here.folders.data.path(), "sync"};
  std::mt19937 random(GetParam() == DavKind::kRadicale ? 7 : 11);
  for (int round = 0; round < 4; ++round) {
    if (round == 2) {
      b_.AddPeople(30, 500);
      Synced(b_);
      here.Edit("Person7", &ContactRecord::Title, "Edited");
    }
    std::vector<std::string> words = {TABREL_CLI_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 400));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
  const testing::CliOutcome done = cli.Cli(args);
  ASSERT_EQ(done.code, 0) << done.err;
  Synced(b_);
  EXPECT_EQ(here.Records().size(), 180u);
  EXPECT_EQ(Phone(server_).Cards().size(), 180u);
  EXPECT_EQ(here.Contents(), b_.Contents());
}

// Thousands of cards down to one machine, changes both ways, and down to a
// second. The server's storage is seeded as a phone would have filled it:
// either server spends time in proportion to the cards it holds on each new
// card sent, so 5,000 sent one by one take it many minutes. Xandikos also
// looks up each fetched card among all the others, so it gets fewer.
TEST_P(ServerSync, ThousandsOfRecordsBothWays) {
  const int n = GetParam() == DavKind::kRadicale ? 5000 : 1000;
  server_.Stop();
  ASSERT_TRUE(server_.SeedCards(n));
  ASSERT_TRUE(server_.Start());
  a_.config.url = server_.ServerUrl();
  b_.config.url = server_.BookUrl();
  Synced(a_);
  ASSERT_EQ(a_.Records().size(), std::size_t(n));
  for (int i = 0; i < 10; ++i)
    a_.Edit("Seed" + std::to_string(i * 7), &ContactRecord::Title, "Moved");
  a_.AddPeople(10);
  Phone(server_).Edit("Seed1;", ";Ann;", ";Anna;");
  Synced(a_);
  Synced(b_);
  EXPECT_EQ(b_.Records().size(), std::size_t(n + 10));
  EXPECT_EQ(a_.Contents(), b_.Contents());
  EXPECT_EQ(Trim(b_.Records()[b_.Find("Seed1")].FirstName), "Anna");
}

TEST(DesktopSecretStore, GivesTheSyncThePasswordKeptForItsUser) {
  SecretService service;
  DavServer server(DavKind::kRadicale);
  if (!SecretService::Installed() || !DavServer::Installed(DavKind::kRadicale))
    GTEST_SKIP() << "needs dbus-daemon, gnome-keyring-daemon and radicale";
  ASSERT_TRUE(server.Start());
  const std::string url = server.BookUrl(), user = DavServer::kUser;
  LibsecretStore store;
  ASSERT_TRUE(service.Start([&] {
    return service.Run([&] { return store.Lookup(url, user).ok(); });
  })) << "the secret store did not start";
  ASSERT_TRUE(service.Run([&] {
    return store.Lookup(url, user).value().empty() && store.Keep(url, user, "old").ok() &&
           store.Keep(url, user, DavServer::kPassword).ok() &&
           store.Keep(url, "someone else", "wrong").ok() &&
           store.Lookup(url, user).value() == DavServer::kPassword;
  }));
  testing::CliRunner cli;
  cli.environment = {service.Address()};
  SyncDevice device("", 1);
  device.AddPeople(3);
  auto sync_as = [&](const std::string& who) {
    device.folders.data.Write(kSyncConfigName,
                              "url = " + url + "\nuser = " + who + "\nsecret-store = yes\n");
    return cli.Cli({"--data", device.folders.data.path(), "sync"});
  };
  const testing::CliOutcome done = sync_as(user);
  EXPECT_EQ(done.code, 0) << done.err;
  EXPECT_EQ(done.out.find(DavServer::kPassword), std::string::npos);
  EXPECT_EQ(Phone(server).Cards().size(), 3u);
  EXPECT_EQ(sync_as("nobody").err, "The desktop's secret store keeps no password for nobody on " +
                                       url + ": give it in Server Settings.\n");
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerSync,
                         ::testing::Values(DavKind::kRadicale, DavKind::kXandikos),
                         [](const auto& info) { return std::string(DavServer::Name(info.param)); });

}  // namespace
}  // namespace tabrel
