#include "cli/cli_dialogs.h"

#include <charconv>
#include <ctime>

namespace tabrel::cli {

std::string WithLineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

MessageAnswer CliDialogs::Show(const Message& message) {
  err_ << WithLineFeeds(message.text) << "\n";
  switch (message.buttons) {
    case MessageButtons::kOk:
      return MessageAnswer::kOk;
    case MessageButtons::kOkCancel:
      if (answer_ == MessageAnswer::kYes) return MessageAnswer::kOk;
      refused_ = true;
      return MessageAnswer::kCancel;
    case MessageButtons::kYesNo:
      if (answer_ == MessageAnswer::kYes || answer_ == MessageAnswer::kNo) return *answer_;
      refused_ = true;
      return MessageAnswer::kNo;
    case MessageButtons::kYesNoCancel:
      if (answer_) return *answer_;
      refused_ = true;
      return MessageAnswer::kCancel;
  }
  return MessageAnswer::kCancel;
}

std::optional<std::string> CliDialogs::Input(const std::string&, const std::string&,
                                             const std::string&) {
  return std::nullopt;
}

CliClock::CliClock(const char* source_date_epoch) {
  if (source_date_epoch == nullptr) return;
  const std::string_view text(source_date_epoch);
  long long seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error == std::errc() && end == text.data() + text.size() && !text.empty()) fixed_ = seconds;
}

LocalDateTime CliClock::Now() {
  const std::time_t moment = fixed_ ? static_cast<std::time_t>(*fixed_) : std::time(nullptr);
  std::tm parts{};
  if (fixed_) {
    gmtime_r(&moment, &parts);
  } else {
    localtime_r(&moment, &parts);
  }
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          static_cast<double>(parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec)};
}

}  // namespace tabrel::cli
