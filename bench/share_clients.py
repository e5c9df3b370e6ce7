#!/usr/bin/env python3
"""Hamlib network clients for bench/share-run: each reads frequency and mode RATE times a
second through the server for SECONDS, and the time from each request to its whole answer is
reported.   share_clients.py PORT SECONDS [CLIENTS] [RATE]"""
import selectors
import socket
import sys
import time

port, seconds = int(sys.argv[1]), float(sys.argv[2])
clients = int(sys.argv[3]) if len(sys.argv) > 3 else 2
rate = float(sys.argv[4]) if len(sys.argv) > 4 else 10

sel = selectors.DefaultSelector()
state = []
for i in range(clients):
    s = socket.create_connection(("127.0.0.1", port))
    s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    s.setblocking(False)
    c = {"sock": s, "buf": b"", "waiting": None, "next": time.monotonic() + i * 0.5 / rate,
         "turn": 0}
    state.append(c)
    sel.register(s, selectors.EVENT_READ, c)

latencies, errors = [], 0
end = time.monotonic() + seconds
while time.monotonic() < end:
    now = time.monotonic()
    for c in state:
        if c["waiting"] is None and now >= c["next"]:
            # f answers one line, m two.
            cmd, lines = (b"f\n", 1) if c["turn"] % 2 == 0 else (b"m\n", 2)
            c["sock"].sendall(cmd)
            c["waiting"] = (now, lines)
            c["turn"] += 1
            c["next"] += 0.5 / rate
    timeout = max(0.0, min(c["next"] for c in state) - time.monotonic())
    for key, _ in sel.select(timeout=min(timeout, 0.05)):
        c = key.data
        c["buf"] += c["sock"].recv(4096)
        if c["waiting"] and c["buf"].count(b"\n") >= c["waiting"][1]:
            sent, lines = c["waiting"]
            latencies.append((time.monotonic() - sent) * 1000)
            errors += c["buf"].startswith(b"RPRT")
            c["buf"], c["waiting"] = b"", None

latencies.sort()
n = len(latencies)
pick = lambda q: latencies[min(n - 1, int(q * n))] if n else float("nan")
print(f"reads answered: {n} ({n / seconds:.1f} per s, {errors} errors)")
print(f"read latency: p50 {pick(0.5):.2f} ms, p95 {pick(0.95):.2f} ms, max {latencies[-1] if n else 0:.2f} ms")
