#include "instruments/mtk/mtk.hpp"

#include "instruments/mtk/jobs.hpp"

namespace trelvik {
namespace {

constexpr JobCell kMtkCells[] = {
    {AccessFunction::DownloadTrackLog, ProtocolType::MtkLogger, mtk::DownloadTrackLog},
    {AccessFunction::EraseLog, ProtocolType::MtkLogger, mtk::EraseLog},
};

}  // namespace

const InstrumentDriver kMtkDriver{"mtk", kMtkCells};

}  // namespace trelvik
