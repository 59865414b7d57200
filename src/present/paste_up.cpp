#include "present/paste_up.h"

#include "base/basic_number.h"
#include "base/text.h"
#include "present/text_wrap.h"
#include "store/layout.h"

namespace tabrel {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string NameLine(const ContactRecord& r) {
  std::string line = Trim(r.FirstName) + " " + Trim(r.LastName);
  if (!IsBlank(r.Title)) line += ", " + Fit(r.Title, layout::kTitle.width);
  return line + kLineEnd;
}

void AppendIfPresent(std::string& out, const std::string& field) {
  if (!IsBlank(field)) out += Trim(field) + kLineEnd;
}

void AppendSurface(std::string& out, const ContactRecord& r) {
  AppendIfPresent(out, r.Add1);
  AppendIfPresent(out, r.Add2);
  if (!(Trim(r.City) + Trim(r.State) + Trim(r.Zip)).empty()) {
    out += Trim(r.City) + ", " + Trim(r.State) + " " + Trim(r.Zip) + kLineEnd;
  }
  if (!IsBlank(r.Country)) out += Fit(r.Country, layout::kCountry.width) + kLineEnd;
}

}  // namespace

std::string PasteUpAddress(const ContactRecord& record) {
  std::string out = NameLine(record);
  AppendIfPresent(out, record.Org);
  AppendSurface(out, record);
  return out;
}

std::string PasteUpFull(const ContactRecord& r, const SettingsRecord& settings) {
  std::string s;
  if (BasicVal(settings.FullName) == 1) s = NameLine(r);
  AppendIfPresent(s, r.Org);
  if (BasicVal(settings.FullSurface) == 1) AppendSurface(s, r);
  std::string result = s + kLineEnd;

  const std::string ext = IsBlank(r.Ext) ? "" : " (x" + Trim(r.Ext) + ")";
  if (settings.FullPhones == "1") {
    if (!(Trim(r.Phone) + Trim(r.Fax)).empty()) {
      result +=
          "Phone: " + Trim(r.Phone) + ext + " Fax: " + Fit(r.Fax, layout::kFax.width) + kLineEnd;
    }
    if (!(Trim(r.Cellular) + Trim(r.Beeper)).empty()) {
      result += "Cellular: " + Trim(r.Cellular) + " Page: " + Fit(r.Beeper, layout::kBeeper.width) +
                kLineEnd;
    }
  }
  if (settings.FullEmail == "1" && !IsBlank(r.EMail)) {
    result += "E-Mail: " + Trim(r.EMail) + kLineEnd;
  }
  if (settings.FullWeb == "1" && !IsBlank(r.Web)) result += "Web:  " + Trim(r.Web) + kLineEnd;
  if (settings.FullNotes == "1" && !IsBlank(r.Notes)) {
    std::string wrapped;
    chopText(Trim(r.Notes), wrapped);
    result += kLineEnd + Trim(wrapped) + kLineEnd;
  }
  return result;
}

}  // namespace tabrel
