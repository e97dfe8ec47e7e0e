#include "access/notifier.hpp"

#include "base/c_format.hpp"

namespace trelvik {
namespace {

constexpr uint32_t kWaypointCountSpacingMs = 1000;
constexpr double kDegreesPerSemicircle = 180.0 / 2147483648.0;

}  // namespace

std::string NotificationDatagram(uint32_t dataWord, std::string_view text) {
  std::string datagram;
  datagram.reserve(4 + text.size());
  for (int shift = 0; shift < 32; shift += 8) datagram += static_cast<char>((dataWord >> shift) & 0xFF);
  datagram.append(text);
  return datagram;
}

Notifier::Notifier(NotifySink& sink, uint32_t dataWord, std::function<uint32_t()> tickMs)
    : sink_(sink), dataWord_(dataWord), tickMs_(std::move(tickMs)) {}

void Notifier::SetPositionInterval(uint32_t seconds) {
  std::lock_guard lock(mutex_);
  positionInterval_ = seconds;
}

void Notifier::SendLocked(std::string_view text) {
  // A receiver that has gone away must not stop the transfer: the datagram is dropped.
  (void)sink_.Send(NotificationDatagram(dataWord_, text));
}

void Notifier::NotifyText(std::string_view text) {
  std::lock_guard lock(mutex_);
  SendLocked(text);
}

void Notifier::NotifyWaypointCount(int count) {
  std::lock_guard lock(mutex_);
  const uint32_t now = tickMs_();
  if (waypointCountSent_ && now - lastWaypointTick_ < kWaypointCountSpacingMs) return;
  waypointCountSent_ = true;
  lastWaypointTick_ = now;
  SendLocked(CFormat("Waypoint count %d", count));
}

void Notifier::RestartWaypointClock() {
  std::lock_guard lock(mutex_);
  waypointCountSent_ = false;
}

void Notifier::NotifyByteCount(int count) {
  std::lock_guard lock(mutex_);
  SendLocked(CFormat("Byte count %d", count));
}

void Notifier::NotifyPosition(const TrackPoint& point) {
  std::lock_guard lock(mutex_);
  if (positionInterval_ == 0) return;
  if (point.time - lastPositionTime_ < positionInterval_) return;  // unsigned difference
  lastPositionTime_ = point.time;
  SendLocked(CFormat("Pos=%.6f,%.6f,%d", point.lat * kDegreesPerSemicircle, point.lon * kDegreesPerSemicircle,
                     (point.gpsAlt + 5) / 10));
}

}  // namespace trelvik
