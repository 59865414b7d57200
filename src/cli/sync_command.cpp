#include "cli/sync_command.h"

#include "cli/write_lock.h"
#include "sync/sync_job.h"

namespace tabrel::cli {

int Sync(AppState& state, const Args& args, Environment& env, Clock& clock) {
  auto lease = AcquireForWriting(state.data_path, env.err);
  if (!lease.ok()) {
    env.err << lease.status().description() << "\n";
    return kExitFailed;
  }
  const SyncOptions options{args.dry_run, args.allow_mass_delete};
  auto report = RunSyncJob(state, clock, options, nullptr, nullptr);
  if (!report.ok()) {
    env.err << report.status().description() << ".\n";
    if (report.status().number() == kSyncMassDelete) {
      env.err << "Give --allow-mass-delete if that is what you want.\n";
    }
    return kExitFailed;
  }
  for (const std::string& line : ReportLines(report.value(), args.dry_run)) env.out << line << "\n";
  return kExitDone;
}

}  // namespace tabrel::cli
