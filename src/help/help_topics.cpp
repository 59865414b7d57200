#include "help/help_topics.h"

#include <array>

namespace tabrel {
namespace {

constexpr auto kTopics = std::to_array<HelpTopic>({
    {"contents", "index.html", "", "Contents"},
    {"main-window", "main_window.html", "", "The main window"},
    {"main-window.lists", "main_window.html", "lists", "The two lists"},
    {"main-window.toolbar", "main_window.html", "toolbar", "Toolbar and menus"},
    {"main-window.status-bar", "main_window.html", "status-bar", "Status bar"},
    {"main-window.keys", "main_window.html", "keys", "Keys"},
    {"selecting", "selecting.html", "", "Choosing records"},
    {"selecting.keywords", "selecting.html", "keywords", "By keyword"},
    {"selecting.no-keywords", "selecting.html", "no-keywords", "Records without keywords"},
    {"selecting.search", "selecting.html", "search", "Word search"},
    {"selecting.filter", "selecting.html", "filter", "Public and personal records"},
    {"selecting.free-selection", "selecting.html", "free-selection", "Free selection"},
    {"selecting.sort", "selecting.html", "sort", "Sorting the data set"},
    {"records", "records.html", "", "Adding and editing records"},
    {"records.new", "records.html", "new", "A new record"},
    {"records.duplicate", "records.html", "duplicate", "Duplicating a record"},
    {"records.edit", "records.html", "edit", "Changing a record"},
    {"records.delete", "records.html", "delete", "Deleting a record"},
    {"records.types", "records.html", "types", "Public, personal, individual, organisation"},
    {"records.keywords", "records.html", "keywords", "Keywords of a record"},
    {"keywords", "keywords.html", "", "Keywords"},
    {"keywords.add", "keywords.html", "add", "Adding a keyword"},
    {"keywords.change", "keywords.html", "change", "Changing a keyword"},
    {"keywords.delete", "keywords.html", "delete", "Deleting a keyword"},
    {"keywords.personal", "keywords.html", "personal", "Personal keywords"},
    {"view-panel", "view_panel.html", "", "The record view panel"},
    {"view-panel.stepping", "view_panel.html", "stepping", "Back and Next"},
    {"view-panel.clip", "view_panel.html", "clip", "Copying to the clipboard"},
    {"view-panel.envelope", "view_panel.html", "envelope", "Printing an envelope"},
    {"reports", "reports.html", "", "Lists and printing"},
    {"reports.preview", "reports.html", "preview", "The preview and its buttons"},
    {"reports.preview-lines", "reports.html", "preview-lines", "How much the preview shows"},
    {"reports.print-lines", "reports.html", "print-lines", "Page breaks"},
    {"reports.phone-lists", "reports.html", "phone-lists", "Phone lists"},
    {"reports.full-record", "reports.html", "full-record", "Complete records"},
    {"reports.labels", "reports.html", "labels", "Address labels"},
    {"reports.email-list", "reports.html", "email-list", "E-mail addresses"},
    {"reports.printouts", "reports.html", "printouts", "Where printouts go"},
    {"settings", "settings.html", "", "Settings"},
    {"settings.paths", "settings.html", "paths", "Data paths"},
    {"settings.modem", "settings.html", "modem", "Telephone"},
    {"settings.print-lines", "settings.html", "print-lines", "Lines to print before a new page"},
    {"settings.preview-lines", "settings.html", "preview-lines", "Lines in the print preview"},
    {"settings.envelope-left", "settings.html", "envelope-left", "Envelope left margin"},
    {"settings.envelope-top", "settings.html", "envelope-top", "Envelope upper margin"},
    {"settings.full-record", "settings.html", "full-record", "Full record includes"},
    {"settings.programs", "settings.html", "programs", "Word processor, browser, e-mail program"},
    {"settings.quick-update", "settings.html", "quick-update", "Quick Update path and target"},
    {"data-sets", "data_sets.html", "", "Data sets"},
    {"data-sets.default", "data_sets.html", "default", "The default data set"},
    {"data-sets.alternate", "data_sets.html", "alternate", "Alternate data sets"},
    {"data-sets.other", "data_sets.html", "other", "Any other folder"},
    {"data-sets.backup", "data_sets.html", "backup", "Backup and restore"},
    {"exchange", "exchange.html", "", "Importing and exporting"},
    {"exchange.native", "exchange.html", "native", "Windows Tabrel records"},
    {"exchange.dos", "exchange.html", "dos", "DOS Tabrel records"},
    {"exchange.comma", "exchange.html", "comma", "Comma-delimited text"},
    {"exchange.ldif", "exchange.html", "ldif", "LDIF"},
    {"exchange.agent", "exchange.html", "agent", "Agent address book"},
    {"exchange.quick-update", "exchange.html", "quick-update", "Quick Update"},
    {"sync", "sync.html", "", "Syncing with a server"},
    {"sync.setup", "sync.html", "setup", "Naming the server"},
    {"sync.rules", "sync.html", "rules", "What happens to each record"},
    {"contact", "contact.html", "", "Making contact"},
    {"contact.dialling", "contact.html", "dialling", "Dialling with the modem"},
    {"contact.dial-string", "contact.html", "dial-string", "What the modem dials"},
    {"contact.modem", "contact.html", "modem", "When the modem does not answer"},
    {"contact.ports", "contact.html", "ports", "Serial ports on Linux"},
    {"contact.phone-program", "contact.html", "phone-program", "Calling with a phone program"},
    {"contact.email", "contact.html", "email", "Sending e-mail"},
    {"contact.web", "contact.html", "web", "Visiting a web site"},
    {"game", "game.html", "", "Take a Break"},
    {"files", "files.html", "", "Files and folders"},
    {"files.folder", "files.html", "folder", "The program folder"},
    {"files.files", "files.html", "files", "The files"},
    {"files.environment", "files.html", "environment", "Expert settings"},
    {"files.about", "files.html", "about", "About Tabrel"},
});

}  // namespace

std::span<const HelpTopic> HelpTopics() {
  return kTopics;
}

const HelpTopic* FindHelpTopic(std::string_view id) {
  for (const HelpTopic& topic : kTopics) {
    if (topic.id == id) return &topic;
  }
  return nullptr;
}

std::string HelpTopicUrl(const HelpTopic& topic) {
  std::string url(topic.page);
  if (!topic.anchor.empty()) url += "#" + std::string(topic.anchor);
  return url;
}

}  // namespace tabrel
