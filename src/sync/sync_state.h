#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "store/app_state.h"
#include "store/stamp_journal.h"

namespace tabrel {

inline constexpr const char* kSyncStateName = kSyncedMarkName;

// One card as it stood at the end of the last sync.
struct SyncedCard {
  std::string href;
  std::string etag;
  std::string uid;
  std::string stamp;      // the local record's, trimmed
  std::uint64_t sum = 0;  // RecordSum of the record's 1047 bytes
  std::string text;       // the card as the server last sent it (or as we sent it)
};

// What a data set knows of the server after its last sync: a file of its
// own beside tabrel.dat, so the record files stay as every installation
// writes them.
//
//   tabrel-carddav-state 1
//   collection <url>
//   token <sync-token>
//   card <length of the card text> <sum in hex> <href> <etag> <uid> <stamp>
//   <the card text, exactly that many bytes>
//
// Fields are separated by one tab; none may hold a tab or a line break
// (the server's values are checked before they are kept).
struct SyncState {
  std::string collection;
  std::string token;
  std::vector<SyncedCard> cards;

  // The state of the data set of `state`; an empty one when there is none.
  static Result<SyncState> Read(const AppState& state);
  static Result<SyncState> Parse(std::string_view text, const std::string& path);
  std::string Serialise() const;
};

// The checksum the state keeps of a record (FNV-1a, 64 bits).
std::uint64_t RecordSum(std::string_view record);

// True when `value` can be kept in the state (no tab, CR, LF or NUL).
bool StorableField(std::string_view value);

}  // namespace tabrel
