#include "instruments/garmin/garmin.hpp"

#include "instruments/garmin/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kGarminCells[] = {
    {AccessFunction::DownloadWaypoints, ProtocolType::GarminSerial, garmin::SerialDownloadWaypoints},
    {AccessFunction::DownloadTrackLog, ProtocolType::GarminSerial, garmin::SerialDownloadTrackLog},
    {AccessFunction::UploadWaypoints, ProtocolType::GarminSerial, garmin::SerialUploadWaypoints},
    {AccessFunction::UploadWaypointsAsTrack, ProtocolType::GarminSerial, garmin::SerialUploadWaypointsAsTrack},
    {AccessFunction::UploadCtr, ProtocolType::GarminSerial, garmin::SerialUploadCtr},
};

}  // namespace

const InstrumentDriver kGarminDriver{"garmin", kGarminCells};

}  // namespace trelvik
