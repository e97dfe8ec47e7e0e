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

constexpr JobCell kGarminUsbCells[] = {
    {AccessFunction::DownloadWaypoints, ProtocolType::GarminUsb, garmin::UsbDownloadWaypoints},
    {AccessFunction::DownloadTrackLog, ProtocolType::GarminUsb, garmin::UsbDownloadTrackLog},
    {AccessFunction::UploadWaypoints, ProtocolType::GarminUsb, garmin::UsbUploadWaypoints},
    {AccessFunction::UploadWaypointsAsTrack, ProtocolType::GarminUsb, garmin::UsbUploadWaypointsAsTrack},
    {AccessFunction::UploadCtr, ProtocolType::GarminUsb, garmin::UsbUploadCtr},
};

}  // namespace

const InstrumentDriver kGarminDriver{"garmin", kGarminCells};
const InstrumentDriver kGarminUsbDriver{"garminusb", kGarminUsbCells};

}  // namespace trelvik
