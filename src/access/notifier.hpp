#pragma once
// Messages to the program that started an unattended run: one datagram each,
// the run's 32-bit data word (little-endian) followed by the text's bytes.
// Shared by the job thread and the window thread, hence the lock.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "records/track_point.hpp"

namespace trelvik {

class NotifySink {
 public:
  virtual ~NotifySink() = default;
  // Delivers one whole datagram; false when it could not be sent.
  virtual bool Send(std::string_view datagram) = 0;
};

class Notifier {
 public:
  // `dataWord`: the run's session number, or the tick at which the command
  // line was parsed. `tickMs` reads the monotonic millisecond clock.
  Notifier(NotifySink& sink, uint32_t dataWord, std::function<uint32_t()> tickMs);

  // SENDLOG: seconds between reported positions; 0 turns position reports off.
  void SetPositionInterval(uint32_t seconds);

  void NotifyText(std::string_view text);
  // "Waypoint count %d", at most once per second; calls in between are dropped.
  void NotifyWaypointCount(int count);
  // Lets the next waypoint count through at once (a new upload starts).
  void RestartWaypointClock();
  void NotifyByteCount(int count);
  // "Pos=%.6f,%.6f,%d" when the point is at least the interval after the last
  // reported one.
  void NotifyPosition(const TrackPoint& point);

 private:
  void SendLocked(std::string_view text);

  std::mutex mutex_;
  NotifySink& sink_;
  uint32_t dataWord_;
  std::function<uint32_t()> tickMs_;
  uint32_t positionInterval_ = 0;
  TrackTime lastPositionTime_ = 0;
  bool waypointCountSent_ = false;
  uint32_t lastWaypointTick_ = 0;
};

// The whole datagram for one text: data word in little-endian order, then the text.
std::string NotificationDatagram(uint32_t dataWord, std::string_view text);

}  // namespace trelvik
