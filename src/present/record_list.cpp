#include "present/record_list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <unordered_set>

#include "base/codec.h"
#include "base/text.h"
#include "store/contact_record.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

namespace l = layout;

std::string_view Field(std::string_view record, l::Span span) {
  return record.substr(span.offset, span.width);
}

// The stamps listed in tabrel.tmp, one a line. A missing file lists none.
std::string ReadSearchList(const AppState& state) {
  const RecordFile file(state.ProgramFile(kSearchListName), 1);
  auto bytes = file.ReadRaw();
  return bytes.ok() ? std::move(bytes.value()) : std::string();
}

std::unordered_set<std::string_view> SplitLines(std::string_view text) {
  std::unordered_set<std::string_view> lines;
  // A list of every stamp in the largest file would rehash a dozen times.
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.insert(line);
    start = end + 1;
  }
  return lines;
}

// `field` without its trailing blanks. Most of a record is padding, so it is
// skipped eight bytes at a time.
std::string_view WithoutPadding(std::string_view field) {
  constexpr std::uint64_t kEightBlanks = 0x2020202020202020ULL;
  std::size_t used = field.size();
  while (used >= 8) {
    std::uint64_t eight;
    std::memcpy(&eight, field.data() + used - 8, 8);
    if (eight != kEightBlanks) break;
    used -= 8;
  }
  while (used > 0 && field[used - 1] == ' ') --used;
  return field.substr(0, used);
}

bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

// The fields of columns 1 to kIdColumn, as they are stored.
constexpr l::Span kFieldColumns[] = {l::kPhone, l::kExt,   l::kFax, l::kAdd1,    l::kAdd2,
                                     l::kCity,  l::kState, l::kZip, l::kCountry, l::kModified};
static_assert(std::size(kFieldColumns) == kIdColumn);

// Appends a field as a cell's text. A tab, or any other control character,
// would end the cell early and shift the ID column: each shows as a blank.
void AppendCell(std::string& row, std::string_view field) {
  const std::size_t start = row.size();
  row.append(field);
  for (std::size_t i = start; i < row.size(); ++i) {
    if (IsControl(static_cast<unsigned char>(row[i]))) row[i] = ' ';
  }
}

bool PassesFilter(char rec_type, std::int16_t filter) {
  if (filter == kFilterPersonalOnly && (rec_type == '1' || rec_type == '2')) return false;
  if (filter == kFilterPublicOnly && (rec_type == '3' || rec_type == '4')) return false;
  return true;
}

bool IsListedType(char type) {
  return type == '1' || type == '2' || type == '3' || type == '4';
}

// A row keeps of its record what the list shows: the fields up to Country,
// then the stamp.
constexpr std::size_t kShownLead = l::kCountry.offset + l::kCountry.width;
constexpr std::size_t kShownLength = kShownLead + l::kModified.width;

// `span` of a record, or of the part a row keeps, with the stamp at `stamp_at`.
std::string_view FieldAt(std::string_view record, l::Span span, std::size_t stamp_at) {
  return record.substr(span.offset == l::kModified.offset ? stamp_at : span.offset, span.width);
}

bool BuildCells(std::string_view record, std::size_t stamp_at, std::string& row) {
  const char type = record[l::kRecType.offset];
  row.clear();
  if (type == '1' || type == '3') {
    AppendCell(row, TrimView(Field(record, l::kLastName)));
    row.append(", ");
    AppendCell(row, TrimView(Field(record, l::kFirstName)));
  } else if (type == '2' || type == '4') {
    AppendCell(row, Field(record, l::kOrg));
  } else {
    return false;
  }
  for (const l::Span& span : kFieldColumns) {
    row.push_back('\t');
    AppendCell(row, FieldAt(record, span, stamp_at));
  }
  return true;
}

// The rows of one fill, each kept as the shown part of its record in
// `records`: copied as the list was filled, so that the list shows what the
// file held then, whatever another program does to the file later.
class RecordRows : public RowSource {
 public:
  void MakeRow(std::string_view shown, std::string& text) const override {
    BuildCells(shown, kShownLead, text);
  }

  std::optional<std::string_view> CellIn(std::string_view record, int col) const override {
    if (col < 0 || col > kIdColumn) return std::nullopt;
    std::string_view field;
    if (col == 0) {
      // A person's Name cell joins two fields.
      const char type = record[l::kRecType.offset];
      if (type != '2' && type != '4') return std::nullopt;
      field = Field(record, l::kOrg);
    } else {
      field = FieldAt(record, kFieldColumns[col - 1], kShownLead);
    }
    for (char c : field) {
      if (IsControl(static_cast<unsigned char>(c))) return std::nullopt;
    }
    return field;
  }

