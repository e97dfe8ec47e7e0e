#include "analysis/test_flight.hpp"

#include <cmath>
#include <numbers>

#include "geo/transverse_mercator.hpp"
#include "records/track_time.hpp"

namespace trelvik {

namespace {

// Builds the flight in UTM metres, one point per second.
class FlightBuilder {
 public:
  FlightBuilder(double easting, double northing, double altitude, TrackTime start)
      : easting_(easting), northing_(northing), altitude_(altitude), time_(start) {}

  // Straight flight: metres per second east and north, climb in m/s.
  void Straight(int seconds, double east, double north, double climb) {
    for (int i = 0; i < seconds; ++i) Add(easting_ + east, northing_ + north, altitude_ + climb);
  }

  // Circles of `radius` metres, `period` seconds each, drifting and climbing.
  void Circles(int seconds, double radius, int period, double driftEast, double climb) {
    const double centreEast = easting_ - radius;
    const double centreNorth = northing_;
    for (int i = 1; i <= seconds; ++i) {
      const double angle = 2 * std::numbers::pi * i / period;
      Add(centreEast + driftEast * i + radius * std::cos(angle), centreNorth + radius * std::sin(angle),
          altitude_ + climb);
    }
  }

  // Two loops of `radius` metres meeting where the figure starts, each `period` seconds.
  void FigureEight(double radius, int period, double climb) {
    const double east = easting_;
    const double north = northing_;
    for (int loop = 0; loop < 2; ++loop) {
      const double side = loop == 0 ? -1 : 1;  // west loop counter-clockwise, east loop clockwise
      for (int i = 1; i <= period; ++i) {
        const double angle = 2 * std::numbers::pi * i / period;
        Add(east + side * radius * (1 - std::cos(angle)), north + radius * std::sin(angle), altitude_ + climb);
      }
    }
  }

  std::vector<TrackPoint> Take() { return std::move(points_); }

 private:
  void Add(double easting, double northing, double altitude) {
    easting_ = easting;
    northing_ = northing;
    altitude_ = altitude;
    UtmPosition utm;
    utm.easting = easting;
    utm.northing = northing;
    utm.zone = 32;
    utm.band = 'V';
    const GeoPosition position = UtmToLatLon(utm);
    TrackPoint point;
    point.flags = points_.empty() ? kNewSegment : 0;
    point.time = time_++;
    point.lat = RadiansToSemicircle(position.lat);
    point.lon = RadiansToSemicircle(position.lon);
    point.gpsAlt = static_cast<int32_t>(std::lround(altitude * 10));
    point.baroAlt = static_cast<int32_t>(std::lround(altitude - 12));
    points_.push_back(point);
  }

  double easting_;
  double northing_;
  double altitude_;
  TrackTime time_;
  std::vector<TrackPoint> points_;
};

}  // namespace

std::vector<TrackPoint> GenerateTestFlight() {
  SystemTime start;
  start.year = 2008;
  start.month = 7;
  start.day = 12;
  start.hour = 10;
  FlightBuilder flight(420000, 6780000, 1500, TrackTimeFromDate(start));
  flight.Straight(1, 0, 0, 0);            // take-off point
  flight.Straight(99, 0, 10, -1);         // away from the hill
  flight.Circles(600, 40, 30, 1, 2);      // twenty turns in a thermal
  flight.Straight(400, 12, 0, -1.2);      // glide east
  flight.FigureEight(800, 500, -0.3);     // two loops of 800 m
  flight.Straight(101, 0, -11, -2);       // final glide south
  return flight.Take();
}

}  // namespace trelvik
