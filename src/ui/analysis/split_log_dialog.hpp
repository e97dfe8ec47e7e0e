#pragma once
// The "Split Log" dialog: the flights of a log split at its time gaps, newest
// first, the first preselected; the user keeps one or more of them.
#include <QDialog>

#include "analysis/split_at_gaps.hpp"

class QListWidget;

namespace trelvik {

class SplitLogWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SplitLogWindow(const SplitLogDialog& content, QWidget* parent = nullptr);

  QListWidget& Lines() const { return *lines_; }
  // The selected line numbers in list order.
  std::vector<int32_t> ChosenLines() const;

 private:
  QListWidget* lines_ = nullptr;
};

// The chooser SplitAtGaps asks: the dialog, modal over `parent`. OK gives the
// selected lines (possibly none); Cancel or closing gives nothing.
SplitLogChooser WindowSplitLogChooser(QWidget* parent);

}  // namespace trelvik
