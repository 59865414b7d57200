#pragma once

#include <string>
#include <string_view>

#include "store/contact_record.h"

namespace tabrel {

// Addresses built from record fields for other programs. Fields come from
// imports and are not trusted: nothing here lets a field become an option
// of a program or a URL of another kind. Results are UTF-8.

// The address "Send Email" offers: the trimmed e-mail address, or with
// `with_names` "First Last <address>" with leading and trailing blanks
// removed (as the e-mail list writes it), so a record without names gives
// "<address>".
std::string MailAddress(const ContactRecord& record, bool with_names);

// "mailto:" + the address percent-encoded as the URL's path: a "?" or "#"
// in it stays part of the address and never starts mail headers.
std::string MailtoUrl(std::string_view address);

// A URL the desktop may open for a web address as typed, or why not.
struct DesktopUrl {
  std::string url;
  std::string refusal;  // empty when `url` is good; a sentence for the user
};
// Only http and https: a scheme-less address ("www.example.org",
// "example.org:8080/x") gets "http://"; any other scheme ("file:",
// "javascript:", "mailto:") is refused. Blanks, controls and non-ASCII
// characters are percent-encoded.
DesktopUrl WebUrl(std::string_view typed);

// "tel:" + the number keeping "+", digits and the separators "-.()"; empty
// when the number holds no digit.
std::string TelUrl(std::string_view number);

// True when a program would read `text` as an option.
bool LooksLikeOption(std::string_view text);

}  // namespace tabrel
