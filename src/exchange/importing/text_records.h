#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/importing/new_records_import.h"

namespace tabrel {

// The imports that only add: each entry a reader hands out becomes a new
// record of `import`.

// Adds every record of `text` (the header left out when options.header)
// to `import`, each with `keyword` (Windows-1252).
void AddCommaRecords(std::string_view text, const CommaImportOptions& options,
                     std::string_view keyword, NewRecordsImport& import,
                     const ImportProgress& progress = nullptr);

// Adds a public individual for every entry of `text` (decoded) that has a
// name or an e-mail address, with the keyword kAgentKeyword; yields the
// number of entries left out for having neither.
std::size_t AddAgentRecords(std::string_view text, NewRecordsImport& import,
                            const ImportProgress& progress = nullptr);

// What an LDIF import left out.
struct LdifSkipped {
  std::size_t changes = 0;
  std::size_t groups = 0;
  std::size_t no_contact = 0;
  std::size_t bad_lines = 0;  // lines that could not be read at all
  std::size_t entries() const { return changes + groups + no_contact; }
};

// Adds a record for every entry of `text` (LDIF, decoded) that
// ContactFromLdif makes one of, with the keyword kLdifKeyword; counts the
// others.
LdifSkipped AddLdifRecords(std::string_view text, NewRecordsImport& import,
                           const ImportProgress& progress = nullptr);

// "N entries were skipped: ..." naming each reason, and the unreadable
// lines; empty when nothing was left out.
std::string LdifSkippedText(const LdifSkipped& skipped);

}  // namespace tabrel
