"""The GL calls of a run, from an apitrace dump, in a form fit to compare
with a fixed expectation: every call the program makes with its arguments,
in order, without what the driver answers or the machine decides.

  python3 call_stream.py DUMP
  python3 call_stream.py --timed-sections-kept PLAIN_DUMP CHECKED_DUMP

tests/e2e/expected/test_loop_calls.txt is this for a "-batch -test -nocheck"
run under Xvfb with llvmpipe. After a deliberate change to what the program
draws, review the difference the test shows, then record the new stream
with scripts/record_expected.

- Call numbers, GLX calls other than glXSwapBuffers, and the calls apitrace
  adds itself ("// fake") are left out; a swap keeps only its name.
- A query keeps its first argument (what was asked), not the answer, and
  an address (of a buffer the driver fills) is left out.
- glLoadMatrixf keeps only its name: outside the set-up its matrix is one
  the driver handed back.
- A display list keeps its first and last face (from glNewList to the first
  glEnd, and from the last glBegin to glEndList) and the number of calls
  between them.
- A run of more than a hundred calls of one function (the stencil
  checkerboard's points) keeps its first and last call and its length.
"""

import re
import sys

RUN_LIMIT = 100


def normalised(text, matrices=False):
    name = text.split("(", 1)[0]
    if name.startswith("glX"):
        return "glXSwapBuffers()" if name == "glXSwapBuffers" else None
    if name.startswith("glGet"):
        first = re.match(r"[^(]*\(([^,)]*)", text)
        return f"{name}({first[1]})"
    if name == "glLoadMatrixf" and not matrices and not text.startswith("glLoadMatrixf(m = {1, 0, 0, 0,"):
        return "glLoadMatrixf(m)"
    return re.sub(r"0x[0-9a-f]+", "ADDRESS", text)


def calls(dump, matrices=False):
    for line in dump:
        match = re.match(r"\d+ (gl\w+\(.*)$", line.rstrip("\n"))
        if match and "// fake" not in match[1]:
            text = normalised(match[1], matrices)
            if text is not None:
                yield text


def fold_lists(stream):
    """Display lists reduced to their first and last face."""
    inside = None
    for text in stream:
        if text.startswith("glNewList("):
            inside = [text]
        elif inside is not None:
            inside.append(text)
            if text.startswith("glEndList("):
                yield from list_outline(inside)
                inside = None
        else:
            yield text


def list_outline(body):
    first_end = next((i for i, t in enumerate(body) if t.startswith("glEnd(")), None)
    last_begin = max((i for i, t in enumerate(body) if t.startswith("glBegin(")), default=None)
    if first_end is None or last_begin is None or last_begin <= first_end:
        return body
    return body[: first_end + 1] + [f"... {last_begin - first_end - 1} calls"] + body[last_begin:]


def fold_runs(stream):
    """Long runs of one function reduced to their ends and length."""
    run = []
    for text in list(stream) + [None]:
        name = text.split("(", 1)[0] if text else None
        if run and name == run[0].split("(", 1)[0]:
            run.append(text)
            continue
        if len(run) > RUN_LIMIT:
            yield from (run[0], f"... {len(run) - 2} calls", run[-1])
        else:
            yield from run
        run = [text] if text else []


def between_finishes(stream):
    """The runs of calls between one glFinish and the next."""
    section = None
    for text in stream:
        if text.startswith("glFinish("):
            if section is not None:
                yield section
            section = []
        elif section is not None:
            section.append(text)


def timed_sections_kept(plain_dump, checked_dump):
    """Whether the timed sections of a run whose only glFinish calls bracket them (every other
    pair of glFinish calls) occur in the same order, unchanged and with the same matrices
    loaded, among the sections between glFinish calls of another run made on the same GL;
    prints the first that does not."""
    with open(plain_dump, errors="replace") as dump:
        timed = list(between_finishes(calls(dump, matrices=True)))[::2]
    with open(checked_dump, errors="replace") as dump:
        sections = between_finishes(calls(dump, matrices=True))
        for number, wanted in enumerate(timed):
            if not any(section == wanted for section in sections):
                print(f"timed section {number} is missing or changed: {wanted[:8]}")
                return False
    return True


def main():
    if sys.argv[1] == "--timed-sections-kept":
        sys.exit(0 if timed_sections_kept(sys.argv[2], sys.argv[3]) else 1)
    with open(sys.argv[1], errors="replace") as dump:
        for text in fold_runs(fold_lists(calls(dump))):
            print(text)


if __name__ == "__main__":
    main()
