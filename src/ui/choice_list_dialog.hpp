#pragma once
// A modal list of lines to choose from: the "Track List" of an instrument's
// flights or of a file's tracks, and the "Split Log" choice of flights in a
// downloaded log. The window thread runs it; the choosers below bring calls
// from job threads over to that thread.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "access/track_list.hpp"
#include "analysis/split_at_gaps.hpp"
#include "trackfiles/xml_choices.hpp"

class QTreeWidget;

namespace trelvik {

class QtUserInterface;

struct ChoiceList {
  std::string title;
  std::string note;                      // above the list; may be empty
  std::vector<std::string> columnHeads;  // a line is split into these columns at runs of blanks
  std::vector<std::string> lines;
  bool multipleSelection = true;
  bool allButton = false;  // "&All": every line, as OK would
  int preselected = 0;     // -1: none
  std::string okLabel = "OK";
  std::string cancelLabel = "&Cancel";
};

class ChoiceListDialog : public QDialog {
  Q_OBJECT

 public:
  ChoiceListDialog(const ChoiceList& choices, QWidget* parent);

  // After exec(): the chosen lines (OK or "&All", possibly none), or nothing
  // for Cancel and closing.
  const std::optional<std::vector<int>>& Chosen() const { return chosen_; }
  QTreeWidget& Lines() const { return *lines_; }

 private:
  void Accept(bool all);

  QTreeWidget* lines_ = nullptr;
  std::optional<std::vector<int>> chosen_;
};

// Shows the list on the window thread; nothing once the window has closed.
std::optional<std::vector<int>> ChooseFromList(QtUserInterface& qtUi, const ChoiceList& choices);

// The instrument's "Track List" for an interactive download.
class QtTrackListChooser : public TrackListChooser {
 public:
  explicit QtTrackListChooser(QtUserInterface& qtUi) : qtUi_(qtUi) {}
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override;

 private:
  QtUserInterface& qtUi_;
};

// The choice among the tracks of a KML or GPX file.
FileTrackChooser QtFileTrackChooser(QtUserInterface& qtUi);
// The "Split Log" choice of the flights a log holds.
SplitLogChooser QtSplitLogChooser(QtUserInterface& qtUi);

}  // namespace trelvik
