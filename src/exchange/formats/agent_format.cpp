#include "exchange/formats/agent_format.h"

#include "base/text.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;

constexpr std::string_view kName = "Name:";
constexpr std::string_view kAddresses = "Addresses:";
constexpr std::string_view kComments = "Comments:";
constexpr std::string_view kFieldText = "Field-Text:";

std::string AddressOf(std::string_view value) {
  const std::size_t open = value.rfind('<');
  if (open != std::string_view::npos) {
    const std::size_t close = value.find('>', open);
    if (close != std::string_view::npos) {
      return Trim(value.substr(open + 1, close - open - 1));
    }
  }
  const std::string_view trimmed = TrimView(value);
  return trimmed.find('@') == std::string_view::npos ? std::string() : std::string(trimmed);
}

std::string_view Field(std::string_view record, l::Span span) {
  return TrimView(record.substr(span.offset, span.width));
}

}  // namespace

AgentReader::AgentReader(std::string_view text) : lines_(text) {
  LineReader probe(text);
  std::string_view line;
  while (probe.Next(line)) {
    if (TrimView(line).empty()) continue;
    valid_ = line.starts_with(kName);
    break;
  }
}

bool AgentReader::Next(AgentEntry& entry) {
  entry = AgentEntry{};
  bool open = false;
  std::string_view line;
  for (;;) {
    if (!lines_.Next(line)) return open;
    if (line.starts_with(kName)) {
      if (open) {  // the entry before had no "Field-Text:"
        lines_.PutBack();
        return true;
      }
      open = true;
      entry.name = Trim(line.substr(kName.size()));
    } else if (!open) {
      continue;  // nothing belongs to no entry
    } else if (line.starts_with(kAddresses)) {
      entry.address = AddressOf(line.substr(kAddresses.size()));
    } else if (line.starts_with(kComments)) {
      std::string_view comments = line.substr(kComments.size());
      if (comments.starts_with(' ')) comments.remove_prefix(1);
      entry.comments = comments;
    } else if (line.starts_with(kFieldText)) {
      return true;
    }
  }
}

void ContactFromAgent(const AgentEntry& entry, RecordBuilder& out) {
  out.Clear();
  const std::string_view name = TrimView(entry.name);
  const std::size_t blank = name.find(' ');
  out.Set(RecordField::kFirstName, name.substr(0, blank));
  if (blank != std::string_view::npos) out.Set(RecordField::kLastName, name.substr(blank + 1));
  out.Set(RecordField::kEMail, entry.address);
  out.Set(RecordField::kNotes, entry.comments);
}

void AppendAgentEntry(std::string_view record, std::string& out) {
  const std::string_view first = Field(record, l::kFirstName);
  const std::string_view last = Field(record, l::kLastName);
  out.append("Name: ").append(first).append(" ").append(last).append("\r\n");
  out.append("Addresses: \"").append(first).append(" ").append(last).append("\"<");
  out.append(Field(record, l::kEMail)).append(">\r\nComments: ");
  const std::string_view notes = Field(record, l::kNotes);
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const char c = notes[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n') ++i;
      out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  out.append("\r\nField-Text: \r\n\r\n");
}

}  // namespace tabrel
