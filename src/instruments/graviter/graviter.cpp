#include "instruments/graviter/graviter.hpp"

#include "instruments/graviter/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kGraviterCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Graviter, graviter::DownloadTrackLog},
    {AccessFunction::UploadPilotName, ProtocolType::Graviter, graviter::WriteOwnerName},
};

}  // namespace

const InstrumentDriver kGraviterDriver{"graviter", kGraviterCells};

}  // namespace trelvik