  ReadBuffer records;
};

}  // namespace

const std::string_view kMainGridFormat =
    "<Name                                                          |<Phone                 |<Ext  "
    " |<Fax                   |<Address 1                                  |<Address 2         "
    "                              |<City                          |<State|<Zip              "
    "|<Country |<ID                                  ";

bool BuildRowText(std::string_view record, std::string& row) {
  return BuildCells(record, l::kModified.offset, row);
}

WordMatcher::WordMatcher(std::string word)
    : word_(std::move(word)), word_has_blank_(word_.find(' ') != std::string::npos) {
  text_.reserve(1200);
  for (int c = 0; c < 256; ++c) {
    upper_[static_cast<std::size_t>(c)] =
        static_cast<char>(UpperCp1252(static_cast<unsigned char>(c)));
  }
}

void WordMatcher::AppendUpper(std::string_view field) {
  // Blanks stay blanks in capitals, so the padding is filled, not converted.
  const std::size_t used = WithoutPadding(field).size();
  const std::size_t start = text_.size();
  text_.resize(start + field.size(), ' ');
  char* out = text_.data() + start;
  for (std::size_t i = 0; i < used; ++i) out[i] = upper_[static_cast<unsigned char>(field[i])];
}

bool WordMatcher::MatchesInOneField(std::string_view record) {
  // The fields of the joined texts, in any order. Upper-casing makes no
  // blank and removes none, so an occurrence of a blank-free word lies
  // within one field's text, before its padding.
  static constexpr l::Span kStampDate{l::kModified.offset, 10};
  static constexpr l::Span kSearched[] = {
      l::kLastName, l::kFirstName, l::kOrg,   l::kEMail, l::kAdd1, l::kAdd2,  l::kCity,
      l::kState,    l::kCountry,   l::kNotes, l::kPhone, l::kFax,  kStampDate};
  // Sized once, so that no field pays for a resize.
  if (text_.size() < l::kNotes.width) text_.resize(l::kNotes.width);
  char* const buffer = text_.data();
  const char* const upper = upper_.data();
  for (const l::Span& span : kSearched) {
    const std::string_view field = WithoutPadding(Field(record, span));
    if (field.size() < word_.size()) continue;
    for (std::size_t i = 0; i < field.size(); ++i) {
      buffer[i] = upper[static_cast<unsigned char>(field[i])];
    }
    if (std::string_view(buffer, field.size()).find(word_) != std::string_view::npos) return true;
  }
  return false;
}

bool WordMatcher::Matches(std::string_view record) {
  if (word_.empty()) return true;
  if (!word_has_blank_) return MatchesInOneField(record);
  static constexpr l::Span kGroups[][3] = {
      {l::kLastName, l::kFirstName, l::kOrg}, {l::kEMail, l::kAdd1, l::kAdd2},
      {l::kCity, l::kState, l::kCountry},     {l::kNotes, {0, 0}, {0, 0}},
      {l::kPhone, l::kFax, {0, 0}},           {{l::kModified.offset, 10}, {0, 0}, {0, 0}},
  };
  for (const auto& group : kGroups) {
    text_.clear();
    for (const l::Span& span : group) {
      if (span.width == 0) break;
      if (!text_.empty()) text_.push_back(' ');
      AppendUpper(Field(record, span));
    }
    if (text_.find(word_) != std::string::npos) return true;
  }
  return false;
}

namespace {

// Which records a selection lists: the selection's test, the public/personal
// filter and the four listed types.
class Selector {
 public:
  Selector(const AppState& state, std::string_view selection)
      : selection_(selection), filter_(state.filter) {
    if (selection == kAllRecords) {
      kind_ = Kind::kAll;
    } else if (selection.empty()) {
      kind_ = Kind::kNoKeywords;
    } else if (selection.starts_with(kWordSearchPrefix)) {
      kind_ = Kind::kWord;
    } else {
      kind_ = Kind::kKeyword;
    }
    restricted_ = kind_ == Kind::kWord && state.list_mode == kListNormal;
    if (restricted_) {
      search_list_ = ReadSearchList(state);
      listed_ = SplitLines(search_list_);
    }
    if (kind_ == Kind::kWord) matcher_.emplace(UpperCp1252(selection.substr(2)));
  }
  Selector(const Selector&) = delete;
  Selector& operator=(const Selector&) = delete;

