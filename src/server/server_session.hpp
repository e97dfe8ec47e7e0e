#pragma once
// One connection of the TCP command server: its socket and command buffer
// (the server's loop thread alone touches those), the messages queued for the
// client, and the track choice its job waits for. The job's thread reaches
// the session only through the channel, the queue and the track choice.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "access/tcp_job_channel.hpp"
#include "access/track_list.hpp"

namespace trelvik {

enum class SessionPhase {
  Waiting,    // for a command
  Executing,  // its job runs
  Halting,    // its job was told to stop; the session ends with it
  Closing,    // the last messages go out, then the connection is shut down
};

class ServerSession : public TrackListChooser {
 public:
  using Clock = std::chrono::steady_clock;

  // `wake` tells the server's loop that there is something to do; any thread.
  ServerSession(int fd, std::string address, int port, size_t queueLimit, std::function<void()> wake);
  ~ServerSession() override;
  ServerSession(const ServerSession&) = delete;
  ServerSession& operator=(const ServerSession&) = delete;

  // Queues one message with its terminating zero byte. Any thread. A client
  // that lets more than the queue limit wait is not reading: nothing more is
  // queued and its job is told to stop.
  void Send(std::string_view message);
  // Writes what the socket takes now: 0, or the errno of a failed send.
  int Flush();
  bool Pending();
  bool Overflowed();

  // A later command's track choice (entry index). Loop thread.
  void ChooseTrack(int entry);
  // The job's track choice: sends "$Trelvik TrackList" and waits, looking
  // every 500 ms, until a command chooses a track or the job is stopped.
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override;

  TcpJobChannel& Channel() { return channel_; }
  // Stops the job at its next look, whoever asks.
  void StopJob();

  // Closes the socket (the client is gone or the session ends).
  void CloseSocket();

  // The loop thread's own fields.
  int fd;
  std::string address;  // "%d.%d.%d.%d"
  int port;
  std::string command;  // the command being received
  SessionPhase phase = SessionPhase::Waiting;
  Clock::time_point deadline;  // Waiting: for a command; Closing: for the client to close
  bool shutDown = false;       // the write side is shut down
  std::string portKey;         // the device the job uses (its canonical path)
  bool usb = false;            // the job uses the USB port
  bool jobLive = false;        // a job was started and its end not yet seen
  // Set by the job's thread when its block is gone.
  std::atomic<bool> jobEnded{false};

 private:
  size_t queueLimit_;
  std::function<void()> wake_;
  TcpJobChannel channel_;
  std::mutex mutex_;  // guards the fields below
  std::string queued_;
  bool overflowed_ = false;
  std::condition_variable chosen_;
  std::optional<int> choice_;
};

// "$Trelvik TrackList " and "%u,%u" (start, duration) per entry, "\n" between.
std::string TrackListMessage(std::span<const FlightListEntry> flights);

}  // namespace trelvik
