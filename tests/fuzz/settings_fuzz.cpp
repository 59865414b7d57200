// tr30.ini of arbitrary bytes: read as far as it goes, shown in the settings
// dialog's form and saved back. What is written reads back the same.
#include <cstdint>
#include <cstdlib>

#include "fuzz_data_set.h"
#include "settings/settings_dialog.h"
#include "store/data_set.h"
#include "store/settings_record.h"

using namespace tabrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const std::string_view input = fuzz::Bytes(data, size);
  const SettingsRecord decoded = DecodeSettings(input);
  const std::string encoded = EncodeSettings(decoded);
  if (encoded.size() != 821 || DecodeSettings(encoded) != decoded) std::abort();

  // The form the dialog shows, saved unchanged, stores what it showed; the
  // envelope margins alone are stored as the number they read as, cut to
  // two characters.
  SettingsForm form = SettingsDialog::FormOf(decoded);
  const auto applied = SettingsDialog::Apply(decoded, form);
  if (applied.ok()) {
    SettingsForm again = SettingsDialog::FormOf(applied.value());
    for (SettingsText margin : {SettingsText::INI_LPad, SettingsText::INI_TPad}) {
      form.text(margin) = again.text(margin);
    }
    if (again.texts != form.texts || again.checks != form.checks) std::abort();
  }

  // The bytes as a settings file: loaded at start-up, then saved.
  folder.Write(kSettingsFileName, input);
  AppState state(folder.path());
  if (!LoadSettings(state).ok()) std::abort();
  if (!WriteSettingsFile(state.program_folder, state.settings).ok()) std::abort();
  const auto reread = ReadSettingsFile(state.program_folder);
  if (!reread.ok() || reread.value() != state.settings) std::abort();
  return 0;
}
