#!/usr/bin/env python3
"""The CSV conversion of a history file, written plainly with struct and csv.

    bench/csv_export_reference.py HISTORY.bin OUT.csv

Writes what `vesk-cli history export HISTORY.bin OUT.csv` writes, byte for byte: the three
record layouts, empty records (date 0.0) left out as the load does, OUT created with its
header line or appended to when it exists, the numbers of "%1.5f;%s;%1.1f;...", the date
text of the C locale ("%x %X": 01/18/26 15:00:00) as vesk-cli runs with it. bench_csv times
the program's export against this script on the same file (docs/PERFORMANCE.md).

Where the two may differ: a date beyond the years chrono and strftime cover, or not a
number, gets a meaningless text from the program; the script raises on it.
"""

import csv
import math
import struct
import sys
import time

HEADER = ("Date;Date as string;Ext. temp \u00b0C;Int. temp \u00b0C;Hot temp \u00b0C;"
          "RH int %;RH ext %;Active heater;Press mb;Windspeed km/h;Wind dir \u00b0")

MS_PER_DAY = 86400000
UNIX_EPOCH_DAY = 25569  # 1899-12-30 to 1970-01-01


# Each layout: record size, struct format, and the unpacked fields in the CSV's order:
# Date, TempExt, TempInt, TempHot, RHInt, RHExt, ActiveHeater, Pressure, WindSpeed, Windir.
# None is a value the layout lacks (0.0).
def current(r):
    # Date, TempExt, RHExt, TempInt, RHInt, TempHot, Pressure, Windir, WindSpeed, heater
    return (r[0], r[1], r[3], r[5], r[4], r[2], r[9], r[6], r[8], r[7])


def roz_eza(r):
    # Date, Temp_Ext, TempPCB, TempBaseDome, TempCCD, RH_Ext, RH_Int, heater, PressATM,
    # WinSpeed, WinDir
    return (r[0], r[1], r[2], r[3], r[6], r[5], r[7], r[8], r[9], r[10])


def corvo(r):
    # Date, Temp, Temp2, TempHot, tempCCD, RH, RH2, heater
    return (r[0], r[1], r[2], r[3], r[6], r[5], r[7], 0.0, 0.0, 0.0)


LAYOUTS = {
    0x1AE1A12F: (80, "<9dB7x", current),
    0x1AE151AF: (88, "<7dB7x3d", roz_eza),
    0x1AE1513F: (64, "<7dB7x", corvo),
}


def llround(x):
    """C's llround: to nearest, halves away from zero."""
    a = abs(x)
    n = math.floor(a)
    if a - n >= 0.5:
        n += 1
    return -n if x < 0 else n


def civil_from_days(z):
    """Year, month, day of a day count from 1970-01-01 (proleptic Gregorian)."""
    z += 719468
    era = z // 146097
    doe = z - era * 146097
    yoe = (doe - doe // 1460 + doe // 36524 - doe // 146096) // 365
    doy = doe - (365 * yoe + yoe // 4 - yoe // 100)
    mp = (5 * doy + 2) // 153
    day = doy - (153 * mp + 2) // 5 + 1
    month = mp + 3 if mp < 10 else mp - 9
    return yoe + era * 400 + (month <= 2), month, day


def date_text(value):
    """The date-time text: rounded to the millisecond, then "%x %X" of whole seconds."""
    days, in_day = divmod(llround(value * MS_PER_DAY), MS_PER_DAY)
    days -= UNIX_EPOCH_DAY
    year, month, day = civil_from_days(days)
    seconds = in_day // 1000
    # time.strftime takes Monday as 0 and the day of the year from 1 (C's tm_yday 0).
    week_day = (days + 3) % 7
    return time.strftime("%x %X", (year, month, day, seconds // 3600, seconds // 60 % 60,
                                   seconds % 60, week_day, 1, -1))


def fixed(value, decimals):
    """printf's "%1.Nf" where Python's differs: an undefined value keeps its sign."""
    if value != value:
        return "-nan" if math.copysign(1.0, value) < 0 else "nan"
    return "%.*f" % (decimals, value)


def rows(records):
    for date, te, ti, th, rhi, rhe, heater, p, ws, wd in records:
        if math.isnan(date + te + ti + th + rhi + rhe + p + ws + wd):
            yield [fixed(date, 5), date_text(date), fixed(te, 1), fixed(ti, 1), fixed(th, 1),
                   fixed(rhi, 1), fixed(rhe, 0), "Y" if heater else "N", fixed(p, 1),
                   fixed(ws, 1), fixed(wd, 0), ""]
        else:
            yield ["%.5f" % date, date_text(date), "%.1f" % te, "%.1f" % ti, "%.1f" % th,
                   "%.1f" % rhi, "%.0f" % rhe, "Y" if heater else "N", "%.1f" % p,
                   "%.1f" % ws, "%.0f" % wd, ""]


def read_history(name):
    with open(name, "rb") as f:
        data = f.read()
    if len(data) < 4:
        sys.exit(f"{name}: Read beyond end of file")
    tag, = struct.unpack_from("<I", data, 0)
    if tag not in LAYOUTS:
        sys.exit(f"{name} does not have the correct format !")
    size, layout, fields = LAYOUTS[tag]
    if len(data) < 8:
        sys.exit(f"{name}: Read beyond end of file")
    count, = struct.unpack_from("<I", data, 4)
    if count * size > len(data) - 8:
        sys.exit(f"{name}: the header announces {count} records of {size} bytes but only "
                 f"{len(data) - 8} bytes follow it")
    records = [fields(r) for r in struct.iter_unpack(layout, data[8:8 + count * size])]
    # The load leaves out empty records, all but the last of two or more examined.
    last = len(records) - 1 if len(records) > 1 else len(records)
    return [r for i, r in enumerate(records) if r[0] != 0.0 or i >= last]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, target = sys.argv[1:]
    records = read_history(source)
    if not records:
        sys.exit(f"{source} holds no record: nothing exported")
    try:
        out = open(target, "x", newline="", encoding="cp1252")
        new = True
    except FileExistsError:
        out = open(target, "a", newline="", encoding="cp1252")
        new = False
    with out:
        writer = csv.writer(out, delimiter=";", lineterminator="\r\n", quoting=csv.QUOTE_NONE)
        if new:
            writer.writerow(HEADER.split(";"))
        writer.writerows(rows(records))


if __name__ == "__main__":
    main()
