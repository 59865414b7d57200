#pragma once

#include "base/status.h"
#include "store/app_state.h"
#include "store/atomic_file.h"
#include "store/contact_record.h"
#include "store/record_file.h"

namespace tabrel {

// Adds `record` to tabrel.dat in name order: before the first record whose
// key is greater than the new record's key, so after every record with an
// equal key ("smith" and "Smith " are equal); at the end when there is none.
// Keys are those of SortKey, except that while the file is scanned a record
// of no known type takes the key of the record before it (the first such
// record with nothing before it takes the empty key), so such records stay
// beside the neighbour they were stored after.
//
// The file is replaced in one atomic rewrite, a trailing partial record kept
// after the records: an interruption
// leaves the old file or the new one, never a record lost or doubled. A file
// already holding layout::kMaxRecords records is refused with
// error_number::kOverflow and left alone.
Status InsertInNameOrder(const AppState& state, const ContactRecord& record);

// Overwrites record `record_number` (1..count) of tabrel.dat in place and
// flushes it; see InPlaceWrite for a flush that fails after the write.
InPlaceWrite SaveRecordAt(const AppState& state, int record_number, const ContactRecord& record);

}  // namespace tabrel
