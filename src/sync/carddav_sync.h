#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "platform/clock.h"
#include "store/app_state.h"
#include "sync/http_client.h"
#include "sync/sync_config.h"

namespace tabrel {

struct SyncOptions {
  bool dry_run = false;  // decide and list, change nothing on either side
  bool allow_mass_delete = false;
};

// What a sync did (or, in a dry run, would do).
struct SyncReport {
  std::size_t sent = 0;                     // cards written to the server, new or changed
  std::size_t received = 0;                 // records added or changed here
  std::size_t deleted_here = 0;             // records deleted here because their card went
  std::size_t deleted_there = 0;            // cards deleted on the server because their record went
  std::vector<std::string> conflicts;       // names of records kept twice
  std::vector<std::string> kept_on_server;  // names of cards with values a record cannot show
  std::vector<std::string> skipped;         // what could not be fetched or sent, and why
  std::vector<std::string> actions;         // "Send: Anna Berg", one per change, in order
  std::size_t requests = 0;
};

// The lines a front end shows for a report: the counts, then the names.
std::vector<std::string> ReportLines(const SyncReport& report, bool dry_run);

// Told of progress between requests; asked whether to go on.
class SyncObserver {
 public:
  virtual ~SyncObserver() = default;
  virtual void Progress(std::string_view step, std::size_t done, std::size_t total) = 0;
  virtual bool Cancelled() = 0;
};

// Error numbers of a sync that stopped before writing anything here.
inline constexpr int kSyncMassDelete = 19;

// One two-way sync of the data set of `state` (whose lock the caller
// holds) with the address book `config` names, over `http`:
//
// - The server's changes since the last sync (sync-collection, or every
//   etag against the kept state) and the records changed here (their
//   checksum, their stamp followed through the stamp journal) are paired.
// - Changed on one side: the other side takes it. Changed on both to
//   different content: both kept, the server's as the record and the local
//   one as a record with the keyword "Conflict", sent as a new card.
//   Deleted on one side and changed on the other: the change wins.
// - A change sent to a card that came from the server starts from that
//   card's text (CardForRecord), so what a record cannot hold stays there.
// - More than half of either side to be deleted (and more than five) is
//   refused unless allowed; going past the record limit is refused too.
//   Both are decided before anything is written.
// - The server is written first; then tabrel.dat, keyword.dat, the sync
//   state and the emptied stamp journal change in one group commit. A sync
//   stopped between the two (cancelled, failed, killed) changes nothing
//   here, and the next one recognises what was sent by UID and content.
class CarddavSync {
 public:
  CarddavSync(AppState& state, HttpClient& http, const SyncConfig& config, Clock& clock,
              SyncObserver* observer = nullptr)
      : state_(state), http_(http), config_(config), clock_(clock), observer_(observer) {}

  Result<SyncReport> Run(const SyncOptions& options);

 private:
  AppState& state_;
  HttpClient& http_;
  const SyncConfig& config_;
  Clock& clock_;
  SyncObserver* observer_;
};

}  // namespace tabrel
