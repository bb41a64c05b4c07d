#!/usr/bin/env python3
"""Prints GL state that a traced run had at one call.

    gl_state.py TRACE CALL NAME...

replays TRACE up to CALL and prints one line "NAME=VALUE" per state
parameter asked for (lists joined by commas), as the GL implementation
reports it. A NAME may be a path into nested state, such as
GL_TEXTURE0/GL_TEXTURE_2D/GL_TEXTURE_MIN_FILTER.

A replay takes seconds; with GL_STATE_CACHE naming a folder, the state at
each call of each trace is replayed once and kept there for the questions
that follow.
"""
import hashlib
import json
import os
import subprocess
import sys
import time


def replayed_state(trace, call):
    # A busy X server now and then refuses the replay's connection.
    for attempt in range(5):
        result = subprocess.run(["apitrace", "replay", "-D", call, trace], capture_output=True)
        if result.returncode == 0 and result.stdout:
            break
        time.sleep(0.2)
    else:
        raise SystemExit(f"replaying {trace} to call {call} failed")
    return json.loads(result.stdout.decode("latin-1"), strict=False)["parameters"]


def state_at(trace, call):
    cache = os.environ.get("GL_STATE_CACHE")
    if not cache:
        return replayed_state(trace, call)
    # A trace made anew under the same name has another modification time.
    made = os.stat(trace).st_mtime_ns
    key = hashlib.sha256(f"{os.path.realpath(trace)}:{made}:{call}".encode()).hexdigest()[:16]
    path = os.path.join(cache, f"{key}.json")
    if not os.path.exists(path):
        os.makedirs(cache, exist_ok=True)
        with open(path + ".part", "w") as out:
            json.dump(replayed_state(trace, call), out)
        os.replace(path + ".part", path)
    with open(path) as kept:
        return json.load(kept)


def main():
    trace, call, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    state = state_at(trace, call)
    for name in names:
        value = state
        for part in name.split("/"):
            value = value.get(part, "missing") if isinstance(value, dict) else "missing"
        if isinstance(value, list):
            value = ",".join(str(v) for v in value)
        print(f"{name}={value}")


if __name__ == "__main__":
    main()
