#pragma once
// A scripted instrument for driver tests: "expect these bytes, answer those,
// then go silent". The test keeps the LinkScript; the driver gets a Link that
// plays it. A fault can be injected at any byte of the answers, so one correct
// conversation yields a whole sweep of broken ones.
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "access/link.hpp"
#include "support/recording_channel.hpp"

namespace trelvik {

enum class LinkFault {
  Silence,  // nothing more arrives
  Garbage,  // a burst of bytes no protocol expects, then silence
  HangUp,   // the device goes away: reads and writes fail
  Corrupt,  // one byte arrives with its bits flipped, the rest as scripted
};

inline constexpr LinkFault kEveryLinkFault[] = {LinkFault::Silence, LinkFault::Garbage, LinkFault::Corrupt,
                                                LinkFault::HangUp};
const char* LinkFaultName(LinkFault fault);

class LinkScript : public std::enable_shared_from_this<LinkScript> {
 public:
  // Silent reads advance `clock` by their time-out, as a real read waits.
  explicit LinkScript(ManualClock* clock = nullptr) : clock_(clock) {}

  // The driver must send exactly these bytes next (in one write or several).
  LinkScript& Expect(std::string_view bytes);
  // These bytes arrive once every earlier step is done.
  LinkScript& Answer(std::string_view bytes);
  // The device goes away once every earlier step is done.
  LinkScript& HangUp();
  // Reads return at most this many bytes each (default: as many as fit).
  LinkScript& ChunkSize(size_t bytes);
  // The next Configure fails this way.
  LinkScript& FailConfigure(SetupError error);
  // After `answerBytes` bytes of the answers have been delivered, `fault`
  // replaces the rest (Corrupt: garbles only the next byte).
  LinkScript& InjectFault(size_t answerBytes, LinkFault fault);
  // Once silent reads have waited this long in all, the device goes away, so
  // a driver that never stops waiting still ends; WaitedOut() tells.
  LinkScript& WaitLimit(std::chrono::milliseconds limit);

  // A link that plays this script.
  std::unique_ptr<Link> NewLink();

  // What the driver did.
  std::string Written() const;
  bool Mismatch() const;              // a write differed from the expected bytes
  std::string MismatchReport() const;
  bool Finished() const;              // every step has been played
  int ConfigureCount() const;
  LineSetup LastSetup() const;
  // What the driver sent with each speed change marked where it happened,
  // as "{38400}", so tests see which bytes went at which speed.
  std::string WrittenWithSpeeds() const;
  size_t AnswerBytes() const;         // of every Answer step, played or not
  bool WaitedOut() const;             // the wait limit was reached
  int OpenLinks() const;              // links of this script not yet destroyed

 private:
  friend class ScriptedLink;
  struct Step {
    enum Kind { Expect, Answer, HangUp } kind;
    std::string bytes;
  };
  int Write(std::span<const uint8_t> bytes);
  int Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout);
  void LinkClosed();
  SetupError Configure(const LineSetup& setup);
  void AdvanceLocked();
  void ReleaseLocked(std::string_view bytes);

  ManualClock* clock_;
  mutable std::mutex mutex_;
  std::deque<Step> steps_;
  size_t expectPos_ = 0;
  std::string inbox_;
  std::string written_;
  std::string timeline_;
  bool hungUp_ = false;
  bool silenced_ = false;
  bool mismatch_ = false;
  std::string mismatchReport_;
  size_t chunkSize_ = 0;
  SetupError configureError_ = SetupError::None;
  int configureCount_ = 0;
  LineSetup lastSetup_;
  size_t delivered_ = 0;
  bool faultArmed_ = false;
  size_t faultAt_ = 0;
  LinkFault fault_ = LinkFault::Silence;
  size_t answerBytes_ = 0;
  std::chrono::milliseconds waited_{0};
  std::chrono::milliseconds waitLimit_{0};  // 0 = none
  bool waitedOut_ = false;
  int openLinks_ = 0;
};

// Opens the prepared scripts in turn; a name asked for when none is left (or
// after AddUnavailable) is a failed attempt.
class FakeLinkOpener : public LinkOpener {
 public:
  void AddScript(std::shared_ptr<LinkScript> script);
  void AddUnavailable(int attempts = 1);
  OpenedLink Open(const std::string& portName) override;
  std::vector<std::string> OpenedNames() const;

 private:
  mutable std::mutex mutex_;
  std::deque<std::shared_ptr<LinkScript>> outcomes_;  // null = unavailable
  std::vector<std::string> names_;
};

}  // namespace trelvik
