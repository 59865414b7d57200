#pragma once

#include <optional>
#include <string>

#include "base/text_decoding.h"
#include "exchange/exchange_view.h"
#include "exchange/format_table.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_selector.h"
#include "present/main_list_host.h"
#include "present/progress_view.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// The imports of text files from other programs, started from the Import /
// Export menu: LDIF and Agent files are imported here, after a question,
// the choice of a file and a check of it; a comma-delimited file is checked
// and handed to the field selector window (CommaParse). The main window
// refuses each while the data set is read-only, before a question is asked
// or a file read.
//
// Each import reads the whole file, decodes it (UTF-8, UTF-16 or
// Windows-1252, told from its bytes), builds every new record in memory,
// refuses a result past 32,767 records, offers the backup set right before
// anything is written, and writes tabrel.dat and keyword.dat once, as a
// pair: a failure leaves both as they were and says so. Its report counts
// the records added, the entries left out and why, and the characters that
// could not be stored.
class TextImport {
 public:
  // Everything passed must outlive this object.
  TextImport(const AppState& state, MainListHost& host, ExchangeView& view, ProgressView& progress,
             Dialogs& dialogs, FileSelector& files, Clock& clock)
      : state_(state),
        host_(host),
        view_(view),
        progress_(progress),
        dialogs_(dialogs),
        files_(files),
        clock_(clock) {}

  // "Import Comma-Delimited Records".
  void Comma();
  // "Import Lightweight Data Interchange Format".
  void Ldif();
  // "Import Agent Address Book Format".
  void Agent();

 private:
  // The question and the file selector; empty when the user stops.
  std::optional<std::string> ChooseFile(const ExchangeFormat& format);
  // The chosen file's text; empty, with the user told why, when it cannot
  // be read or is no text.
  std::optional<DecodedText> ReadText(const std::string& path);
  void Run(const ExchangeFormat& format);
  void Tell(const std::string& text, const char* title, MessageIcon icon);

  const AppState& state_;
  MainListHost& host_;
  ExchangeView& view_;
  ProgressView& progress_;
  Dialogs& dialogs_;
  FileSelector& files_;
  Clock& clock_;
};

}  // namespace tabrel
