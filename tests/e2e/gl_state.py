#!/usr/bin/env python3
"""Prints GL state that a traced run had at one call.

    gl_state.py TRACE CALL NAME...

replays TRACE up to CALL and prints one line "NAME=VALUE" per state
parameter asked for (lists joined by commas), as the GL implementation
reports it. A NAME may be a path into nested state, such as
GL_TEXTURE0/GL_TEXTURE_2D/GL_TEXTURE_MIN_FILTER.
"""
import json
import subprocess
import sys
import time


def main():
    trace, call, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    # A busy X server now and then refuses the replay's connection.
    for attempt in range(5):
        result = subprocess.run(["apitrace", "replay", "-D", call, trace], capture_output=True)
        if result.returncode == 0 and result.stdout:
            break
        time.sleep(0.2)
    else:
        raise SystemExit(f"replaying {trace} to call {call} failed")
    dump = result.stdout
    state = json.loads(dump.decode("latin-1"), strict=False)["parameters"]
    for name in names:
        value = state
        for part in name.split("/"):
            value = value.get(part, "missing") if isinstance(value, dict) else "missing"
        if isinstance(value, list):
            value = ",".join(str(v) for v in value)
        print(f"{name}={value}")


if __name__ == "__main__":
    main()
