#include "sync/dav_multistatus.h"

#include <libxml/xmlreader.h>

#include <memory>

namespace tabrel {
namespace {

constexpr int kBadAnswer = 57;
constexpr std::string_view kDav = "DAV:";
constexpr std::string_view kCard = "urn:ietf:params:xml:ns:carddav";

Status Refused(const std::string& why) {
  return Status::Error(kBadAnswer, "The server's answer was refused: " + why);
}

std::string_view View(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// "HTTP/1.1 404 Not Found" -> 404.
int StatusCode(std::string_view line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos || blank + 4 > line.size()) return 0;
  int code = 0;
  for (std::size_t i = blank + 1; i < blank + 4; ++i) {
    if (line[i] < '0' || line[i] > '9') return 0;
    code = code * 10 + (line[i] - '0');
  }
  return code;
}

void Silence(void*, const char*, ...) {}
void SilenceStructured(void*, xmlErrorPtr) {}

struct ReaderFree {
  void operator()(xmlTextReaderPtr reader) const { xmlFreeTextReader(reader); }
};

// Where the reader stands: the names of the open elements that matter.
struct Path {
  std::vector<std::string> names;  // "d:response", "c:address-data", "x" for others
  bool Has(std::string_view name) const {
    for (const std::string& n : names) {
      if (n == name) return true;
    }
    return false;
  }
  std::string_view Top() const { return names.empty() ? std::string_view() : names.back(); }
  std::string_view Parent() const {
    return names.size() < 2 ? std::string_view() : names[names.size() - 2];
  }
};

class Reading {
 public:
  Reading(const DavLimits& limits) : limits_(limits) {}

  Status Open(std::string_view name) {
    if (name == "d:response") {
      if (out_.resources.size() >= limits_.max_resources) {
        return Refused("it lists more than " + std::to_string(limits_.max_resources) +
                       " resources");
      }
      out_.resources.emplace_back();
      propstat_ = {};
    }
    if (name == "d:propstat") propstat_ = {};
    if (path_.Has("d:prop") && path_.Top() == "d:resourcetype") {
      if (name == "d:collection") propstat_.collection = true;
      if (name == "c:addressbook") propstat_.addressbook = true;
    }
    if (name == "d:valid-sync-token" && path_.Top() == "d:error") out_.invalid_token = true;
    path_.names.emplace_back(name);
    text_.clear();
    return Status::Ok();
  }

  void Attribute(std::string_view element, std::string_view name, std::string_view value) {
    if (element == "c:address-data-type" && name == "version" && value == "4.0") {
      propstat_.vcard4 = true;
    }
  }

  Status Text(std::string_view text) {
    if (text_.size() + text.size() > limits_.max_text) {
      return Refused("one of its values is longer than " +
                     std::to_string(limits_.max_text / (1024 * 1024)) + " MB");
    }
    text_ += text;
    return Status::Ok();
  }

  void Close() {
    const std::string name = path_.names.back();
    path_.names.pop_back();
    const std::string_view parent = path_.Top();
    DavResource* resource =
        out_.resources.empty() || !path_.Has("d:response") ? nullptr : &out_.resources.back();
    if (name == "d:sync-token" && parent == "d:multistatus") out_.sync_token = Trimmed();
    if (resource && name == "d:href") {
      if (parent == "d:response") resource->href = Trimmed();
      if (parent == "d:current-user-principal") propstat_.principal = Trimmed();
      if (parent == "c:addressbook-home-set" && propstat_.addressbook_home.empty())
        propstat_.addressbook_home = Trimmed();
    }
    if (resource && name == "d:status") {
      if (parent == "d:response") resource->status = StatusCode(Trimmed());
      if (parent == "d:propstat") propstat_status_ = StatusCode(Trimmed());
    }
    if (resource && path_.Top() == "d:prop") {
      if (name == "d:getetag") propstat_.etag = Trimmed();
      if (name == "d:displayname") propstat_.displayname = Trimmed();
      if (name == "c:address-data") propstat_.address_data = std::move(text_);
    }
    if (name == "d:propstat" && resource) {
      if (propstat_status_ == 0 || (propstat_status_ >= 200 && propstat_status_ < 300))
        Take(*resource);
      propstat_ = {};
      propstat_status_ = 0;
    }
    text_.clear();
  }

  DavMultistatus& out() { return out_; }
  const Path& path() const { return path_; }

