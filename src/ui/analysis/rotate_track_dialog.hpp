#pragma once
// The "Rotate Track" dialog: a start and an end position whose great circle
// the selected points are turned onto.
#include <QDialog>
#include <optional>

#include "analysis/rotate_track.hpp"

class QLineEdit;

namespace trelvik {

class RotateTrackDialog : public QDialog {
  Q_OBJECT

 public:
  // `remembered` holds the four fields between openings (the program run);
  // it outlives the dialog. OK reads them with the core's messages and stays
  // open on a fault.
  RotateTrackDialog(RotateTrackFields& remembered, UserInterface& ui, QWidget* parent = nullptr);

  QLineEdit& StartLatitude() const { return *startLat_; }
  QLineEdit& StartLongitude() const { return *startLon_; }
  QLineEdit& EndLatitude() const { return *endLat_; }
  QLineEdit& EndLongitude() const { return *endLon_; }
  // Valid after the dialog was accepted.
  const std::optional<RotatePositions>& Positions() const { return positions_; }

  void accept() override;

 private:
  RotateTrackFields Fields() const;

  RotateTrackFields& remembered_;
  UserInterface& ui_;
  std::optional<RotatePositions> positions_;
  QLineEdit* startLat_ = nullptr;
  QLineEdit* startLon_ = nullptr;
  QLineEdit* endLat_ = nullptr;
  QLineEdit* endLon_ = nullptr;
};

}  // namespace trelvik
