#!/usr/bin/env python3
"""Builds the binary golden files of tests/data/track_files from the layouts of
the formats, independently of the program's writers: flight.dat (old FlightLog)
and flight.mps (MapSource). Run from the source root."""
import struct

T0 = 710071200  # 2012-07-01 10:00:00 in seconds since 1989-12-31


def dat():
    words = [0x00000000, 0x01000000, 3, 0x80002054]  # altitudes; 3 points; zone 32, band T
    for i, (east, north, alt) in enumerate([(500000, 5206000, 15000), (500076, 5206111, 15107), (500228, 5206222, -12)]):
        words += [T0 + 10 * i, east, north, alt & 0xFFFFFF]
    words.append((-sum(words)) & 0xFFFFFFFF)
    r = 0
    for word in words:
        for bit in range(31, -1, -1):
            r = 2 * r + ((word >> bit) & 1)
            if r >= 1431655777:
                r -= 1431655777
    words.append(~r & 0xFFFFFFFF)
    return b''.join(struct.pack('>I', w) for w in words)


def record(kind, data):
    return struct.pack('<I', len(data)) + kind + data


def semicircles(degrees):
    x = degrees * 2**31 / 180
    return int(x + 0.5) if x >= 0 else int(x - 0.5)


def mps_head():
    return (b'MsRcd\0' + record(b'D', b'i\0') +
            record(b'A', struct.pack('<H', 504) + b'SQA\0Nov  6 2003\0' + b'16:01:32\0'))


def mps():
    points = b''
    for i, (lat, lon, alt) in enumerate([(47.0, 8.5, 1500.0), (47.001, 8.501, 1510.7), (47.002, 8.503, 1522.0)]):
        points += struct.pack('<iiBdBIBd', semicircles(lat), semicircles(lon), 1, alt, 1,
                              T0 + 10 * i + 631065600, 0, 0.0)
    track = b'Trelvik track log source   \0' + b'\1' + struct.pack('<II', 0, 3) + points
    return mps_head() + record(b'T', track) + record(b'V', b'\0\1')


def mps_waypoints():
    data = b''
    for name, desc, lat, lon, alt in [(b'GOLDEN', b'Golden gate', 47.0, 8.5, 1500),
                                       (b'LAND1', b'Landing \xe9t\xe9', -12.5, -70.25, 0)]:
        wpt = (name + b'\0' + b'\0' * 9 + b'\xff' * 12 + struct.pack('<HI', 0, 0xFFFFFFFF) +
               struct.pack('<iiBd', semicircles(lat), semicircles(lon), 1, float(alt)) + desc + b'\0' +
               b'\0' * 17 + struct.pack('<I', 18) + b'\0' * 20)
        data += record(b'W', wpt)
    return mps_head() + data + record(b'V', b'\0\1')


open('tests/data/track_files/flight.dat', 'wb').write(dat())
open('tests/data/track_files/flight.mps', 'wb').write(mps())
open('tests/data/waypoint_files/waypoints.mps', 'wb').write(mps_waypoints())
