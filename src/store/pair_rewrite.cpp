#include "store/pair_rewrite.h"

namespace tabrel {

PairOutcome RewritePair(const PairedFile& first, const PairedFile& second,
                        const RewriteFaultHook& fault) {
  StagedRewrite stage1;
  StagedRewrite stage2;
  if (Status s = stage1.Stage(first.path, first.pieces, first.temp_name, fault); !s.ok()) {
    return {s, true};
  }
  if (Status s = stage2.Stage(second.path, second.pieces, second.temp_name, fault); !s.ok()) {
    return {s, true};
  }
  if (Status s = stage1.Commit(); !s.ok()) return {s, true};
  Status s = stage2.Commit();
  if (s.ok()) return {};
  // The first file is new already: put its old content back so the pair is
  // not left half old, half new.
  Status undo = AtomicRewrite(first.path, first.old_content, first.temp_name);
  if (undo.ok()) return {s, true};
  return {
      Status::Error(s.number(),
                    s.description() + ". " + first.path + " holds its new content, " + second.path +
                        " its old one; putting the old content back failed: " + undo.description()),
      false};
}

}  // namespace tabrel
