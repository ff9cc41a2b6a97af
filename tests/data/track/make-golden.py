#!/usr/bin/env python3
"""Writes the golden track files of this folder from the record layouts alone.

Text points: "RIRUvo|Trace|" then "Trc5|%.12f|%.12f|%.2f|%.2f|%d|%.1f|%d|%d|%d|%.6f|%d|".
Binary files: the byte 0xFF, then per point a little-endian u16 payload length and the
payload: kind 2, version, then lon, lat (double), speed, altitude (float), heading
(int32), signal (float), weight, flags, colour (int32), time (double), timeZone
(int32), smoothAltitude, smoothSpeed, smoothSignal (float) and, from version 1 on,
climbSpeed (float). Run it from this folder after changing a point below.
"""
import math
import struct

# lon, lat, speed, altitude, heading, signal, weight, flags, colour, time, timeZone,
# then smoothAltitude, smoothSpeed, smoothSignal, climbSpeed for the binary files.
POINTS = [
    ("0.043305546296", "0.259416675926", "0.09", "1149.80", 0, "49.7", 1, 1, 0,
     "8663.333333", 0, (1149.5, 0.25, 49.5, 0.0)),
    ("0.043305444444", "0.259416666667", "4.56", "1149.10", 249, "49.7", 1, 2, 3,
     "8663.333345", 0, (1149.25, 4.5, 49.75, -1.5)),
    ("-0.500000000000", "-0.250000000000", "120.50", "-12.25", 359, "0.0", 7, 0, 261,
     "8663.500000", -2, (-12.0, 120.0, 0.0, 3.25)),
    ("1.000000000000", "0.499999999999", "0.00", "8848.00", 90, "100.0", 65535, 1, 27,
     "9000.123456", 12, (8848.0, 0.0, 100.0, 0.0)),
]


def trc5(lon, lat, speed, alt, heading, signal, weight, flags, colour, time, zone):
    return ("RIRUvo|Trace|Trc5|%s|%s|%s|%s|%d|%s|%d|%d|%d|%s|%d|\n"
            % (lon, lat, speed, alt, heading, signal, weight, flags, colour, time, zone))


def binary_record(point, version, smoothed):
    lon, lat, speed, alt, heading, signal, weight, flags, colour, time, zone, _ = point
    payload = struct.pack("<BBddffifiiidi", 2, version, float(lon), float(lat),
                          float(speed), float(alt), heading, float(signal), weight, flags,
                          colour, float(time), zone)
    smooth_alt, smooth_speed, smooth_signal, climb = smoothed
    payload += struct.pack("<fff", smooth_alt, smooth_speed, smooth_signal)
    if version >= 1:
        payload += struct.pack("<f", climb)
    return struct.pack("<H", len(payload)) + payload


def binary_file(version, smoothed_of):
    return b"\xff" + b"".join(binary_record(p, version, smoothed_of(p)) for p in POINTS)


def write(name, data):
    with open(name, "wb") as out:
        out.write(data if isinstance(data, bytes) else data.encode("latin-1"))


write("points-trc5.wdt", "".join(trc5(*p[:11]) for p in POINTS))
write("points-v1.trc", binary_file(1, lambda p: p[11]))
write("points-v0.trc", binary_file(0, lambda p: p[11]))
write("points-v0-as-v1.trc", binary_file(1, lambda p: p[11][:3] + (0.0,)))
write("points-text-as-v1.trc", binary_file(1, lambda p: (0.0, 0.0, 0.0, 0.0)))

# The older kinds, read with the device's zone -2 (hours to add to local time for UTC).
ZONE = -2
LAT = "0.333333333333"
old = [
    "RIRUvo|Trace|GPSTrace|0.100000000000|0.200000000000|10.50|100.00|45|3|0|\n",
    "RIRUvo|Trace|Trc|0.050000000000|%s|5.00|200.00|370|230.0|1|1|4|100.500000|\n" % LAT,
    "RIRUvo|Trace|Trc2|0.100000000000|%s|5.00|200.00|-10|360.0|2|0|4|100.600000|\n" % LAT,
    "RIRUvo|Trace|Trc3|0.150000000000|%s|5.00|200.00|20|60.0|2|0|4|100.700000|\n" % LAT,
    "RIRUvo|Trace|Trc4|0.200000000000|%s|5.00|200.00|30|55.5|1|0|4|100.800000|5|\n" % LAT,
    "RIRUvo|Trace|Trc9|0.200000000000|%s|5.00|200.00|30|55.5|1|0|4|100.800000|5|\n" % LAT,
    "RIRUvo|Trace|Trc5|0.250000000000|%s|5.00|200.00|30|55.5|1|0|\n" % LAT,
    "RIRUvo|Status7|1|2|3|\n",
]
write("old-kinds.wdt", "".join(old))

