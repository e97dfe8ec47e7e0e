#pragma once
// "Coordinate conversion": UTM to degrees, minutes and seconds and back.
#include <QDialog>

#include "base/user_interface.hpp"

class QLineEdit;

namespace trelvik {

class CoordinateDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CoordinateDialog(UserInterface& ui, QWidget* parent = nullptr);

  void ToDegrees();  // "To &degrees"
  void ToUtm();      // "To &UTM/UPS"

  QLineEdit& Zone() const { return *zone_; }
  QLineEdit& Easting() const { return *easting_; }
  QLineEdit& Northing() const { return *northing_; }
  QLineEdit& Latitude() const { return *latitude_; }
  QLineEdit& Longitude() const { return *longitude_; }

 private:
  UserInterface& ui_;
  QLineEdit* zone_ = nullptr;
  QLineEdit* easting_ = nullptr;
  QLineEdit* northing_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QLineEdit* longitude_ = nullptr;
};

}  // namespace trelvik
