#!/usr/bin/env python3
"""Checking and listing a large database against recording it: fciv -r, -v and -list over the
same files (default 1,000,000 of 16 bytes), each run's seconds and its peak memory."""
import os
import resource
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FCIV = os.path.join(ROOT, "build", "windows", "bin", "fciv.exe")
COUNT = int(sys.argv[1]) if len(sys.argv) > 1 else 1000000
TREE = os.path.join(ROOT, "build", f"bench-check-{COUNT}")
DB = os.path.join(ROOT, "build", "bench-check.xml")


def win(path):
    return "Z:" + path.replace("/", "\\")


def timed(*args):
    """Seconds and peak resident megabytes of one run of the tool (a fresh child each time)."""
    pid = os.fork()
    if pid == 0:
        os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
        os.dup2(os.open(os.devnull, os.O_WRONLY), 2)
        os.execv(os.path.join(ROOT, "scripts", "wine-run"), ["wine-run", FCIV, *args])
    start = time.time()
    _, status, usage = os.wait4(pid, 0)
    return time.time() - start, usage.ru_maxrss / 1024, os.waitstatus_to_exitcode(status)


if not os.path.exists(os.path.join(TREE, ".ready")):
    for i in range(COUNT):
        folder = os.path.join(TREE, f"d{i // 1000:04}")
        if i % 1000 == 0:
            os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, f"f{i:07}.txt"), "wb") as f:
            f.write(b"%016d" % i)
    open(os.path.join(TREE, ".ready"), "w").close()
subprocess.run([os.path.join(ROOT, "scripts", "wine-prefix.sh")], check=True)
subprocess.run(["cat"] + [os.path.join(TREE, "d0000", n) for n in os.listdir(os.path.join(TREE, "d0000"))],
               stdout=subprocess.DEVNULL)
rows = [("fciv -r -both (record)", timed(win(TREE), "-r", "-both", "-xml", win(DB)))]
rows.append((f"fciv -v ({os.path.getsize(DB) / 1e6:.0f} MB database)", timed("-v", "-xml", win(DB))))
rows.append(("fciv -list", timed("-list", "-xml", win(DB))))
print(f"{COUNT:,} files                  seconds  vs record   peak MB  exit")
for name, (secs, mb, code) in rows:
    print(f"{name:<30} {secs:8.1f} {secs / rows[0][1][0]:9.2f}x {mb:9.0f} {code:5}")