 private:
  std::string Trimmed() const {
    std::size_t from = 0, to = text_.size();
    while (from < to && (text_[from] == ' ' || text_[from] == '\n' || text_[from] == '\r' ||
                         text_[from] == '\t'))
      ++from;
    while (to > from && (text_[to - 1] == ' ' || text_[to - 1] == '\n' || text_[to - 1] == '\r' ||
                         text_[to - 1] == '\t'))
      --to;
    return text_.substr(from, to - from);
  }

  void Take(DavResource& r) {
    if (!propstat_.etag.empty()) r.etag = propstat_.etag;
    r.collection |= propstat_.collection;
    r.addressbook |= propstat_.addressbook;
    r.vcard4 |= propstat_.vcard4;
    if (!propstat_.displayname.empty()) r.displayname = propstat_.displayname;
    if (!propstat_.principal.empty()) r.principal = propstat_.principal;
    if (!propstat_.addressbook_home.empty()) r.addressbook_home = propstat_.addressbook_home;
    if (!propstat_.address_data.empty()) r.address_data = std::move(propstat_.address_data);
  }

  const DavLimits& limits_;
  DavMultistatus out_;
  Path path_;
  std::string text_;
  DavResource propstat_;
  int propstat_status_ = 0;
};

std::string NameOf(xmlTextReaderPtr reader) {
  const std::string_view ns = View(xmlTextReaderConstNamespaceUri(reader));
  const std::string_view local = View(xmlTextReaderConstLocalName(reader));
  if (ns == kDav) return "d:" + std::string(local);
  if (ns == kCard) return "c:" + std::string(local);
  return "x";
}

}  // namespace

Result<DavMultistatus> ParseMultistatus(std::string_view body, const DavLimits& limits) {
  if (body.size() > limits.max_bytes) {
    return Refused("it is larger than " + std::to_string(limits.max_bytes / (1024 * 1024)) + " MB");
  }
  if (body.size() > static_cast<std::size_t>(INT32_MAX)) return Refused("it is too large");
  xmlSetGenericErrorFunc(nullptr, Silence);
  xmlSetStructuredErrorFunc(nullptr, SilenceStructured);
  // No XML_PARSE_NOENT (entities stay unsubstituted), no DTD loading or
  // validation, no network.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
  std::unique_ptr<xmlTextReader, ReaderFree> reader(
      xmlReaderForMemory(body.data(), static_cast<int>(body.size()), nullptr, nullptr, options));
  if (!reader) return Refused("it could not be read as XML");
  Reading reading(limits);
  bool root_seen = false;
  int step = 0;
  while ((step = xmlTextReaderRead(reader.get())) == 1) {
    const int type = xmlTextReaderNodeType(reader.get());
    switch (type) {
      case XML_READER_TYPE_DOCUMENT_TYPE:
        return Refused("it holds a document type declaration");
      case XML_READER_TYPE_ENTITY_REFERENCE:
      case XML_READER_TYPE_ENTITY:
        return Refused("it refers to an entity");
      case XML_READER_TYPE_ELEMENT: {
        if (static_cast<std::size_t>(xmlTextReaderDepth(reader.get())) >= limits.max_depth) {
          return Refused("its elements nest deeper than " + std::to_string(limits.max_depth));
        }
        const std::string name = NameOf(reader.get());
        if (!root_seen && name != "d:multistatus" && name != "d:error") {
          return Refused("it is no WebDAV multistatus");
        }
        root_seen = true;
        if (Status s = reading.Open(name); !s.ok()) return s;
        while (xmlTextReaderMoveToNextAttribute(reader.get()) == 1) {
          reading.Attribute(name, View(xmlTextReaderConstLocalName(reader.get())),
                            View(xmlTextReaderConstValue(reader.get())));
        }
        xmlTextReaderMoveToElement(reader.get());
        if (xmlTextReaderIsEmptyElement(reader.get())) reading.Close();
        break;
      }
      case XML_READER_TYPE_END_ELEMENT:
        reading.Close();
        break;
      case XML_READER_TYPE_TEXT:
      case XML_READER_TYPE_CDATA:
      case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
        if (Status s = reading.Text(View(xmlTextReaderConstValue(reader.get()))); !s.ok()) return s;
        break;
      default:
        break;
    }
  }
  if (step != 0 || !root_seen) return Refused("it is not well-formed XML");
  return std::move(reading.out());
}

}  // namespace tabrel
