#pragma once

#include <string>

#include "present/grid.h"

namespace tabrel {

// The main window as the presenters of its parts see it: the record list
// they work on and the refills they may ask for. `MainWindow` implements it
// and hands it to every part it owns (keyword maintenance, sort and search,
// data sets, the record view panel, and the menus of other subsystems), so
// that no part depends on the main window's presenter, and a part in
// another subsystem folder can use it without including src/mainwin/.
// A part takes its view and the platform services it uses besides.
class MainListHost {
 public:
  virtual ~MainListHost() = default;

  // The record list: a row per record shown, its stamp in kIdColumn. Every
  // report, export and contact item works on these rows.
  virtual Grid& MainGrid() = 0;
  // Refills the record list for `selection`: kAllRecords, "" for the records
  // without keywords, kWordSearchPrefix + a word, or a keyword as stored. A
  // word search leaves the bare word in `selection`.
  virtual void PopMainGrid(std::string& selection) = 0;
  // Refills the keyword list from keyword.dat.
  virtual void PopKeywordGrid() = 0;
  // Highlights the header of whichever list has the focus.
  virtual void SetGridColors() = 0;
  // Closes the record view panel, if it is open, without touching the list.
  virtual void HideViewPanel() = 0;
  // An import wrote the data set: the keyword list refilled, the view panel
  // closed and the current record blanked (the import may have replaced it).
  virtual void ImportWritten() = 0;
  // As "Keyword / Search Result Only": normal list mode, the list not refilled.
  virtual void mu_FreeListOFF_Click() = 0;
  // As "Display All Records": the view panel closed, normal list mode, both
  // lists refilled from the data set in use.
  virtual void mu_DisplayAll_Click() = 0;
  // Takes the lock of the data set in the state's data path, after the data
  // path changed. When another copy of the program holds it, says so and
  // opens the data set read-only: every command that would write stays
  // enabled and answers with the read-only message.
  virtual void OpenDataSet() = 0;
  // False, after telling the user why, while the data set is read-only.
  virtual bool CheckWritable() = 0;
};

}  // namespace tabrel
