#include "instruments/graviter/graviter.hpp"

#include "instruments/graviter/jobs.hpp"

namespace trelvik {
namespace {

// graviter::WriteOwnerName waits for a command that starts it.
constexpr JobCell kGraviterCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::Graviter, graviter::DownloadTrackLog},
};

}  // namespace

const InstrumentDriver kGraviterDriver{"graviter", kGraviterCells};

}  // namespace trelvik
