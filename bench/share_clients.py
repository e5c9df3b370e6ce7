#!/usr/bin/env python3
"""Hamlib network clients for bench/share-run: each reader reads frequency and mode RATE times
a second through the server for SECONDS, and with --sets one more client sets the frequency
and keys the transmitter on and off in turn, SETS times a second. The time from each request
to its whole answer is reported.
    share_clients.py PORT SECONDS [CLIENTS] [RATE] [--sets SETS] [--label LABEL]"""
import argparse
import random
import selectors
import socket
import time

ap = argparse.ArgumentParser()
ap.add_argument("port", type=int)
ap.add_argument("seconds", type=float)
ap.add_argument("clients", type=int, nargs="?", default=2)
ap.add_argument("rate", type=float, nargs="?", default=10)
ap.add_argument("--sets", type=float, default=0)
ap.add_argument("--label", default="")
args = ap.parse_args()

sel = selectors.DefaultSelector()
state = []


def connect(kind, first):
    s = socket.create_connection(("127.0.0.1", args.port))
    s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    s.setblocking(False)
    c = {"sock": s, "buf": b"", "waiting": None, "next": first, "turn": 0, "kind": kind}
    state.append(c)
    sel.register(s, selectors.EVENT_READ, c)


start = time.monotonic()
for i in range(args.clients):
    connect("read", start + i * 0.5 / args.rate)
if args.sets:
    connect("set", start + 0.5)

# Each request: what it sends, how many lines answer it, which figure it counts in.
SETS = [(b"F 14074000\n", "set"), (b"T 1\n", "ptt"), (b"F 14076000\n", "set"), (b"T 0\n", "ptt")]
latencies = {"read": [], "set": [], "ptt": []}
errors = 0
end = start + args.seconds
while time.monotonic() < end:
    now = time.monotonic()
    for c in state:
        if c["waiting"] is None and now >= c["next"]:
            if c["kind"] == "read":
                # f answers one line, m two.
                cmd, lines, figure = (b"f\n", 1, "read") if c["turn"] % 2 == 0 else (b"m\n", 2, "read")
                c["next"] += 0.5 / args.rate
            else:
                cmd, figure = SETS[c["turn"] % len(SETS)]
                lines = 1
                # Off the pump's beat: a steady period would meet its tick at one phase only.
                c["next"] += (0.75 + random.random() / 2) / args.sets
            c["sock"].sendall(cmd)
            c["waiting"] = (now, lines, figure)
            c["turn"] += 1
    timeout = max(0.0, min(c["next"] for c in state) - time.monotonic())
    for key, _ in sel.select(timeout=min(timeout, 0.05)):
        c = key.data
        c["buf"] += c["sock"].recv(4096)
        # An error is one line, whatever the command.
        done = c["buf"].startswith(b"RPRT") and c["buf"].endswith(b"\n")
        if c["waiting"] and (done or c["buf"].count(b"\n") >= c["waiting"][1]):
            sent, lines, figure = c["waiting"]
            latencies[figure].append((time.monotonic() - sent) * 1000)
            answer = c["buf"].decode(errors="replace")
            errors += answer.startswith("RPRT") and not answer.startswith("RPRT 0")
            c["buf"], c["waiting"] = b"", None


def pick(values, q):
    return values[min(len(values) - 1, int(q * len(values)))] if values else float("nan")


prefix = args.label + " " if args.label else ""
reads = latencies["read"]
print(f"{prefix}reads answered: {len(reads)} ({len(reads) / args.seconds:.1f} per s, {errors} errors)")
for figure, name in (("read", "read"), ("set", "set frequency"), ("ptt", "PTT")):
    values = sorted(latencies[figure])
    if values:
        print(f"{prefix}{name} latency: p50 {pick(values, 0.5):.2f} ms, "
              f"p95 {pick(values, 0.95):.2f} ms, max {values[-1]:.2f} ms over {len(values)}")
