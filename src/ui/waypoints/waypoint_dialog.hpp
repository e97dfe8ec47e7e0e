#pragma once
// "Edit Waypoint": one waypoint's ID, comment, height, type, timestamp and
// position, the position as latitude/longitude or, with "UTM" checked, as
// zone, easting and northing. OK reads the fields in their order and keeps
// the dialog open at the first that fails.
#include <QDialog>
#include <optional>

#include "base/user_interface.hpp"
#include "records/waypoint.hpp"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace trelvik {

class WaypointDialog : public QDialog {
  Q_OBJECT

 public:
  // `utm` is the "UTM" box, remembered between openings: read at the start,
  // written when it changes.
  WaypointDialog(UserInterface& ui, const Waypoint& waypoint, bool& utm, QWidget* parent = nullptr);

  // The edited copy after OK.
  const std::optional<Waypoint>& Result() const { return result_; }

  QLineEdit& Id() const { return *id_; }
  QLineEdit& Comment() const { return *comment_; }
  QLineEdit& Height() const { return *height_; }
  QComboBox& Type() const { return *type_; }
  QLineEdit& Timestamp() const { return *timestamp_; }
  QCheckBox& Utm() const { return *utmBox_; }
  QLineEdit& Zone() const { return *zone_; }
  QLineEdit& Easting() const { return *easting_; }
  QLineEdit& Northing() const { return *northing_; }
  QLineEdit& Latitude() const { return *latitude_; }
  QLineEdit& Longitude() const { return *longitude_; }

  void accept() override;

 private:
  void ShowPositionFields();

  UserInterface& ui_;
  bool& utm_;
  std::optional<Waypoint> result_;
  QLineEdit* id_ = nullptr;
  QLineEdit* comment_ = nullptr;
  QLineEdit* height_ = nullptr;
  QComboBox* type_ = nullptr;
  QLineEdit* timestamp_ = nullptr;
  QCheckBox* utmBox_ = nullptr;
  QLineEdit* zone_ = nullptr;
  QLineEdit* easting_ = nullptr;
  QLineEdit* northing_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QLineEdit* longitude_ = nullptr;
};

}  // namespace trelvik
