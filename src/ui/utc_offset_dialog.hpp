#pragma once
// "Set UTC offset for TN": how far the TopNav's clock is ahead of UTC, in
// whole hours from 12 down to -12 and an optional half hour.
#include <QDialog>

#include "settings/utc_offset_choice.hpp"

class QComboBox;

namespace trelvik {

inline constexpr const char* kUtcOffsetCaption = "Set UTC offset for TN";

class UtcOffsetDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows `seconds` (the UtcOffsetForTN setting) in the two lists.
  UtcOffsetDialog(int32_t seconds, QWidget* parent);

  // What the lists show now, as the setting stores it.
  int32_t Seconds() const;
  QComboBox& Hours() const { return *hours_; }
  QComboBox& HalfHour() const { return *halfHour_; }

 private:
  QComboBox* hours_ = nullptr;
  QComboBox* halfHour_ = nullptr;
};

}  // namespace trelvik
