#!/usr/bin/env python3
"""Writes rapid_run.txt: a careful drive of the quick demo's rapid line (line_rapid.dat with
train_313-1000_8cars.dat) from 鷹見 to the terminal 鳥羽台, below the speed limits and the ATS
patterns, stopping inside every platform window, and leaving each stop after its doors have closed.
The local train ahead holds 東鷹見's home signal at stop: the drive stops short of it and goes on
once it has cleared.

kestrel-run plays a script open-loop, so the moments of the script are found here against
kestrel-run itself: each step runs the script so far and adds its keys at the first tick that
meets its condition; a stop adds its brake keys at the moment, found by bisection, that brings
the train to a stand at the stop. Run it again when the engine's physics change:

    tune_rapid_run.py KESTREL_RUN QUICK_DEMO_DIR OUT.txt
"""
import csv
import io
import json
import os
import subprocess
import sys
import tempfile

RUN, DEMO, OUT = sys.argv[1], sys.argv[2], sys.argv[3]
ARGS = ["--data", DEMO, "--line", "line_rapid.dat", "--train", "train_313-1000_8cars.dat"]
HORIZON = 200.0  # seconds looked ahead from the last action


class Drive:
    def __init__(self):
        self.actions = []  # (time s, action)

    def last(self):
        return max((t for t, _ in self.actions), default=0.0)

    def rows(self, extra=(), until=None):
        actions = sorted(self.actions + list(extra), key=lambda a: a[0])
        end = until if until is not None else max((t for t, _ in actions), default=0.0) + HORIZON
        script = "".join(f"{t:.6f} {a}\n" for t, a in actions)
        with tempfile.TemporaryDirectory() as d:
            path, trace = os.path.join(d, "s.txt"), os.path.join(d, "t.csv")
            with open(path, "w") as f:
                f.write(script)
            subprocess.run([RUN, *ARGS, "--script", path, "--trace", trace, "--duration", f"{end:.6f}"], check=True,
                           stdout=subprocess.DEVNULL)
            with open(trace, encoding="utf-8") as f:
                return list(csv.DictReader(io.StringIO(f.read())))

    @staticmethod
    def keys(t, chars):
        return [(t + 0.1 * i, f"key {c}") for i, c in enumerate(chars)]

    def first(self, pred, after=None, extra=()):
        after = self.last() if after is None else after
        for r in self.rows(extra):
            if float(r["t_s"]) > after and pred(r):
                return r
        raise RuntimeError("the condition is never met")

    def when(self, pred, chars, delay=0.0):
        t = float(self.first(pred)["t_s"]) + delay
        self.actions += self.keys(t, chars)
        return t

    def brake_to(self, chars, reached, position_cm, release=None):
        """Brakes with `chars` at the moment that makes the train first meet `reached` at position_cm;
        with `release`, those keys follow at that point. Returns the position reached."""
        start = self.last()

        def where(t):
            extra = self.keys(t, chars)
            try:
                r = self.first(reached, after=t + 0.5, extra=extra)
                return float(r["distanceRun_cm"]), float(r["t_s"])
            except RuntimeError:
                return 1e12, 0.0

        # Braking later than the moment the train passes the position without braking, or than the
        # moment the ATS brakes it, is too late.
        lo, hi = start, float(self.first(lambda r: dist(r) >= position_cm or ats_brakes(r))["t_s"])
        for _ in range(32):
            mid = (lo + hi) / 2
            if where(mid)[0] < position_cm:
                lo = mid
            else:
                hi = mid
        d, t_reached = where(lo)
        self.actions += self.keys(lo, chars)
        if release:
            self.actions += self.keys(t_reached, release)
        return d

    def stop_at(self, chars, stop_cm):
        return self.brake_to(chars, lambda r: float(r["speed_kmh"]) == 0.0, stop_cm)


