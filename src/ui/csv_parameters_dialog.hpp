#pragma once
// "Set additional csv parameters": which derived columns a CSV track file gets.
#include <QDialog>

#include "base/user_interface.hpp"
#include "settings/settings.hpp"

class QCheckBox;
class QLineEdit;

namespace trelvik {

class CsvParametersDialog : public QDialog {
 public:
  CsvParametersDialog(UserInterface& ui, Settings& settings, QWidget* parent = nullptr);

  // OK: the fields are checked; a refusal keeps the dialog open.
  void accept() override;

  QCheckBox* absTime = nullptr;
  QCheckBox* relTime = nullptr;
  QCheckBox* relDist = nullptr;
  QCheckBox* accDist = nullptr;
  QCheckBox* deg400 = nullptr;
  QLineEdit* bearing = nullptr;
  QLineEdit* speed = nullptr;
  QLineEdit* vario = nullptr;

 private:
  UserInterface& ui_;
  Settings& settings_;
};

}  // namespace trelvik