  bool Selects(std::string_view record) {
    bool selected = false;
    switch (kind_) {
      case Kind::kAll:
        selected = true;
        break;
      case Kind::kNoKeywords:
        selected = IsBlank(Field(record, l::kKW1)) && IsBlank(Field(record, l::kKW2)) &&
                   IsBlank(Field(record, l::kKW3));
        break;
      case Kind::kKeyword:
        selected = Field(record, l::kKW1) == selection_ || Field(record, l::kKW2) == selection_ ||
                   Field(record, l::kKW3) == selection_;
        break;
      case Kind::kWord:
        // The word test first: a search lists every row shown, often the
        // whole file, and the word turns most records away, so few stamps
        // need looking up.
        selected = matcher_->Matches(record) &&
                   (!restricted_ || listed_.contains(Field(record, l::kModified)));
        break;
    }
    const char type = record[l::kRecType.offset];
    return selected && PassesFilter(type, filter_) && IsListedType(type);
  }

 private:
  enum class Kind { kAll, kNoKeywords, kKeyword, kWord } kind_;
  std::string_view selection_;
  std::int16_t filter_;
  bool restricted_ = false;
  std::string search_list_;
  std::unordered_set<std::string_view> listed_;  // views into search_list_
  std::optional<WordMatcher> matcher_;
};

}  // namespace

Result<std::vector<std::string_view>> SelectedRecords(const AppState& state,
                                                      std::string_view selection,
                                                      ReadBuffer& buffer) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  auto all = file.value().ReadRecords(l::kContactRecordLength, buffer);
  if (!all.ok()) return all.status();
  Selector selector(state, selection);
  std::vector<std::string_view> records;
  records.reserve(all.value().size() / l::kContactRecordLength);
  for (std::size_t at = 0; at < all.value().size(); at += l::kContactRecordLength) {
    const std::string_view record = all.value().substr(at, l::kContactRecordLength);
    if (selector.Selects(record)) records.push_back(record);
  }
  return records;
}

Status VisitSelectedRecords(const AppState& state, std::string_view selection,
                            const SelectedRun& visit) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  Selector selector(state, selection);
  std::vector<std::string_view> selected;
  selected.reserve(FileReader::kScanRecords);
  return file.value().ScanRecords(l::kContactRecordLength, [&](std::string_view run, std::size_t) {
    selected.clear();
    for (std::size_t at = 0; at < run.size(); at += l::kContactRecordLength) {
      const std::string_view record = run.substr(at, l::kContactRecordLength);
      if (selector.Selects(record)) selected.push_back(record);
    }
    return selected.empty() || visit(selected);
  });
}

Result<int> AppendSelectedRows(Grid& grid, AppState& state, std::string_view selection,
                               const FillProgress& progress) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  const std::size_t count = file.value().size() / l::kContactRecordLength;
  if (progress.start) progress.start(static_cast<int>(count));
  Selector selector(state, selection);

  const auto rows = std::make_shared<RecordRows>();
  const std::shared_ptr<const RowSource> source = rows;
  // Touched only as rows are kept: a keyword's few rows take little.
  char* const kept = rows->records.Reserve(count * kShownLength);
  if (selection == kAllRecords) grid.ReserveRows(count);
  int added = 0;
  std::string last_record;
  auto visit = [&](std::string_view run, std::size_t first) {
    const std::size_t records = run.size() / l::kContactRecordLength;
    for (std::size_t i = 0; i < records; ++i) {
      if (progress.step) progress.step(static_cast<int>(first + i + 1));
      const std::string_view record =
          run.substr(i * l::kContactRecordLength, l::kContactRecordLength);
      if (!selector.Selects(record)) continue;
      const char type = record[l::kRecType.offset];
      char* const shown = kept + static_cast<std::size_t>(added) * kShownLength;
      std::memcpy(shown, record.data(), kShownLead);
      std::memcpy(shown + kShownLead, record.data() + l::kModified.offset, l::kModified.width);
      grid.AddItem(source, std::string_view(shown, kShownLength));
      grid.SetRowTag(grid.Rows() - 1, static_cast<std::uint32_t>(first + i + 1));
      grid.SetCellForeColorAt(grid.Rows() - 1, 0, (type == '3' || type == '4') ? kCyan : kWhite);
      ++added;
    }
    if (first + records == count && records > 0) {
      last_record.assign(run.substr((records - 1) * l::kContactRecordLength));
    }
    return true;
  };
  if (Status s = file.value().ScanRecords(l::kContactRecordLength, visit); !s.ok()) return s;
  if (count > 0) state.current_record = DecodeContact(last_record);
  if (added > 0) {
    grid.SetRow(grid.Rows() - 1);
    grid.SetCol(0);
  }
  return added;
}

}  // namespace tabrel
