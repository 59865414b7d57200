// A comma-delimited file of arbitrary bytes, decoded as an import decodes
// it, read record by record, surveyed as the field selector does, and each
// record made into a stored record by links the first byte picks. The
// reader always moves on and counts its lines in order, the survey counts
// what the reader gives, and every record built is a whole one of a known
// type.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/codec.h"
#include "base/text_decoding.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/comma_reader.h"
#include "exchange/formats/record_builder.h"
#include "fuzz_data_set.h"
#include "store/layout.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const DecodedText decoded = DecodeText(fuzz::Bytes(data + 1, size - 1));
  const std::string& text = decoded.text;
  if (!IsValidUtf8(text)) std::abort();

  CommaReader reader(text);
  std::vector<std::string> fields;
  std::size_t records = 0;
  std::size_t last_line = 0;
  while (reader.Next(fields)) {
    if (fields.empty() || reader.line() < last_line || reader.line() == 0) std::abort();
    last_line = reader.line();
    ++records;
  }
  const bool header = choice & 1;
  const CommaSurvey survey = SurveyComma(text, header);
  if (survey.records != (header && records > 0 ? records - 1 : records)) std::abort();
  if (survey.sample.size() > survey.records) std::abort();

  CommaImportOptions options;
  options.header = header;
  options.individual = choice & 2;
  options.extras_to_notes = choice & 4;
  // Each field linked to a column, some of them to the same one.
  for (std::size_t f = 0; f < kRecordFieldCount; ++f) options.links[f] = (f + choice) % 7;
  CommaReader again(text);
  CommaColumns columns;
  if (header && again.Next(fields)) columns = CommaColumns(fields);
  RecordBuilder built;
  std::string record;
  while (again.Next(fields)) {
    columns.Complete(fields);
    const char type = ContactFromComma(fields, columns, options, built);
    if (type != '1' && type != '2') std::abort();
    built.Write(record, type, "comma_new", "01-01-2000 1");
    if (record.size() != layout::kContactRecordLength) std::abort();
  }
  return 0;
}
