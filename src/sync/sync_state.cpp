#include "sync/sync_state.h"

#include <unistd.h>

#include <charconv>

#include "store/file_reader.h"

namespace tabrel {
namespace {

constexpr std::string_view kHeader = "tabrel-carddav-state 1\n";

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  for (std::size_t at = 0;;) {
    const std::size_t tab = line.find('\t', at);
    out.push_back(line.substr(at, tab - at));
    if (tab == std::string_view::npos) return out;
    at = tab + 1;
  }
}

}  // namespace

std::uint64_t RecordSum(std::string_view record) {
  std::uint64_t sum = 14695981039346656037ull;
  for (const char c : record) {
    sum ^= static_cast<unsigned char>(c);
    sum *= 1099511628211ull;
  }
  return sum;
}

bool StorableField(std::string_view value) {
  return value.find_first_of(std::string_view("\t\r\n\0", 4)) == std::string_view::npos;
}

Result<SyncState> SyncState::Read(const AppState& state) {
  const std::string path = state.DataFile(kSyncStateName);
  if (::access(path.c_str(), F_OK) != 0) return SyncState{};
  auto opened = FileReader::Open(path);
  if (!opened.ok()) return opened.status();
  auto all = opened.value().ReadRecords(1);
  if (!all.ok()) return all.status();
  return Parse(all.value(), path);
}

Result<SyncState> SyncState::Parse(std::string_view text, const std::string& path) {
  const auto damaged = [&path](const char* what) {
    return Status::Error(error_number::kDeviceIo,
                         "The sync state " + path + " is damaged (" + what +
                             "); move it away to sync afresh, nothing is lost");
  };
  if (!text.starts_with(kHeader)) return damaged("unknown header");
  text.remove_prefix(kHeader.size());
  SyncState state;
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    const std::size_t blank = line.find(' ');
    const std::string_view key = line.substr(0, blank);
    const std::string_view rest = blank == std::string_view::npos ? "" : line.substr(blank + 1);
    if (key == "collection") {
      state.collection = rest;
    } else if (key == "token") {
      state.token = rest;
    } else if (key == "card") {
      const std::vector<std::string_view> f = Fields(rest);
      if (f.size() != 7) return damaged("a card line has the wrong number of fields");
      std::size_t length = 0;
      SyncedCard card;
      if (std::from_chars(f[0].data(), f[0].data() + f[0].size(), length).ec != std::errc() ||
          std::from_chars(f[1].data(), f[1].data() + f[1].size(), card.sum, 16).ec != std::errc() ||
          length > text.size()) {
        return damaged("a card's length or checksum");
      }
      card.href = f[2];
      card.etag = f[3];
      card.uid = f[4];
      card.stamp = f[5];
      card.text = text.substr(0, length);
      text.remove_prefix(length);
      if (!text.starts_with('\n')) return damaged("a card's text is cut");
      text.remove_prefix(1);
      state.cards.push_back(std::move(card));
    } else if (!line.empty()) {
      return damaged("an unknown line");
    }
  }
  return state;
}

std::string SyncState::Serialise() const {
  std::string out(kHeader);
  std::size_t size = out.size();
  for (const SyncedCard& card : cards) size += card.text.size() + card.href.size() + 128;
  out.reserve(size);
  out += "collection " + collection + "\ntoken " + token + "\n";
  char sum[17];
  for (const SyncedCard& card : cards) {
    const auto end = std::to_chars(sum, sum + sizeof sum, card.sum, 16).ptr;
    out += "card ";
    out += std::to_string(card.text.size());
    out += '\t';
    out.append(sum, end);
    for (const std::string* field : {&card.href, &card.etag, &card.uid, &card.stamp}) {
      out += '\t';
      out += *field;
    }
    out += "\t\n";
    out += card.text;
    out += '\n';
  }
  return out;
}

}  // namespace tabrel
