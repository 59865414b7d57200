#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"

namespace tabrel {

// Steps of a whole-file rewrite, in order.
enum class RewriteStep { kCreate, kWrite, kFlush, kClose, kRename };

// Called before each step; returning true makes that step fail as an I/O
// error would. Tests use it to prove that a failure leaves the old file whole.
using RewriteFaultHook = std::function<bool(RewriteStep)>;

// Replaces the file at `path` by `content`: writes `temp_name` in the same
// folder (a leftover of that name is discarded first), flushes it to disk and
// renames it over `path`. On any failure the temporary file is removed and
// `path` is as it was: the old file or the new one, never a mix.
Status AtomicRewrite(const std::string& path, std::string_view content,
                     const std::string& temp_name, const RewriteFaultHook& fault = nullptr);
// The same, with the new content given as pieces written one after the other,
// so that callers that reorder or drop records need not copy them first.
Status AtomicRewrite(const std::string& path, std::span<const std::string_view> pieces,
                     const std::string& temp_name, const RewriteFaultHook& fault = nullptr);

// A rewrite done in two halves, so that several files can be written first
// and then all renamed: a full disk or a write error then leaves every old
// file in place. Destroying an uncommitted rewrite removes its temporary file.
class StagedRewrite {
 public:
  StagedRewrite() = default;
  StagedRewrite(const StagedRewrite&) = delete;
  StagedRewrite& operator=(const StagedRewrite&) = delete;
  ~StagedRewrite();

  // Writes and flushes the temporary file `temp_name` beside `path`.
  Status Stage(const std::string& path, std::string_view content, const std::string& temp_name,
               const RewriteFaultHook& fault = nullptr);
  Status Stage(const std::string& path, std::span<const std::string_view> pieces,
               const std::string& temp_name, const RewriteFaultHook& fault = nullptr);
  // Renames the staged file over `path`.
  Status Commit();

 private:
  std::string path_;
  std::string temp_;
  RewriteFaultHook fault_;
  bool staged_ = false;
};

// Folder part of a path, with its trailing "/" ("" when there is none).
std::string FolderOf(const std::string& path);

}  // namespace tabrel
