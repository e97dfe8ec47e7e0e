#include "instruments/xctrainer/xctrainer.hpp"

#include "instruments/topnav/jobs.hpp"
#include "instruments/xctrainer/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kXcTrainerCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::XcTrainer, xctrainer::DownloadTncmTrack},
    {AccessFunction::DownloadWaypoints, ProtocolType::XcTrainer, xctrainer::DownloadWaypointRecords},
    {AccessFunction::UploadWaypoints, ProtocolType::XcTrainer, xctrainer::UploadWaypointRecords},
    {AccessFunction::DownloadTrackLog, ProtocolType::XcTrainerMxp, xctrainer::DownloadMxpTrack},
    {AccessFunction::DownloadTrackLog, ProtocolType::TopNav, xctrainer::DownloadTncmTrack},
    {AccessFunction::DownloadWaypoints, ProtocolType::TopNav, topnav::DownloadWaypointLines},
    {AccessFunction::UploadWaypoints, ProtocolType::TopNav, xctrainer::UploadWaypointRecords},
    {AccessFunction::DownloadTrackLog, ProtocolType::TopNavMxp, xctrainer::DownloadMxpTrack},
};

}  // namespace

const InstrumentDriver kXcTrainerDriver{"xctrainer", kXcTrainerCells};

}  // namespace trelvik
