#pragma once

#include <string>

#include "store/contact_record.h"
#include "store/settings_record.h"

namespace tabrel {

// The mailing-address block of a record, lines ended by CR LF, as
// Windows-1252 bytes: the name line (with ", " and the title when there is
// one), then organisation, address lines, "city, state zip" and country,
// each only when not blank. The name line is always there.
std::string PasteUpAddress(const ContactRecord& record);

// The full-record block, with the parts the settings' full-record flags
// choose: name and title, organisation (always), postal address, a blank
// line, phone lines, e-mail, web and the notes wrapped at 55 characters.
// The name and address flags count when their numeric value is 1, so a
// blank or non-digit flag is off; the others when they are exactly "1".
std::string PasteUpFull(const ContactRecord& record, const SettingsRecord& settings);

}  // namespace tabrel
