#pragma once
// A form of labelled text fields that a job asks for in the middle of its
// work (the DSX pilot data), with the mode buttons that relabel its fields.
// The window thread runs it; the asker brings the job thread's call over.
#include <QDialog>
#include <optional>
#include <vector>

#include "access/field_form.hpp"

class QLabel;
class QLineEdit;

namespace trelvik {

class QtUserInterface;

class FieldFormDialog : public QDialog {
 public:
  FieldFormDialog(const FieldFormQuestion& question, QWidget* parent);
  // The fields and the mode as the user left them.
  FieldFormAnswer Answer() const;

 private:
  void Relabel(int mode);

  const FieldFormQuestion& question_;
  std::vector<QLabel*> labels_;
  std::vector<QLineEdit*> fields_;
  int mode_ = 0;
};

class QtFieldFormAsker : public FieldFormAsker {
 public:
  explicit QtFieldFormAsker(QtUserInterface& qtUi) : qtUi_(qtUi) {}
  // Nothing on Cancel, or once the window has closed.
  std::optional<FieldFormAnswer> AskFields(const FieldFormQuestion& question) override;

 private:
  QtUserInterface& qtUi_;
};

}  // namespace trelvik
