#include "sync/carddav_sync.h"

#include <unordered_map>
#include <unordered_set>

#include "base/text.h"
#include "exchange/formats/vcard_writer.h"
#include "store/contact_record.h"
#include "store/data_set.h"
#include "store/data_set_merge.h"
#include "store/layout.h"
#include "store/stamp.h"
#include "store/stamp_journal.h"
#include "store/stamp_set.h"
#include "sync/card_text.h"
#include "sync/carddav_client.h"
#include "sync/sync_state.h"

namespace tabrel {
namespace {

namespace l = layout;

constexpr std::string_view kConflictKeyword = "Conflict";
constexpr std::size_t kFewDeletes = 5;

enum class Side { kSame, kChanged, kGone };

// One change to make. Server writes come first, then the local ones.
struct Action {
  enum Kind { kSend, kDeleteThere, kTake, kDeleteHere } kind;
  std::string href;
  std::string etag;       // what the server must still hold (If-Match); empty for a new card
  std::string text;       // kSend: the stored card to start from; kTake: the server's card
  std::string record;     // kSend: the record to send (a conflict copy is added here too)
  std::size_t local = 0;  // the record it concerns; 0 for one to add
  std::string name;
  bool add_here = false;  // kSend of a conflict copy: the record is added here too
  bool sent = false;
};

std::string Thousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

std::string NameOf(std::string_view record) {
  const ContactRecord r = DecodeContact(record);
  std::string name = Trim(Trim(r.FirstName) + " " + Trim(r.LastName));
  if (name.empty() || (IsOrganisation(r.RecType) && !IsBlank(r.Org))) name = Trim(r.Org);
  return name.empty() ? "(no name)" : name;
}

std::uint64_t ContentSum(std::string_view record) {
  return RecordSum(record.substr(0, l::kModified.offset));
}

std::string WithConflictKeyword(std::string record) {
  for (const l::Span slot : {l::kKW1, l::kKW2, l::kKW3}) {
    if (TrimView(std::string_view(record).substr(slot.offset, slot.width)) == kConflictKeyword) {
      return record;
    }
  }
  for (const l::Span slot : {l::kKW1, l::kKW2, l::kKW3, l::kKW3}) {
    if (IsBlank(std::string_view(record).substr(slot.offset, slot.width)) ||
        slot.offset == l::kKW3.offset) {
      record.replace(slot.offset, slot.width, Fit(kConflictKeyword, slot.width));
      return record;
    }
  }
  return record;
}

class SyncRun {
 public:
  SyncRun(AppState& state, HttpClient& http, const SyncConfig& config, Clock& clock,
          SyncObserver* observer, const SyncOptions& options)
      : state_(state),
        config_(config),
        clock_(clock),
        observer_(observer),
        options_(options),
        client_(http, Origin(config.url),
                [observer] { return observer == nullptr || !observer->Cancelled(); }) {}

  Result<SyncReport> Run();

 private:
  static std::string Origin(const std::string& url) {
    auto parts = SplitUrl(url);
    return parts.ok() ? parts.value().Origin() : std::string();
  }
  void Tell(std::string_view step, std::size_t done, std::size_t total) {
    if (observer_) observer_->Progress(step, done, total);
  }
  Status Plan(ServerListing& listing);
  void PlanNew(std::vector<ServerCard*>& fresh, const StampJournal& journal);
  Status CheckPlan() const;
  Status WriteServer();
  Status Send(Action& action);
  Status WriteHere();
  void Conflict(std::size_t local, const ServerCard& server, const std::string& stored_uid);
  void Keep(SyncedCard card) { kept_.push_back(std::move(card)); }
  std::string LocalStamp(std::size_t number) const {
    return Trim(merge_.Record(number).substr(l::kModified.offset, l::kModified.width));
  }

