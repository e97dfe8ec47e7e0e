#include "support/fake_link.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/c_format.hpp"

namespace trelvik {
namespace {

constexpr char kGarbageBytes[] = "\xFF\x00\xA5\x5A\xFE\x80\x13\x11\x7F\x24\x2A\x0D";
constexpr std::string_view kGarbage(kGarbageBytes, sizeof kGarbageBytes - 1);

std::string Printable(std::string_view bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      text += static_cast<char>(c);
    } else {
      text += CFormat("<%02X>", c);
    }
  }
  return text;
}

}  // namespace

const char* LinkFaultName(LinkFault fault) {
  switch (fault) {
    case LinkFault::Silence: return "silence";
    case LinkFault::Garbage: return "garbage";
    case LinkFault::HangUp: return "hang-up";
    case LinkFault::Corrupt: return "corrupt byte";
  }
  return "?";
}

class ScriptedLink : public Link {
 public:
  explicit ScriptedLink(std::shared_ptr<LinkScript> script) : script_(std::move(script)) {}
  ~ScriptedLink() override { script_->LinkClosed(); }
  ScriptedLink(const ScriptedLink&) = delete;
  ScriptedLink& operator=(const ScriptedLink&) = delete;
  int Write(std::span<const uint8_t> bytes, std::chrono::milliseconds) override { return script_->Write(bytes); }
  int Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) override {
    return script_->Read(buffer, timeout);
  }
  SetupError Configure(const LineSetup& setup) override { return script_->Configure(setup); }
  bool Purge() override { return true; }

 private:
  std::shared_ptr<LinkScript> script_;
};

LinkScript& LinkScript::Expect(std::string_view bytes) {
  std::lock_guard lock(mutex_);
  steps_.push_back({Step::Expect, std::string(bytes)});
  return *this;
}

LinkScript& LinkScript::Answer(std::string_view bytes) {
  std::lock_guard lock(mutex_);
  steps_.push_back({Step::Answer, std::string(bytes)});
  answerBytes_ += bytes.size();
  return *this;
}

LinkScript& LinkScript::HangUp() {
  std::lock_guard lock(mutex_);
  steps_.push_back({Step::HangUp, {}});
  return *this;
}

LinkScript& LinkScript::ChunkSize(size_t bytes) {
  std::lock_guard lock(mutex_);
  chunkSize_ = bytes;
  return *this;
}

LinkScript& LinkScript::FailConfigure(SetupError error) {
  std::lock_guard lock(mutex_);
  configureError_ = error;
  return *this;
}

LinkScript& LinkScript::InjectFault(size_t answerBytes, LinkFault fault) {
  std::lock_guard lock(mutex_);
  faultArmed_ = true;
  faultAt_ = answerBytes;
  fault_ = fault;
  return *this;
}

LinkScript& LinkScript::WaitLimit(std::chrono::milliseconds limit) {
  std::lock_guard lock(mutex_);
  waitLimit_ = limit;
  return *this;
}

std::unique_ptr<Link> LinkScript::NewLink() {
  {
    std::lock_guard lock(mutex_);
    ++openLinks_;
  }
  return std::make_unique<ScriptedLink>(shared_from_this());
}

void LinkScript::LinkClosed() {
  std::lock_guard lock(mutex_);
  --openLinks_;
}

void LinkScript::ReleaseLocked(std::string_view bytes) {
  if (silenced_ || hungUp_) return;
  if (faultArmed_ && fault_ == LinkFault::Corrupt) {
    std::string arriving(bytes);
    if (delivered_ + arriving.size() > faultAt_) {
      char& hit = arriving[faultAt_ - delivered_];
      hit = static_cast<char>(static_cast<unsigned char>(hit) ^ 0xFF);
      faultArmed_ = false;
    }
    inbox_.append(arriving);
    delivered_ += arriving.size();
    return;
  }
  if (faultArmed_ && delivered_ + bytes.size() >= faultAt_) {
    const size_t keep = faultAt_ - delivered_;
    inbox_.append(bytes.substr(0, keep));
    delivered_ += keep;
    faultArmed_ = false;
    switch (fault_) {
      case LinkFault::Silence: silenced_ = true; break;
      case LinkFault::Garbage: inbox_.append(kGarbage); silenced_ = true; break;
      case LinkFault::HangUp: hungUp_ = true; break;
      case LinkFault::Corrupt: break;  // handled above
    }
    return;
  }
  inbox_.append(bytes);
  delivered_ += bytes.size();
}

