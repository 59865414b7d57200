#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"

namespace tabrel::cli {

// The message boxes of the core, without a screen: every text goes to the
// error stream, and a question is answered as the command line said
// (--yes, say). Without an answer a question is refused: answered No or
// Cancel, whichever changes nothing, and remembered so that the command
// fails. Input boxes are cancelled: the command line gives names itself.
class CliDialogs : public Dialogs {
 public:
  // `err` must outlive the dialogs.
  CliDialogs(std::ostream& err, std::optional<MessageAnswer> answer) : err_(err), answer_(answer) {}

  MessageAnswer Show(const Message& message) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& default_answer) override;

  // True once a question was refused for want of an answer.
  bool refused() const { return refused_; }

 private:
  std::ostream& err_;
  std::optional<MessageAnswer> answer_;
  bool refused_ = false;
};

// The system clock. With SOURCE_DATE_EPOCH set (seconds since 1970, as
// reproducible builds use it) Now() is that moment, in UTC, so that dated
// output can be reproduced.
class CliClock : public Clock {
 public:
  explicit CliClock(const char* source_date_epoch);
  LocalDateTime Now() override;

 private:
  std::optional<long long> fixed_;
};

// `text` with CR LF and lone CRs made line feeds, as a terminal shows lines.
std::string WithLineFeeds(std::string_view text);

}  // namespace tabrel::cli
