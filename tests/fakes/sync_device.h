#pragma once

// A data set that syncs with a test server, as one machine would: records
// written and edited the way the editor does it (a new stamp at each save,
// noted in the stamp journal), and syncs run through the library.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fakes/contact_files.h"
#include "fakes/dav_server.h"
#include "fakes/fake_clock.h"
#include "store/contact_record.h"
#include "store/stamp.h"
#include "store/stamp_journal.h"
#include "sync/carddav_sync.h"
#include "sync/curl_http_client.h"
#include "sync/sync_config.h"

namespace tabrel::testing {

class SyncDevice {
 public:
  explicit SyncDevice(const std::string& url, int clock_day = 1) {
    config.url = url;
    config.user = DavServer::kUser;
    config.addressbook = "";
    clock.now = {2024, 3, clock_day, 1000.0};
    folders.data.Write("tabrel.dat", "");
  }

  Result<SyncReport> Sync(SyncOptions options = {}, HttpClient* http = nullptr) {
    auto origin = SplitUrl(config.url);
    CurlHttpClient curl(origin.value().Origin(), {DavServer::kUser, DavServer::kPassword},
                        64u << 20);
    CarddavSync sync(folders.state, http ? *http : curl, config, clock, nullptr);
    clock.now.seconds_since_midnight += 10;
    return sync.Run(options);
  }

  // n records "Person<i>", stamps a day apart from the others' devices.
  void AddPeople(int n, int first = 0) {
    std::string bytes = folders.data.Read("tabrel.dat");
    for (int i = first; i < first + n; ++i) {
      ContactRecord r = Contact("1", "Person" + std::to_string(i), "Ann", NextStamp());
      r.EMail = "p" + std::to_string(i) + "@example.org";
      r.Phone = "555-" + std::to_string(1000 + i);
      bytes += EncodeContact(r);
    }
    folders.data.Write("tabrel.dat", bytes);
  }

  std::vector<ContactRecord> Records() const {
    std::vector<ContactRecord> out;
    const std::string bytes = folders.data.Read("tabrel.dat");
    for (std::size_t at = 0; at + 1047 <= bytes.size(); at += 1047)
      out.push_back(DecodeContact(bytes.substr(at)));
    return out;
  }
  void Store(const std::vector<ContactRecord>& records) { WriteContacts(folders.data, records); }

  // Index of the first record whose last name is `last`; -1 when none.
  int Find(const std::string& last) const {
    const auto records = Records();
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (Trim(records[i].LastName) == last) return static_cast<int>(i);
    }
    return -1;
  }

  // What the editor's save does: a new stamp, noted first.
  void Edit(const std::string& last, std::string ContactRecord::*field, const std::string& value) {
    auto records = Records();
    ContactRecord& r = records.at(Find(last));
    r.*field = value;
    const std::string stamp = NextStamp();
    StampJournal::Note(folders.state, r.Modified, stamp);
    r.Modified = stamp;
    Store(records);
  }
  void Delete(const std::string& last) {
    auto records = Records();
    records.erase(records.begin() + Find(last));
    Store(records);
  }

  // Sorted "Last|First|EMail|Title|KW..." of every record: what two devices compare.
  std::vector<std::string> Contents() const {
    std::vector<std::string> out;
    for (const ContactRecord& r : Records()) {
      out.push_back(Trim(r.LastName) + "|" + Trim(r.FirstName) + "|" + Trim(r.EMail) + "|" +
                    Trim(r.Title) + "|" + Trim(r.KW1) + Trim(r.KW2) + Trim(r.KW3));
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  std::string NextStamp() {
    clock.now.seconds_since_midnight += 1;
    return MakeStamp(clock.now);
  }

  DataSetFolders folders;
  SyncConfig config;
  FakeClock clock;
};

}  // namespace tabrel::testing