def line_facts():
    """The home signal of 東鷹見 (signal 1) in cm, and the start of the terminal's speed-check
    section ([SpeedCheck2] row 2) in cm, from the loaded line."""
    out = subprocess.run([RUN, *ARGS, "--check", "--json"], check=True, capture_output=True).stdout
    line = json.loads(out)["line"]
    home = line["signals"][1]["positionCm"]
    with open(os.path.join(DEMO, "line_rapid.dat"), encoding="cp932") as f:
        text = f.read().splitlines()
    checks = text[text.index("[SpeedCheck2]") + 1:]
    frame = int(checks[1].split(",")[2])
    # Part of the [SpeedUnit] conversion: the distance at a frame inside its row.
    before = 0.0
    for row in line["speedUnit"]:
        s, e, a, b = row["start"], row["end"], row["vStart"], row["vEnd"]
        if s <= frame <= e:
            f = frame - s
            return home, before + round(((b - a) / (e - s) * f + 2 * a) / 7.2 * (f / 30) * 100)
        before = row["endDistanceCm"]
    raise RuntimeError("the section lies outside [SpeedUnit]")


def ats_brakes(r):
    return r["autoService"] == "1" or r["autoEmergency"] == "1"


def speed(r):
    return float(r["speed_kmh"])


def dist(r):
    return float(r["distanceRun_cm"])


def main():
    d = Drive()
    stops = []
    home, check = line_facts()
    # 鷹見: the doors close at the departure time; power away half a second later.
    d.when(lambda r: r["doorsOpen"] == "0", "58888", delay=0.5)
    target = float(d.first(lambda r: r["nextStopStation"] == "2", after=0)["stopTarget_cm"])
    # 東鷹見's home signal shows stop: brake below its ATS pattern to stand 80 m short of it (clear
    # of its stop beacon). Once the local train ahead has left, the signal shows restricted
    # (code 22): coast at 25 km/h until it shows clear (code 25), then power away again.
    d.when(lambda r: speed(r) >= 50, "5")
    d.stop_at("2222", home - 8000)
    d.when(lambda r: r["currentCode"] != "21" and speed(r) <= 25, "5")
    d.when(lambda r: r["currentCode"] == "25", "8888")
    d.when(lambda r: speed(r) >= 62, "5")  # below the 75 km/h limit at 680 m
    d.when(lambda r: dist(r) >= 92000, "x")  # past the limit: keep the vigilance device quiet
    # The 45 km/h limit of the passing loop begins at 1150 m.
    d.brake_to("222", lambda r: speed(r) <= 42, 113000, release="5")
    stops.append((d.stop_at("222", target), target))
    # 緑町: leave after the doors have closed.
    d.when(lambda r: r["doorsOpen"] == "0" and r["nextStopStation"] == "3", "588", delay=0.5)
    target = float(d.first(lambda r: r["nextStopStation"] == "3", after=0)["stopTarget_cm"])
    d.when(lambda r: speed(r) >= 40, "5")
    d.when(lambda r: dist(r) >= 146500, "888")  # the loop ends at 1460 m
    d.when(lambda r: speed(r) >= 55, "5")
    # The terminal's speed-check section allows 35 km/h.
    d.brake_to("2222", lambda r: speed(r) <= 30, check, release="5")
    stops.append((d.stop_at("222", target), target))
    d.actions.sort(key=lambda a: a[0])
    with open(OUT, "w") as f:
        f.write("# A careful drive of the quick demo's rapid line, 鷹見 to 鳥羽台, made by tune_rapid_run.py.\n")
        f.write("# Each stop ends inside its platform window; the train leaves after its doors have closed.\n")
        f.write("# It slows for 東鷹見's home signal, held at stop by the local train ahead, and waits for clear.\n")
        for t, a in d.actions:
            f.write(f"{t:.6f} {a}\n")
    for at, target in stops:
        print(f"stopped {at - target:+.1f} cm from the stop at {target:.0f} cm")


main()