void LinkScript::AdvanceLocked() {
  while (!steps_.empty() && !silenced_ && !hungUp_) {
    Step& step = steps_.front();
    if (step.kind == Step::Expect) return;
    if (step.kind == Step::Answer) {
      ReleaseLocked(step.bytes);
    } else {
      hungUp_ = true;
    }
    steps_.pop_front();
  }
}

int LinkScript::Write(std::span<const uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  if (hungUp_) return -1;
  const std::string_view sent(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  written_.append(sent);
  timeline_.append(sent);
  for (size_t i = 0; i < sent.size() && !mismatch_;) {
    AdvanceLocked();
    if (steps_.empty() || steps_.front().kind != Step::Expect || silenced_ || hungUp_) break;
    Step& step = steps_.front();
    const size_t n = std::min(sent.size() - i, step.bytes.size() - expectPos_);
    if (sent.compare(i, n, step.bytes, expectPos_, n) != 0) {
      mismatch_ = true;
      mismatchReport_ = "expected \"" + Printable(step.bytes) + "\", got \"" +
                        Printable(std::string_view(written_).substr(written_.size() - sent.size() + i)) + "\"";
      steps_.clear();
      silenced_ = true;
      break;
    }
    i += n;
    expectPos_ += n;
    if (expectPos_ == step.bytes.size()) {
      steps_.pop_front();
      expectPos_ = 0;
    }
  }
  AdvanceLocked();
  return 0;
}

int LinkScript::Read(std::span<uint8_t> buffer, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  AdvanceLocked();
  if (!inbox_.empty()) {
    size_t n = std::min(buffer.size(), inbox_.size());
    if (chunkSize_ > 0) n = std::min(n, chunkSize_);
    std::memcpy(buffer.data(), inbox_.data(), n);
    inbox_.erase(0, n);
    return static_cast<int>(n);
  }
  if (hungUp_) return -1;
  if (clock_) clock_->Advance(timeout);
  waited_ += timeout;
  if (waitLimit_.count() > 0 && waited_ >= waitLimit_) {
    waitedOut_ = true;
    hungUp_ = true;
    return -1;
  }
  return 0;
}

SetupError LinkScript::Configure(const LineSetup& setup) {
  std::lock_guard lock(mutex_);
  ++configureCount_;
  lastSetup_ = setup;
  timeline_ += "{" + std::to_string(setup.baud) + "}";
  const SetupError error = configureError_;
  configureError_ = SetupError::None;
  return error;
}

std::string LinkScript::Written() const {
  std::lock_guard lock(mutex_);
  return written_;
}
bool LinkScript::Mismatch() const {
  std::lock_guard lock(mutex_);
  return mismatch_;
}
std::string LinkScript::MismatchReport() const {
  std::lock_guard lock(mutex_);
  return mismatchReport_;
}
bool LinkScript::Finished() const {
  std::lock_guard lock(mutex_);
  return steps_.empty() && inbox_.empty();
}
int LinkScript::ConfigureCount() const {
  std::lock_guard lock(mutex_);
  return configureCount_;
}
LineSetup LinkScript::LastSetup() const {
  std::lock_guard lock(mutex_);
  return lastSetup_;
}
std::string LinkScript::WrittenWithSpeeds() const {
  std::lock_guard lock(mutex_);
  return timeline_;
}

size_t LinkScript::AnswerBytes() const {
  std::lock_guard lock(mutex_);
  return answerBytes_;
}
bool LinkScript::WaitedOut() const {
  std::lock_guard lock(mutex_);
  return waitedOut_;
}
int LinkScript::OpenLinks() const {
  std::lock_guard lock(mutex_);
  return openLinks_;
}

void FakeLinkOpener::AddScript(std::shared_ptr<LinkScript> script) {
  std::lock_guard lock(mutex_);
  outcomes_.push_back(std::move(script));
}

void FakeLinkOpener::AddUnavailable(int attempts) {
  std::lock_guard lock(mutex_);
  for (int i = 0; i < attempts; ++i) outcomes_.push_back(nullptr);
}

OpenedLink FakeLinkOpener::Open(const std::string& portName) {
  std::lock_guard lock(mutex_);
  names_.push_back(portName);
  OpenedLink opened;
  if (outcomes_.empty()) {
    opened.errorNumber = ENOENT;
    return opened;
  }
  std::shared_ptr<LinkScript> script = std::move(outcomes_.front());
  outcomes_.pop_front();
  if (!script) {
    opened.errorNumber = EBUSY;
    return opened;
  }
  opened.status = OpenStatus::Opened;
  opened.link = script->NewLink();
  return opened;
}

std::vector<std::string> FakeLinkOpener::OpenedNames() const {
  std::lock_guard lock(mutex_);
  return names_;
}

}  // namespace trelvik
