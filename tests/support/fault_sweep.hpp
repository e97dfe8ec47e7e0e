#pragma once
// The fault sweep of a driver operation: one correct conversation with the
// instrument, replayed with a fault (silence, garbage, a corrupt byte, a
// hang-up) at every byte of the instrument's answers. Each run must end, close
// its port and show only messages the operation is known to show; a run that
// delivers anything (a result not negative, or data such as a file written)
// must deliver what the clean run delivered, or say why with a message the
// clean run did not show (a warning such as a missing signature).
#include <chrono>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "access/gps_job.hpp"
#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

namespace trelvik::testing {

// A message box the operation may show: its exact text and caption.
struct ShownMessage {
  std::string text;
  std::string caption;
};

// What one run left behind.
struct SweepRun {
  int result = 0;
  std::vector<RecordedMessage> messages;
  std::string observed;    // what the operation delivered, in the case's own words; empty for nothing
  size_t answerBytes = 0;  // of the scripted conversation
  bool waitedOut = false;  // the driver was still waiting when the link gave up on it
  int openLinks = 0;       // after the job block was freed
};

struct InjectedFault {
  size_t atByte;
  LinkFault fault;
};

// Runs the operation once on a fresh job, with the fault when one is given.
using SweepRunner = std::function<SweepRun(const InjectedFault* fault)>;

// What a run that did not fail may deliver besides exactly the clean run's.
enum class Losses {
  None,
  // Records may be missing, never changed or added: for answers that end with
  // a pause rather than a count or an end mark, and parsers that skip noise
  // between records (so a record whose first byte is garbled is skipped as
  // noise). `observed` then holds one record per line.
  WholeRecords,
};

// Runs the operation clean, then with each of `faults` at every byte of its
// answers, and reports every broken rule as a test failure.
void SweepFaults(const std::string& operation, const SweepRunner& run, const std::vector<ShownMessage>& accepted,
                 Losses losses = Losses::None, std::span<const LinkFault> faults = kEveryLinkFault);

// Silent reads of one run may wait this long in all before the link gives up
// on the driver: far beyond any operation's own time-outs.
inline constexpr std::chrono::milliseconds kSweepWaitLimit{10 * 60 * 1000};

// The usual runner, for a fixture type `Job` with a `script`
// (shared_ptr<LinkScript>) already holding the correct conversation, a
// `channel` (RecordingChannel), and a `block` (unique_ptr<GpsJob>) the job
// frame would own. `prepare` sets up the job's inputs and the conversation;
// `observe` names what the operation delivered (the job's data, a file
// written) so that a run that did not fail can be compared with the clean run.
template <typename Job>
SweepRunner JobSweepRunner(std::function<void(Job&)> prepare, JobRoutine routine,
                           std::function<std::string(Job&, int result)> observe) {
  return [prepare, routine, observe](const InjectedFault* fault) {
    auto fixture = std::make_unique<Job>();
    prepare(*fixture);
    fixture->script->WaitLimit(kSweepWaitLimit);
    if (fault != nullptr) fixture->script->InjectFault(fault->atByte, fault->fault);
    SweepRun run;
    run.result = routine(*fixture->block);
    CompleteJob(*fixture->block, run.result);
    run.observed = observe ? observe(*fixture, run.result) : std::string();
    run.messages = fixture->channel.Messages();
    run.answerBytes = fixture->script->AnswerBytes();
    run.waitedOut = fixture->script->WaitedOut();
    fixture->block.reset();  // as the job frame frees the block
    run.openLinks = fixture->script->OpenLinks();
    return run;
  };
}

}  // namespace trelvik::testing
