#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_selector.h"
#include "platform/help_viewer.h"
#include "platform/printer.h"
#include "platform/serial_port.h"
#include "platform/shell.h"

namespace tabrel {

// The desktop services the presenters use, gathered so that a window's
// presenter takes one argument for all of them. The objects are owned by
// main() (or a test) and outlive every presenter.
struct Platform {
  Dialogs& dialogs;
  HelpViewer& help;
  Clock& clock;
  FileSelector& files;
  Printer& printer;
  Clipboard& clipboard;
  Shell& shell;
  SerialPort& serial;
};

}  // namespace tabrel