  AppState& state_;
  const SyncConfig& config_;
  Clock& clock_;
  SyncObserver* observer_;
  SyncOptions options_;
  CarddavClient client_;
  std::string collection_;
  DataSetMerge merge_;
  SyncState saved_;
  SyncReport report_;
  std::unordered_map<std::string, std::size_t> by_stamp_;  // trimmed stamp -> record number
  std::vector<bool> claimed_;                              // by record number - 1
  std::vector<Action> actions_;
  std::vector<SyncedCard> kept_;  // the state after the sync
  std::size_t server_count_ = 0;
  std::string token_;
  StampSet stamps_;
  std::vector<Action> extra_;  // conflict copies a 412 made while sending
  bool complete_ = true;       // every change was fetched: the new token may be kept
};

Status SyncRun::Plan(ServerListing& listing) {
  std::unordered_map<std::string, ServerCard*> listed;
  for (ServerCard& card : listing.changed) listed[HrefKey(card.href)] = &card;
  std::unordered_set<std::string> removed;
  for (const std::string& href : listing.removed) removed.insert(HrefKey(href));
  auto journal = StampJournal::Read(state_);
  if (!journal.ok()) return journal.status();
  const auto exists = [this](const std::string& stamp) { return by_stamp_.contains(stamp); };

  // Cards the last sync knew: where each side stands.
  std::vector<ServerCard*> fetch;
  struct Known {
    SyncedCard card;
    std::size_t local;
    Side here, there;
    ServerCard* server;
  };
  std::vector<Known> known;
  known.reserve(saved_.cards.size());
  for (SyncedCard& card : saved_.cards) {
    const std::string stamp = journal.value().Resolve(card.stamp, exists);
    const std::size_t local = stamp.empty() ? 0 : by_stamp_[stamp];
    if (local != 0 && claimed_[local - 1]) continue;  // two cards on one record: the first holds it
    if (local != 0) claimed_[local - 1] = true;
    const Side here = local == 0                                    ? Side::kGone
                      : RecordSum(merge_.Record(local)) != card.sum ? Side::kChanged
                                                                    : Side::kSame;
    const std::string key = HrefKey(card.href);
    const auto found = listed.find(key);
    ServerCard* server = found == listed.end() ? nullptr : found->second;
    if (server) listed.erase(found);
    Side there = Side::kSame;
    if (listing.full) {
      there = !server ? Side::kGone : server->etag != card.etag ? Side::kChanged : Side::kSame;
    } else if (removed.contains(key)) {
      there = Side::kGone;
    } else if (server && server->etag != card.etag) {
      there = Side::kChanged;
    }
    if (there == Side::kChanged) fetch.push_back(server);
    if (local != 0) card.stamp = stamp;
    known.push_back({std::move(card), local, here, there, server});
  }
  std::vector<ServerCard*> fresh;
  for (auto& [key, card] : listed) {
    fresh.push_back(card);
    fetch.push_back(card);
  }
  server_count_ = listing.full ? listing.changed.size() : saved_.cards.size() + fresh.size();

  std::vector<ServerCard> wanted;
  wanted.reserve(fetch.size());
  for (ServerCard* card : fetch) wanted.push_back({card->href, card->etag, {}});
  std::vector<std::string> skipped;
  Tell("Fetching", 0, wanted.size());
  if (Status s = client_.Fetch(collection_, wanted, skipped); !s.ok()) return s;
  for (std::size_t i = 0; i < fetch.size(); ++i) *fetch[i] = std::move(wanted[i]);
  for (const std::string& href : skipped) {
    report_.skipped.push_back(href + " could not be fetched (too large or not returned)");
    complete_ = false;
  }

  for (Known& k : known) {
    const std::size_t local = k.local;
    if (k.there == Side::kChanged && k.server->text.empty()) k.there = Side::kSame;  // not fetched
    const std::string record = local ? std::string(merge_.Record(local)) : std::string();
    SyncedCard& card = k.card;
    if (k.here == Side::kSame && k.there == Side::kSame) {
      Keep(std::move(card));
    } else if (k.here == Side::kGone && k.there == Side::kGone) {
      // Gone on both sides.
    } else if (k.here == Side::kGone && k.there == Side::kSame) {
      actions_.push_back({Action::kDeleteThere,
                          card.href,
                          card.etag,
                          card.text,
                          {},
                          0,
                          ReadServerCard(card.text).name});
    } else if (k.here == Side::kSame && k.there == Side::kGone) {
      actions_.push_back({Action::kDeleteHere, card.href, {}, {}, {}, local, NameOf(record)});
    } else if (k.there == Side::kGone) {
      // Changed here, deleted there: the change comes back as a card.
      actions_.push_back({Action::kSend, card.href, {}, card.text, record, local, NameOf(record)});
    } else if (k.here == Side::kSame || k.here == Side::kGone) {
      actions_.push_back({Action::kTake,
                          card.href,
                          k.server->etag,
                          k.server->text,
                          {},
                          local,
                          ReadServerCard(k.server->text).name});
    } else if (k.there == Side::kSame) {
      actions_.push_back(
          {Action::kSend, card.href, card.etag, card.text, record, local, NameOf(record)});
    } else {
      Conflict(local, *k.server, card.uid);
    }
  }
  PlanNew(fresh, journal.value());
  return Status::Ok();
}

// Both sides changed a card: to the same content it is none.
void SyncRun::Conflict(std::size_t local, const ServerCard& server, const std::string& stored_uid) {
  const std::string record(merge_.Record(local));
  const ServerRecord theirs = ReadServerCard(server.text);
  if (SameContent(theirs.record, record)) {
    Keep({server.href, server.etag, theirs.uid.empty() ? stored_uid : theirs.uid, LocalStamp(local),
          RecordSum(record), server.text});
    return;
  }
  actions_.push_back(
      {Action::kTake, server.href, server.etag, server.text, {}, local, theirs.name});
  actions_.push_back(
      {Action::kSend, {}, {}, {}, WithConflictKeyword(record), 0, NameOf(record), true});
  report_.conflicts.push_back(NameOf(record));
}

// Cards new on the server and records new here, paired where one is the
// other (sent by a sync whose local commit was lost, or the same record on
// two data sets).
void SyncRun::PlanNew(std::vector<ServerCard*>& fresh, const StampJournal& journal) {
  std::unordered_map<std::string, std::size_t> by_uid;
  std::unordered_multimap<std::uint64_t, std::size_t> by_content;
  for (std::size_t n = 1; n <= merge_.count(); ++n) {
    if (claimed_[n - 1]) continue;
    by_uid[VcardUid(LocalStamp(n))] = n;
    by_content.emplace(ContentSum(merge_.Record(n)), n);
  }
  // A card sent before the record was saved again carries the UID of a
  // stamp the record had.
  const auto exists = [this](const std::string& stamp) { return by_stamp_.contains(stamp); };
  for (const std::string& old : journal.Sources()) {
    const std::string now = journal.Resolve(old, exists);
    if (now.empty() || now == old) continue;
    const std::size_t n = by_stamp_[now];
    if (!claimed_[n - 1]) by_uid.emplace(VcardUid(old), n);
  }
  const auto claim = [this](std::size_t n) { claimed_[n - 1] = true; };
  for (ServerCard* server : fresh) {
    if (server->text.empty()) continue;
    const ServerRecord theirs = ReadServerCard(server->text);
    std::size_t local = 0;
    if (const auto u = by_uid.find(theirs.uid); u != by_uid.end() && !claimed_[u->second - 1]) {
      // A card of this data set's own making (sent by a sync whose local
      // commit was lost): the record as it is now goes to it.
      claim(u->second);
      const std::string record(merge_.Record(u->second));
      if (SameContent(theirs.record, record)) {
        Keep({server->href, server->etag, theirs.uid, LocalStamp(u->second), RecordSum(record),
              server->text});
      } else {
        actions_.push_back({Action::kSend, server->href, server->etag, server->text, record,
                            u->second, NameOf(record)});
      }
      continue;
    } else {
      const auto [from, to] = by_content.equal_range(ContentSum(theirs.record));
      for (auto it = from; it != to && local == 0; ++it) {
        if (!claimed_[it->second - 1] && SameContent(merge_.Record(it->second), theirs.record))
          local = it->second;
      }
    }
    if (local == 0) {
      actions_.push_back(
          {Action::kTake, server->href, server->etag, server->text, {}, 0, theirs.name});
      continue;
    }
    claim(local);
    Conflict(local, *server, theirs.uid);
  }
  for (std::size_t n = 1; n <= merge_.count(); ++n) {
    if (claimed_[n - 1]) continue;
    const std::string stamp = LocalStamp(n);
    if (!IsReadableStamp(stamp)) {
      report_.skipped.push_back(NameOf(merge_.Record(n)) +
                                " has no stamp of its own and was not sent");
      continue;
    }
    actions_.push_back({Action::kSend,
                        HrefForUid(VcardUid(stamp)),
                        {},
                        {},
                        std::string(merge_.Record(n)),
                        n,
                        NameOf(merge_.Record(n))});
  }
}

Status SyncRun::CheckPlan() const {
  std::size_t here = 0, there = 0, added = 0;
  for (const Action& a : actions_) {
    here += a.kind == Action::kDeleteHere;
    there += a.kind == Action::kDeleteThere;
    added += (a.kind == Action::kTake && a.local == 0) || a.add_here;
  }
  const std::size_t count = merge_.count();
  if (!options_.allow_mass_delete) {
    if (here > kFewDeletes && here * 2 > count) {
      return Status::Error(kSyncMassDelete,
                           "The sync would delete " + Thousands(here) + " of the " +
                               Thousands(count) +
                               " records here, so it was stopped; nothing was changed");
    }
    if (there > kFewDeletes && there * 2 > server_count_) {
      return Status::Error(kSyncMassDelete,
                           "The sync would delete " + Thousands(there) + " of the " +
                               Thousands(server_count_) +
                               " cards on the server, so it was stopped; nothing was changed");
    }
  }
  if (count - here + added > l::kMaxRecords) {
    return Status::Error(error_number::kOverflow,
                         "The data set holds " + Thousands(count) + " records and the sync would " +
                             "bring it to " + Thousands(count - here + added) + ", more than the " +
                             Thousands(l::kMaxRecords) +
                             " a data set can hold; nothing was changed");
  }
  return Status::Ok();
}

Status SyncRun::Send(Action& a) {
  const VcardVersion version = client_.vcard4() ? VcardVersion::k40 : VcardVersion::k30;
  if (a.add_here) {
    // A conflict copy: a record of its own with a stamp of its own.
    a.href = HrefForUid(VcardUid(Trim(a.record.substr(l::kModified.offset, l::kModified.width))));
  }
  std::string text = CardForRecord(a.record, a.text, version);
  auto put = client_.Put(collection_, a.href, a.etag, text);
  if (!put.ok()) return put.status();
  if (put.value().conflict) {
    // Changed meanwhile (412): never written over; fetched and kept both.
    std::vector<ServerCard> now = {{a.href, {}, {}}};
    std::vector<std::string> skipped;
    if (Status s = client_.Fetch(collection_, now, skipped); !s.ok()) return s;
    if (now[0].text.empty()) {
      report_.skipped.push_back(a.name + " could not be sent: the server's card changed");
      return Status::Ok();
    }
    if (a.local != 0 && !a.add_here) {
      a.kind = Action::kTake;
      a.text = now[0].text;
      a.etag = now[0].etag;
      const ServerRecord theirs = ReadServerCard(a.text);
      if (SameContent(theirs.record, a.record)) return Status::Ok();
      Action copy{Action::kSend, {}, {}, {}, WithConflictKeyword(a.record), 0, a.name, true};
      report_.conflicts.push_back(a.name);
      a.record.clear();
      copy.record.replace(l::kModified.offset, l::kModified.width,
                          stamps_.TakeAtOrAfter(clock_.Now()));
      if (Status s = Send(copy); !s.ok()) return s;
      extra_.push_back(std::move(copy));
      return Status::Ok();
    }
    report_.skipped.push_back(a.name + " could not be sent: a card of that name is on the server");
    return Status::Ok();
  }
  a.etag = put.value().etag;
  a.text = std::move(text);
  a.sent = true;
  // Kept as the server lists it: a path from the root.
  if (auto url = ResolveUrl(collection_, a.href); url.ok()) {
    if (auto parts = SplitUrl(url.value()); parts.ok()) a.href = parts.value().path;
  }
  return Status::Ok();
}

Status SyncRun::WriteServer() {
  std::size_t total = 0, done = 0;
  for (const Action& a : actions_)
    total += a.kind == Action::kSend || a.kind == Action::kDeleteThere;
  for (Action& a : actions_) {
    if (a.kind == Action::kSend) {
      if (a.add_here) {
        a.record.replace(l::kModified.offset, l::kModified.width,
                         stamps_.TakeAtOrAfter(clock_.Now()));
      }
      Tell("Sending", ++done, total);
      if (Status s = Send(a); !s.ok()) return s;
    } else if (a.kind == Action::kDeleteThere) {
      Tell("Sending", ++done, total);
      auto gone = client_.Delete(collection_, a.href, a.etag);
      if (!gone.ok()) return gone.status();
      if (!gone.value().conflict) continue;
      // Changed there meanwhile: the change wins, the card comes back here.
      std::vector<ServerCard> now = {{a.href, {}, {}}};
      std::vector<std::string> skipped;
      if (Status s = client_.Fetch(collection_, now, skipped); !s.ok()) return s;
      if (now[0].text.empty()) continue;
      a = {Action::kTake, a.href, now[0].etag, now[0].text, {}, 0, a.name};
    }
  }
  for (Action& copy : extra_) actions_.push_back(std::move(copy));
  extra_.clear();
  return Status::Ok();
}

Status SyncRun::WriteHere() {
  LocalDateTime cursor = clock_.Now();
  for (Action& a : actions_) {
    switch (a.kind) {
      case Action::kSend: {
        if (!a.sent) break;  // named in skipped
        if (a.add_here) {
          merge_.Add(a.record);
          merge_.CollectKeyword(kConflictKeyword);
        }
        const std::string stamp = Trim(a.record.substr(l::kModified.offset, l::kModified.width));
        Keep({a.href, a.etag, ReadServerCard(a.text).uid, stamp, RecordSum(a.record), a.text});
        ++report_.sent;
        break;
      }
      case Action::kTake: {
        ServerRecord theirs = ReadServerCard(a.text);
        std::string record = std::move(theirs.record);
        if (a.local != 0 && SameContent(merge_.Record(a.local), record)) {
          record = merge_.Record(a.local);
        } else {
          record.replace(l::kModified.offset, l::kModified.width, stamps_.TakeBackFrom(cursor));
          if (a.local != 0) {
            merge_.Replace(a.local, record);
          } else {
            merge_.Add(record);
          }
          for (const l::Span slot : {l::kKW1, l::kKW2, l::kKW3}) {
            merge_.CollectKeyword(std::string_view(record).substr(slot.offset, slot.width));
          }
          ++report_.received;
        }
        const std::string stamp = Trim(record.substr(l::kModified.offset, l::kModified.width));
        Keep({a.href, a.etag, theirs.uid, stamp, RecordSum(record), a.text});
        break;
      }
      case Action::kDeleteHere:
        merge_.Remove(a.local);
        ++report_.deleted_here;
        break;
      case Action::kDeleteThere:
        ++report_.deleted_there;
        break;
    }
  }
  for (const SyncedCard& card : kept_) {
    if (!StorableField(card.href) || !StorableField(card.etag) || !StorableField(card.uid)) {
      return Status::Error(kSyncError, "The server sent a name or tag with a line break or tab (" +
                                           card.href.substr(0, 80) + "); nothing was changed here");
    }
  }
  SyncState next;
  next.collection = collection_;
  next.token = complete_ ? token_ : saved_.token;
  next.cards = std::move(kept_);
  StagedRewrite state_file, journal;
  const RewriteFaultHook* fault = &state_.write_fault;
  if (Status s = state_file.Stage(state_.DataFile(kSyncStateName), next.Serialise(), *fault);
      !s.ok())
    return s;
  if (Status s = journal.Stage(state_.DataFile(kStampJournalName), std::string_view(), *fault);
      !s.ok())
    return s;
  merge_.CommitAlso(state_file);
  merge_.CommitAlso(journal);
  const MergeOutcome outcome = merge_.Commit();
  if (!outcome.ok()) return outcome.written.status;
  return Status::Ok();
}

Result<SyncReport> SyncRun::Run() {
  if (Status s = CheckWritable(state_); !s.ok()) return s;
  if (Status s = config_.CheckUrl(); !s.ok()) return s;
  auto merge = DataSetMerge::Open(state_);
  if (!merge.ok()) return merge.status();
  merge_ = std::move(merge.value());
  auto saved = SyncState::Read(state_);
  if (!saved.ok()) return saved.status();
  saved_ = std::move(saved.value());
  auto stamps = StampSet::Read(state_);
  if (!stamps.ok()) return stamps.status();
  stamps_ = std::move(stamps.value());
  by_stamp_.reserve(merge_.count());
  for (std::size_t n = merge_.count(); n >= 1; --n) by_stamp_[LocalStamp(n)] = n;
  claimed_.assign(merge_.count(), false);

  Tell("Finding the address book", 0, 0);
  auto collection = client_.Discover(config_.url, config_.addressbook);
  if (!collection.ok()) return collection.status();
  collection_ = collection.value();
  if (saved_.collection != collection_) {
    // Another address book: nothing known of it, so nothing reads as
    // deleted; records and cards are paired by UID and content.
    saved_.cards.clear();
    saved_.token.clear();
  }
  Tell("Listing changes", 0, 0);
  auto listing = client_.List(collection_, saved_.token);
  if (!listing.ok()) return listing.status();
  token_ = listing.value().sync_token;
  if (Status s = Plan(listing.value()); !s.ok()) return s;
  if (Status s = CheckPlan(); !s.ok()) return s;
  for (const Action& a : actions_) {
    if (a.kind == Action::kTake) {
      if (ServerRecord theirs = ReadServerCard(a.text); theirs.unmapped) {
        report_.kept_on_server.push_back(theirs.name);
      }
    }
    static constexpr const char* kVerb[] = {"Send", "Delete on the server", "Take", "Delete here"};
    report_.actions.push_back(std::string(kVerb[a.kind]) + ": " + a.name);
  }
  if (options_.dry_run) {
    for (const Action& a : actions_) {
      report_.sent += a.kind == Action::kSend;
      report_.received += a.kind == Action::kTake;
      report_.deleted_here += a.kind == Action::kDeleteHere;
      report_.deleted_there += a.kind == Action::kDeleteThere;
    }
    report_.requests = client_.requests();
    return report_;
  }
  if (Status s = WriteServer(); !s.ok()) return s;
  if (Status s = WriteHere(); !s.ok()) return s;
  report_.requests = client_.requests();
  return report_;
}

}  // namespace

Result<SyncReport> CarddavSync::Run(const SyncOptions& options) {
  SyncRun run(state_, http_, config_, clock_, observer_, options);
  return run.Run();
}

std::vector<std::string> ReportLines(const SyncReport& report, bool dry_run) {
  std::vector<std::string> lines;
  const std::string would = dry_run ? "would be " : "";
  lines.push_back("Cards " + would + "sent to the server: " + Thousands(report.sent));
  lines.push_back("Records " + would + "received here: " + Thousands(report.received));
  lines.push_back("Records " + would + "deleted here: " + Thousands(report.deleted_here));
  lines.push_back("Cards " + would + "deleted on the server: " + Thousands(report.deleted_there));
  lines.push_back("Conflicts " + std::string(dry_run ? "that would be " : "") +
                  "kept as two records: " + Thousands(report.conflicts.size()));
  for (const std::string& name : report.conflicts) lines.push_back("  Conflict: " + name);
  if (!report.kept_on_server.empty()) {
    lines.push_back("Cards with values only the server shows (kept there untouched): " +
                    Thousands(report.kept_on_server.size()));
    for (std::size_t i = 0; i < report.kept_on_server.size() && i < 20; ++i) {
      lines.push_back("  " + report.kept_on_server[i]);
    }
  }
  for (const std::string& what : report.skipped) lines.push_back("Not synced: " + what);
  if (dry_run) {
    for (const std::string& action : report.actions) lines.push_back("  " + action);
  }
  return lines;
}

}  // namespace tabrel
