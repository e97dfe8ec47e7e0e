#pragma once
// "Calculate distance": the ellipsoidal distance between two positions, typed
// or taken from the waypoint list, in degrees or UTM.
#include <QDialog>

#include "geo/position_calculations.hpp"
#include "records/track_log.hpp"
#include "ui/position_dialogs_state.hpp"

class QCheckBox;
class QGridLayout;
class QComboBox;
class QLabel;
class QLineEdit;

namespace trelvik {

class DistanceDialog : public QDialog {
  Q_OBJECT

 public:
  // `state` keeps From, To and the mode between openings; it outlives the dialog.
  DistanceDialog(const WaypointList& waypoints, PositionDialogsState& state, UserInterface& ui,
                 QWidget* parent = nullptr);

  // Reads the fields and shows the distance ("&Calculate").
  void Calculate();
  void SetUtm(bool utm);

  // The widgets, for the window's own tests.
  struct Side {
    QComboBox* waypoint = nullptr;
    QLabel* comment = nullptr;
    QLineEdit* zone = nullptr;
    QLineEdit* first = nullptr;   // latitude or easting
    QLineEdit* second = nullptr;  // longitude or northing
  };
  const Side& From() const { return from_; }
  const Side& To() const { return to_; }
  QLabel& Result() const { return *result_; }
  QLabel& FirstLabel() const { return *firstLabel_; }
  QLabel& SecondLabel() const { return *secondLabel_; }
  QCheckBox& UtmBox() const { return *utmBox_; }

 private:
  Side BuildSide(const QString& title, int row, QGridLayout& grid);
  void ChooseWaypoint(Side& side, GeoPosition& position, int index);
  void FillSide(Side& side, const GeoPosition& position);
  static PositionFields FieldsOf(const Side& side);

  const WaypointList& waypoints_;
  PositionDialogsState& state_;
  UserInterface& ui_;
  Side from_;
  Side to_;
  QLabel* zoneLabel_ = nullptr;
  QLabel* firstLabel_ = nullptr;
  QLabel* secondLabel_ = nullptr;
  QCheckBox* utmBox_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace trelvik
