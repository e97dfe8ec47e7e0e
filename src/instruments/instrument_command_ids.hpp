#pragma once
// Ids of the instrument commands that the window, its quick buttons and the
// remote interfaces know by name. The other instrument commands carry their
// ids in the protocol table only.

namespace trelvik::command {

inline constexpr int kReadGarmin = 40029;
inline constexpr int kReadGarminUsb = 40075;
inline constexpr int kReadCompeo = 40054;
inline constexpr int kReadFlytec = 40085;
inline constexpr int kReadAllIqTracks = 40119;
inline constexpr int kReadAllFlytecTracks = 40120;
inline constexpr int kReadXcTrainerMxp = 40091;
inline constexpr int kReadMlr = 40004;
inline constexpr int kReadTopNavMxp = 40090;
inline constexpr int kReadFlymaster = 40126;
inline constexpr int kReadFlytecFlightList = 42020;  // the instrument's flight list, shown in a box
inline constexpr int kWriteDsxPilotData = 42153;

}  // namespace trelvik::command
