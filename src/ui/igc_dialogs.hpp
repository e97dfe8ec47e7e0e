#pragma once
// The two IGC save dialogs: "IGC File Format" for "Save log in &IGC format"
// and "Save IGC track log from GPS" for "Save IGC log from &GPS". "&Save"
// hands the fields to the save function, which checks them, asks for the
// file and writes it; the dialog closes only when that function says so.
#include <QDialog>
#include <functional>

#include "trackfiles/igc_save.hpp"

class QCheckBox;
class QLineEdit;

namespace trelvik {

class IgcFormatDialog : public QDialog {
  Q_OBJECT

 public:
  using Save = std::function<IgcSaveResult(const IgcDialogFields& fields)>;
  IgcFormatDialog(const IgcDialogFields& fields, Save save, QWidget* parent);

  IgcDialogFields Fields() const;
  // "&Save": runs the save and closes when it is done.
  void SaveClicked();

  QLineEdit* pilot = nullptr;
  QLineEdit* flightNumber = nullptr;
  QLineEdit* serial = nullptr;
  QLineEdit* gliderType = nullptr;
  QLineEdit* gliderId = nullptr;
  QLineEdit* site = nullptr;
  QLineEdit* competitionClass = nullptr;
  QCheckBox* longName = nullptr;
  QCheckBox* shortName = nullptr;
  QCheckBox* addEnl = nullptr;

 private:
  Save save_;
};

class RawIgcDialog : public QDialog {
  Q_OBJECT

 public:
  using Save = std::function<IgcSaveResult(const RawIgcDialogFields& fields)>;
  RawIgcDialog(const RawIgcDialogFields& fields, Save save, QWidget* parent);

  RawIgcDialogFields Fields() const;
  void SaveClicked();

  QLineEdit* flightNumber = nullptr;
  QCheckBox* longName = nullptr;
  QCheckBox* shortName = nullptr;

 private:
  Save save_;
};

}  // namespace trelvik
