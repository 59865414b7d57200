#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"
#include "store/atomic_file.h"

namespace tabrel {

// The report files of the program folder (tr_view.tmp, tr_list.doc,
// tr_list.htm): whole-file writes, reads and moves, each failure a Status
// that names the file.

inline constexpr const char* kPreviewFileName = "tr_view.tmp";
inline constexpr const char* kWordProcessorFileName = "tr_list.doc";
inline constexpr const char* kBrowserFileName = "tr_list.htm";

// Error number of a move onto a name that is taken.
inline constexpr int kFileAlreadyExists = 58;

// Replaces the file at `path` by `content`. The old file is removed first,
// so a failure leaves no file (never a half-written one) and says why.
// `fault` fails the kCreate, kWrite or kClose step.
Status WriteReportFile(const std::string& path, std::string_view content,
                       const RewriteFaultHook* fault = nullptr);
Result<std::string> ReadReportFile(const std::string& path);
// Removes the file; a missing file is no failure.
Status RemoveReportFile(const std::string& path);
// Renames `from` to `to`, copying across file systems. An existing `to` is
// never overwritten: that fails with kFileAlreadyExists and both stay.
Status MoveReportFile(const std::string& from, const std::string& to);
// Copies `from` over `to`.
Status CopyReportFile(const std::string& from, const std::string& to);
bool ReportFileExists(const std::string& path);

// Takes the next line off the front of `text` into `line`: a line ends at
// CR LF or at a CR of its own, while a line feed of its own belongs to the
// line. False, with `text` untouched, once `text` is empty; a file ending in
// a line end therefore has no empty last line.
bool NextReportLine(std::string_view& text, std::string_view& line);

}  // namespace tabrel
