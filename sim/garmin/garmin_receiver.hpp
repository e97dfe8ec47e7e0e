#pragma once
// A simulated Garmin receiver at the application level: whole packets in,
// whole packets out, whatever link carries them (the serial framing of
// garmin_serial.cpp, or a USB packet layer). It acknowledges every packet it
// gets, answers the product request with its product data and, when it has
// one, its capability array, and plays the A100 and A300..A302 transfers in
// both directions, sending each packet of a transfer once the previous one
// has been acknowledged.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "garmin/garmin_records.hpp"

namespace trelvik::sim::garmin {

struct SimPacket {
  uint8_t id = 0;
  std::string data;
};

// What the receiver is and holds.
struct ReceiverModel {
  uint16_t productId = 130;
  int16_t version = 280;  // x 100
  std::string description = "eTrex Legend Software Version 2.80";
  // The capability array's bytes (3-byte entries); none for older units.
  std::optional<std::string> capabilities;
  bool ackProductRequest = true;  // some units acknowledge the request before answering it
  int pvtPackets = 0;             // PVT packets streamed after the product data, before the array
  int waypointType = 108;
  int trackProtocol = 301;  // 0: none
  int trackHeaderType = 310;
  int trackPointType = 301;
  int wrongAckOf = -1;  // the acknowledgement of this packet id names another id
  std::vector<SimWaypoint> waypoints;
  std::vector<SimTrack> tracks;
};

// The capability array of a receiver: "P000,L001,A010,..." entries, each a
// tag letter and a decimal number; false for a malformed list.
bool CapabilityBytes(const std::string& list, std::string& bytes);
// The usual array of a unit with the model's waypoint and track types.
std::string DefaultCapabilityList(const ReceiverModel& model);

class GarminReceiver {
 public:
  explicit GarminReceiver(ReceiverModel model) : model_(std::move(model)) {}

  // A packet from the host; the answers are appended to `out`.
  void Receive(const SimPacket& packet, std::vector<SimPacket>& out);
  // Called every few milliseconds: streams PVT packets while they are due.
  void Tick(uint64_t nowMs, std::vector<SimPacket>& out);

  const ReceiverModel& Model() const { return model_; }
  bool PoweredOff() const { return poweredOff_; }

 private:
  void Acknowledge(uint8_t id, std::vector<SimPacket>& out) const;
  void StartTransfer(std::deque<SimPacket> packets, std::vector<SimPacket>& out);
  void SendNext(std::vector<SimPacket>& out);
  void SendCapabilities(std::vector<SimPacket>& out);
  std::deque<SimPacket> WaypointTransfer() const;
  std::deque<SimPacket> TrackTransfer() const;

  ReceiverModel model_;
  std::deque<SimPacket> transfer_;  // still to send
  int awaitedAck_ = -1;             // id of the transfer packet sent last, until acknowledged
  bool arrayWait_ = false;          // product data sent, its acknowledgement not yet in
  int pvtLeft_ = 0;
  uint64_t nextPvtMs_ = 0;
  uint64_t nowMs_ = 0;
  bool poweredOff_ = false;
  std::vector<std::string> uploadedWaypoints_;
};

}  // namespace trelvik::sim::garmin
