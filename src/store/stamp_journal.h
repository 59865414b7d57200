#pragma once

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/result.h"
#include "base/status.h"
#include "store/app_state.h"

namespace tabrel {

inline constexpr const char* kStampJournalName = "stamps.jnl";
// The files whose presence says the data set syncs with a server (the sync
// state and the server's settings, see sync/): only then is the journal
// kept.
inline constexpr const char* kSyncedMarkName = "carddav.state";
inline constexpr const char* kSyncSetupName = "carddav.ini";

// The record stamps that changed since the last server sync, kept so that a
// record edited here (which takes a new stamp at every save) is still known
// as the same card. One line per change, "old -> new" or "old -> deleted",
// stamps trimmed.
//
// An entry is appended and flushed before the record write it announces:
// a crash between the two leaves an entry whose new stamp never appeared,
// which Resolve ignores. The sync clears the journal in the same group
// commit that writes its own records.
class StampJournal {
 public:
  // Appends "old -> new" (or "-> deleted" when `new_stamp` is empty) to the
  // journal of the data set of `state`. Does nothing when `old_stamp` is
  // blank or unsaved, or equals `new_stamp`, or the data set is not set
  // up to sync.
  static Status Note(const AppState& state, std::string_view old_stamp, std::string_view new_stamp);
  struct Change {
    std::string_view from, to;
  };
  // The same for several, in one write and one flush.
  static Status Note(const AppState& state, std::span<const Change> changes);

  // The journal of the data set (empty when there is none).
  static Result<StampJournal> Read(const AppState& state);
  static StampJournal Parse(std::string_view text);

  // The stamp `stamp` became by following the chains of entries, keeping
  // only a step whose end `exists` says is held by a record; `stamp` itself
  // when it still exists; empty when it went away.
  template <typename Exists>
  std::string Resolve(std::string_view stamp, const Exists& exists) const {
    std::string at(stamp);
    for (std::size_t steps = 0; steps <= next_.size(); ++steps) {
      if (exists(at)) return at;
      const auto found = next_.find(at);
      if (found == next_.end()) return {};
      std::string step;
      // A later entry for the same stamp was a retry after a failed write.
      for (auto it = found->second.rbegin(); it != found->second.rend(); ++it) {
        if (Reaches(*it, exists, steps)) {
          step = *it;
          break;
        }
      }
      if (step.empty()) return {};
      at = step;
    }
    return {};
  }

  bool empty() const { return next_.empty(); }
  // Every stamp an entry starts from.
  std::vector<std::string> Sources() const {
    std::vector<std::string> out;
    for (const auto& [from, to] : next_) out.push_back(from);
    return out;
  }

 private:
  template <typename Exists>
  bool Reaches(const std::string& from, const Exists& exists, std::size_t depth) const {
    if (exists(from)) return true;
    if (depth > next_.size()) return false;
    const auto found = next_.find(from);
    if (found == next_.end()) return false;
    for (const std::string& to : found->second) {
      if (Reaches(to, exists, depth + 1)) return true;
    }
    return false;
  }

  std::unordered_map<std::string, std::vector<std::string>> next_;
};

}  // namespace tabrel
