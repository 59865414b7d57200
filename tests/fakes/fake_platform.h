#pragma once

#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_selector.h"
#include "fakes/fake_help.h"
#include "fakes/fake_printer.h"
#include "fakes/fake_serial_port.h"
#include "fakes/fake_shell.h"
#include "platform/platform.h"

namespace tabrel::testing {

// Every desktop service faked, and the Platform that refers to them. As a
// base class it is built before the presenter that takes `platform`.
struct FakePlatform {
  FakeDialogs dialogs;
  FakeHelp help;
  FakeClock clock;
  FakeFileSelector files;
  FakePrinter printer;
  FakeClipboard clipboard;
  FakeShell shell;
  FakeSerialPort serial;
  Platform platform{dialogs, help, clock, files, printer, clipboard, shell, serial};
};

}  // namespace tabrel::testing
