#pragma once
// "Set view intervals": the vario, glide and polar intervals in three fields.
// OK closes only when all three read as whole numbers above zero.
#include <QDialog>

#include "analysis/graphs/graph_intervals.hpp"

class QLineEdit;

namespace trelvik {

class ViewIntervalsDialog : public QDialog {
  Q_OBJECT

 public:
  // `intervals` is changed only by an accepted dialog.
  ViewIntervalsDialog(GraphIntervals& intervals, UserInterface& ui, QWidget* parent = nullptr);

  QLineEdit& VarioField() const { return *fields_[0]; }
  QLineEdit& GlideField() const { return *fields_[1]; }
  QLineEdit& PolarField() const { return *fields_[2]; }

  void accept() override;

 private:
  GraphIntervals& intervals_;
  UserInterface& ui_;
  std::array<QLineEdit*, 3> fields_{};
};

}  // namespace trelvik
