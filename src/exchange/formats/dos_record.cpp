#include "exchange/formats/dos_record.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "store/layout.h"

namespace tabrel {
namespace {

namespace l = layout;
using l::Span;

// The fields both records have, stored span beside DOS span. Country and the
// notes follow rules of their own.
struct SharedField {
  Span stored;
  Span dos;
};
constexpr std::array<SharedField, 17> kShared = {{
    {l::kRecType, l::kDosRecType},
    {l::kLastName, l::kDosLastName},
    {l::kFirstName, l::kDosFirstName},
    {l::kOrg, l::kDosOrg},
    {l::kPhone, l::kDosPhone},
    {l::kExt, l::kDosExt},
    {l::kFax, l::kDosFax},
    {l::kEMail, l::kDosEMail},
    {l::kWeb, l::kDosWeb},
    {l::kAdd1, l::kDosAdd1},
    {l::kAdd2, l::kDosAdd2},
    {l::kCity, l::kDosCity},
    {l::kState, l::kDosState},
    {l::kZip, l::kDosZip},
    {l::kKW1, l::kDosKW1},
    {l::kKW2, l::kDosKW2},
    {l::kKW3, l::kDosKW3},
}};

constexpr std::size_t kNoteLine = l::kDosNotes1.width;

std::string_view At(std::string_view record, Span span) {
  return record.substr(span.offset, span.width);
}

// Writes `value` cut or blank-padded into the span of a record at `record`.
void PutAt(char* record, Span span, std::string_view value) {
  const std::size_t n = std::min(value.size(), span.width);
  std::copy_n(value.data(), n, record + span.offset);
  std::fill_n(record + span.offset + n, span.width - n, ' ');
}

void Put(std::string& record, Span span, std::string_view value) {
  PutAt(record.data(), span, value);
}

std::string_view DosCountry(std::string_view stored_country) {
  const std::string_view trimmed = TrimView(stored_country);
  return trimmed.size() <= l::kDosCountry.width ? trimmed : std::string_view();
}

std::string NotesOfDos(std::string_view dos) {
  return std::string(At(dos, l::kDosNotes1)) + "\r\n" + std::string(At(dos, l::kDosNotes2));
}

}  // namespace

void AppendDosRecord(std::string_view stored, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + l::kDosRecordLength);
  char* dos = out.data() + start;
  for (const SharedField& field : kShared) {
    PutAt(dos, field.dos, TrimView(At(stored, field.stored)));
  }
  PutAt(dos, l::kDosCountry, DosCountry(At(stored, l::kCountry)));
  const std::string_view notes = At(stored, l::kNotes);
  PutAt(dos, l::kDosNotes1, notes.substr(0, kNoteLine));
  // An imported DOS record holds CR LF between its two lines; it goes back
  // out as the line break it stands for, so the second line comes back whole.
  const std::size_t second = notes.substr(kNoteLine, 2) == "\r\n" ? kNoteLine + 2 : kNoteLine;
  PutAt(dos, l::kDosNotes2, notes.substr(second, kNoteLine));
  PutAt(dos, l::kDosModified, TrimView(At(stored, l::kModified)));
}

std::string DosRecordOf(std::string_view stored) {
  std::string dos;
  AppendDosRecord(stored, dos);
  return dos;
}

std::string ContactOfDos(std::string_view dos) {
  std::string stored(l::kContactRecordLength, ' ');
  for (const SharedField& field : kShared) Put(stored, field.stored, At(dos, field.dos));
  Put(stored, l::kCountry, At(dos, l::kDosCountry));
  Put(stored, l::kNotes, NotesOfDos(dos));
  Put(stored, l::kModified, At(dos, l::kDosModified));
  return stored;
}

std::string DosReplacement(std::string_view existing, std::string_view dos) {
  std::string stored = ContactOfDos(dos);
  const std::string exported = DosRecordOf(existing);
  for (Span kept : {l::kTitle, l::kCellular, l::kBeeper}) Put(stored, kept, At(existing, kept));
  for (const SharedField& field : kShared) {
    if (At(exported, field.dos) == At(dos, field.dos)) {
      Put(stored, field.stored, At(existing, field.stored));
    }
  }
  if (At(exported, l::kDosCountry) == At(dos, l::kDosCountry)) {
    Put(stored, l::kCountry, At(existing, l::kCountry));
  }
  if (At(exported, l::kDosNotes1) == At(dos, l::kDosNotes1) &&
      At(exported, l::kDosNotes2) == At(dos, l::kDosNotes2)) {
    Put(stored, l::kNotes, At(existing, l::kNotes));
  }
  return stored;
}

}  // namespace tabrel