trc_lon = 0.05 / math.cos(float(LAT) * math.pi)  # stored scaled by cos(latitude)
f32 = lambda v: struct.unpack("<f", struct.pack("<f", v))[0]
trc2_signal = f32(f32(f32(f32(360.0 - 100.0) / 130.0) * 10.0) + 31.0)
expected = [
    trc5("0.100000000000", "0.200000000000", "10.50", "100.00", 45, "0.0", 3, 0, 0,
         "0.000000", ZONE),
    trc5("%.12f" % trc_lon, LAT, "5.00", "200.00", 10, "41.0", 1, 1, 4, "100.500000", ZONE),
    trc5("0.100000000000", LAT, "5.00", "200.00", 350, "%.1f" % trc2_signal, 2, 2, 4,
         "100.600000", ZONE),
    trc5("0.150000000000", LAT, "5.00", "200.00", 20, "60.0", 2, 0, 4, "100.700000", ZONE),
    trc5("0.200000000000", LAT, "5.00", "200.00", 30, "55.5", 1, 0, 4, "100.800000", ZONE),
]
write("old-kinds-as-trc5.wdt", "".join(expected))

# A binary file whose damaged records must be skipped: P1, a record of another kind,
# one of a later version, a version 0 record of version 1's length, P3, an empty
# record, P4, then P4 again cut short by the end of the file.
records = binary_file(1, lambda p: p[11])[1:]
size = len(records) // 4
P = [records[i * size:(i + 1) * size] for i in range(4)]
write("damaged.trc", b"\xff" + P[0] + P[1][:2] + b"\x03" + P[1][3:] + P[1][:3] + b"\x02" +
      P[1][4:] + P[1][:3] + b"\x00" + P[1][4:] + P[2] + struct.pack("<H", 0) + P[3] + P[3][:40])

# Files with one damaged record, P2, among readable ones (malformed/, also replayed by
# the fuzz target): the readers must load P1, P3 and P4 and nothing in P2's place.
import os
os.makedirs("malformed", exist_ok=True)
with_p2 = lambda p2: b"\xff" + P[0] + p2 + P[2] + P[3]
lon_at, lat_at, alt_at = 4, 12, 24  # offsets of P2's fields in its framed record
write("malformed/length-broken.trc", with_p2(b"\xff" + P[1][1:]))
write("malformed/byte-lost.trc", with_p2(P[1][:30] + P[1][31:]))
write("malformed/lat-off-globe.trc",
      with_p2(P[1][:lat_at] + struct.pack("<d", 0.75) + P[1][lat_at + 8:]))
write("malformed/nan-altitude.trc",
      with_p2(P[1][:alt_at] + struct.pack("<f", float("nan")) + P[1][alt_at + 4:]))

lines = [trc5(*p[:11]) for p in POINTS]
def with_line2(line2):
    return lines[0] + line2 + lines[2] + lines[3]
write("malformed/digit-broken.wdt", with_line2(lines[1].replace("0.2594", "0.25x4", 1)))
write("malformed/lon-off-globe.wdt", with_line2(lines[1].replace("0.043305444444", "1.2", 1)))
write("malformed/negative-weight.wdt", with_line2(lines[1].replace("|49.7|1|2|", "|49.7|-5|2|")))
write("malformed/infinite-time.wdt", with_line2(lines[1].replace("8663.333345", "inf")))
# Nothing is lost here: the line that lost its newline holds two whole records, and the
# text file whose first byte became the binary marker still has the rest of its line.
write("malformed/marked-text.wdt", "\xff" + "".join(lines)[1:])
write("malformed/newline-lost.wdt", lines[0][:-1] + lines[1] + lines[2] + lines[3])
