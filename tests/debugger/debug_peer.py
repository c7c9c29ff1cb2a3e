"""A remote debugger written from the wire description with raw sockets: it
listens on the local path or on TCP port 13897, starts the debug-build test
image as its child, and drives it through one scenario. Exits 0 when every
check held, otherwise prints the failed check and exits 1.

    python3 debug_peer.py SCENARIO IMAGE [EMULATOR]
"""
import os
import random
import resource
import socket
import subprocess
import sys
import tempfile

LOCAL_PATH = "/tmp/QVLocalDebug"
PORT = 13897
WAIT = 120 * float(os.environ.get("TIME_FACTOR", "1"))

# Offsets in the image's data record (tests/images/debuggee.c).
MAGIC, WORD, RESULT, BYTE, REAL, TEXT, OBJECT, VARIANT, NOTHING, ARRAY = (
    0, 4, 8, 12, 16, 24, 28, 32, 36, 40)
WATCHED_OBJECT, WATCHED_ARRAY, SAME_ARRAY, FREED_OBJECT, STEPS_SEEN = 44, 48, 52, 56, 60


class Failed(Exception):
    pass


def check(holds, what):
    if not holds:
        raise Failed(what)


def hex8(value):
    return "%08X" % (value & 0xFFFFFFFF)


def encoded(text, encoding=0x600):
    return hex8(encoding) + ":" + "".join("%02X" % b for b in text)


class Peer:
    def __init__(self, scenario, image, emulator, tcp=False, listen=True):
        self.buffer = b""
        self.conn = None
        self.listener = None
        if listen:
            if tcp:
                self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
                self.listener.bind(("127.0.0.2", PORT))
            else:
                if os.path.exists(LOCAL_PATH):
                    os.unlink(LOCAL_PATH)
                self.listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                self.listener.bind(LOCAL_PATH)
            self.listener.listen(1)
        env = dict(os.environ)
        env.pop("DISPLAY", None)  # alerts go to standard error
        if tcp:
            env["DEBUG_PEER_TCP"] = "1"
        command = ([emulator] if emulator else []) + [image]
        # Standard error goes to a file: alerts written while the peer waits
        # for a line must not fill a pipe nobody reads.
        self.errors_file = tempfile.TemporaryFile()
        self.child = subprocess.Popen(command, env=env, stderr=self.errors_file)

    def accept(self):
        self.listener.settimeout(WAIT)
        self.conn, _ = self.listener.accept()
        self.conn.settimeout(WAIT)

    def send(self, *lines):
        self.conn.sendall(b"".join(line.encode("latin-1") + b"\r" for line in lines))

    def line(self):
        while b"\r" not in self.buffer:
            data = self.conn.recv(65536)
            if not data:
                raise Failed("the link closed while a line was awaited")
            self.buffer += data
        line, self.buffer = self.buffer.split(b"\r", 1)
        text = line.decode("latin-1")
        command, _, argument = text.partition(" ")
        return command, argument, text

    def expect(self, command, argument=None):
        got_command, got_argument, text = self.line()
        check(got_command == command, "expected %s, got %r" % (command, text))
        if argument is not None:
            check(got_argument == argument, "expected %s %r, got %r" % (command, argument, text))
        return got_argument

    def ask(self, line, reply, value=None):
        """Sends the request and answers the value fields of its reply."""
        self.send(line)
        argument = self.expect(reply)
        echoed = line.partition(" ")[2]
        check(argument.startswith(echoed + " ") or argument == echoed,
              "%s does not echo %r: %r" % (reply, echoed, argument))
        fields = argument[len(echoed) + 1:]
        if value is not None:
            check(fields == value, "%s: expected %r, got %r" % (line, value, fields))
        return fields

    def silent(self, *lines):
        """The lines get no reply: a TOC sent after them is answered first."""
        self.send(*lines)
        self.send("TOC")
        command, _, text = self.line()
        check(command == "TOC", "no reply expected to %r, got %r" % (lines, text))

    def survive(self, *lines):
        """The lines may or may not be answered; the program answers a TOC
        sent after them."""
        self.send(*lines)
        self.send("TOC")
        while self.line()[0] != "TOC":
            pass

    def stop(self, line):
        self.expect("BREAK", hex8(line))

    def finish(self):
        try:
            self.child.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            self.child.kill()
            self.child.wait()
        self.errors = self.read_errors()
        return self.child.returncode

    def read_errors(self):
        self.errors_file.seek(0)
        return self.errors_file.read().decode("latin-1", "replace")

    def close(self):
        for s in (self.conn, self.listener):
            if s:
                s.close()
        if self.child.poll() is None:
            self.child.kill()
            self.child.wait()


def data_base(peer):
    """The data record: at the data section's base as TOC gives it, or after
    the image's string constants that the linker may put first."""
    peer.send("toc")
    base = int(peer.expect("TOC"), 16)
    check(base != 0, "TOC gives the data base")
    for offset in range(0, 4096, 4):
        if peer.ask("DW " + hex8(base + offset), "VAL32") == "44424744":
            return base + offset
    raise Failed("the data record lies near the data base")


def inspect(peer, base):
    a = lambda offset: hex8(base + offset)
    peer.ask("DW " + a(WORD), "VAL32", "12345678")
    peer.ask("Db " + a(BYTE), "VAL8", "5A")
    peer.ask("DL " + a(REAL), "VAL64", "3FF8000000000000")
    peer.ask("DS " + a(TEXT), "VALS", encoded(b"hello"))
    obj_fields = peer.ask("DO " + a(OBJECT), "VALO")
    obj, _, name = obj_fields.partition(" ")
    check(name == "ProbeObject", "DO names the class: %r" % obj_fields)
    peer.ask("DO " + a(NOTHING), "VALO", "00000000")
    peer.ask("DV " + a(NOTHING), "VALV", "00000000")
    variant = peer.ask("DV " + a(VARIANT), "VALV")
    check(variant.startswith("00000008 ") and variant.endswith(":6869"),
          "DV of a String variant: %r" % variant)
    peer.ask("DOC " + obj, "VALOC", "ProbeObject")
    array = peer.ask("DW " + a(ARRAY), "VAL32")
    bounds = peer.ask("DABB " + array, "VALABB").split(" ")
    check(len(bounds) == 3 and bounds[1:] == ["00000002", "00000003"],
          "DABB gives the buffer and both bounds: %r" % bounds)
    peer.send("PID")
    peer.expect("PID", "")
    peer.silent("DO 00000000", "DV 00000000", "DOC 00000000", "DABB 00000000")
    # Getters, called with the object and the field offset.
    o = obj + " "
    peer.ask("DPVI " + o + "intGetter 00000018", "VALPVI", "0000004D")
    peer.ask("dpvb " + o + "intGetter 00000018", "VALPVB", "01")
    peer.ask("DPVF " + o + "singleGetter 0000001C", "VALPVF", "40200000")
    peer.ask("DPVD " + o + "doubleGetter 00000020", "VALPVD", "3FF8000000000000")
    peer.ask("DPVS " + o + "stringGetter 00000028", "VALPVS", encoded(b"hello"))
    held = peer.ask("DPVO " + o + "objGetter 0000002C", "VALPVO")
    check(held.count(" ") >= 1 and held.split(" ")[0] != "00000000", "DPVO: %r" % held)
    got = peer.ask("DPVV " + o + "objGetter 0000002C", "VALPVV")
    check(got.startswith("00000008 ") and got.endswith(":6869"), "DPVV: %r" % got)
    peer.silent("DPVB " + o + "noSuchGetterAnywhere 00000000")
    # Writes, read back.
    peer.silent("SW " + a(WORD) + " 0BADF00D", "SB " + a(BYTE) + " 000000FF",
                "SL " + a(REAL) + " 4000000000000000", "SS " + a(TEXT) + " " + encoded(b"bye"))
    peer.ask("DW " + a(WORD), "VAL32", "0BADF00D")
    peer.ask("DB " + a(BYTE), "VAL8", "FF")
    peer.ask("DL " + a(REAL), "VAL64", "4000000000000000")
    peer.ask("DS " + a(TEXT), "VALS", encoded(b"bye"))
    peer.silent("SS " + a(TEXT) + " 00000600:")
    peer.ask("DW " + a(TEXT), "VAL32", "00000000")
    return obj


def crawl(peer):
    peer.send("SC")
    frames = []
    while True:
        command, argument, text = peer.line()
        if command == "SC":
            check(argument == "", "SC ends with an empty argument")
            return frames
        check(command == "SFR", "a crawl sends SFR lines: %r" % text)
        link, name, distance = argument.split(" ")
        digits = name.partition(":")[2]
        frames.append((bytes.fromhex(digits).decode("latin-1"), int(distance, 16)))


def scenario_session(peer):
    """Stepping, breakpoints, Break, TRAP, monitors and inspection."""
    peer.accept()
    peer.stop(1)
    base = data_base(peer)
    inspect(peer, base)
    frames = crawl(peer)
    check(frames and frames[0][0] == "ImageEntry" and frames[0][1] > 0,
          "the crawl starts in ImageEntry: %r" % frames)
    peer.send("step")
    peer.stop(20)
    check(crawl(peer)[0][0] == "Middle", "the stop at 20 lies in Middle")
    peer.send("STEPOVER")
    peer.stop(21)
    peer.ask("DW " + hex8(base + STEPS_SEEN), "VAL32", hex8(1 << 10))
    peer.send("StepOut")
    peer.stop(2)
    peer.send("RUN")
    peer.expect("BREAK", "")
    frames = crawl(peer)
    check(frames[0][0] != "ImageEntry", "after Break the crawl starts at its caller's caller")
    peer.send("STEP")
    peer.stop(3)
    peer.silent("BRLA 0000000A", "BR 00000004", "BR 00000005", "BR 00000006", "BR 00000007",
                "BRC 00000007", "BR 00000008")
    peer.send("RUN")
    peer.stop(8)
    # A getter that raises: the stop shows the exception, and after RUN the
    # exception reaches the handler around line 8 without a reply; the line
    # entries stop again afterwards.
    obj = peer.ask("DO " + hex8(base + OBJECT), "VALO").split(" ")[0]
    peer.send("DPVI " + obj + " RuntimeNilObject 00000000")
    peer.expect("TRAP", "NilObjectException")
    peer.send("RUN")
    peer.expect("TRAP", "ProbeError")
    steps = int(peer.ask("DW " + hex8(base + STEPS_SEEN), "VAL32"), 16)
    check(steps & (1 << 29) and not steps & (1 << 28),
          "the handler around line 8 caught the getter's exception: %x" % steps)
    peer.send("RUN")
    peer.stop(4)
    peer.send("RUN")
    peer.stop(5)  # EndException sent no TRAP
    watched = peer.ask("DW " + hex8(base + WATCHED_OBJECT), "VAL32")
    array = peer.ask("DW " + hex8(base + WATCHED_ARRAY), "VAL32")
    peer.silent("OWLS " + watched, "OWLS " + watched, "AWLS " + array)
    peer.send("RUN")
    seen = []
    while True:
        command, argument, text = peer.line()
        if command == "BREAK":
            check(argument == hex8(6), "stops at 6: %r" % text)
            break
        seen.append(text)
    same = peer.ask("DW " + hex8(base + SAME_ARRAY), "VAL32") == "00000001"
    strip = lambda h: h.lstrip("0") or "0"
    wanted = ["ODN " + strip(watched), "ADN " + strip(array)]
    if same:
        wanted.append("ADN " + strip(array))
    check(sorted(seen) == sorted(wanted), "monitors: %r, expected %r" % (seen, wanted))
    # RUN and another line in one delivery: the second keeps it stopped.
    peer.send("SW " + hex8(base + RESULT) + " 0000002A")
    peer.send("RUN", "DW " + hex8(base + RESULT))
    peer.expect("VAL32")
    peer.send("run", "")
    peer.send("TOC")
    peer.expect("TOC")
    peer.send("Run")
    return 42


def scenario_tcp(peer):
    """The TCP link: the first line stops, PID answers, QUIT ends with 1."""
    peer.accept()
    peer.stop(1)
    peer.send("PID")
    peer.expect("PID", "")
    peer.send("QUIT")
    return 1


def scenario_drop(peer):
    peer.accept()
    peer.stop(1)
    peer.conn.close()
    peer.conn = None
    return 1


def scenario_no_debugger(peer):
    return 1


def scenario_hostile(peer):
    """Bad addresses, a self-linked frame, random lines: no fault."""
    peer.accept()
    peer.stop(1)
    base = data_base(peer)
    freed = peer.ask("DW " + hex8(base + FREED_OBJECT), "VAL32")
    def probes(address):
        return ("DW " + address, "DS " + address, "DO " + address, "DV " + address,
                "SW " + address + " 00000001", "SL " + address + " 0",
                "DPVI " + address + " intGetter 00000018", "DPVO " + address + " objGetter 0")
    # Unmapped: no reply at all.
    peer.silent(*probes("00000010"))
    # High, misaligned and stale addresses: whatever can be read is answered,
    # nothing faults.
    for address in ("FFFFFFFE", "C0000000", hex8(base + 1), hex8(base + 2)):
        peer.survive(*probes(address))
    peer.survive("SW " + hex8(base + NOTHING) + " " + freed, "DO " + hex8(base + NOTHING),
                 "DV " + hex8(base + NOTHING), "DOC " + freed,
                 "DPVI " + freed + " intGetter 00000018", "DPVO " + freed + " objGetter 0000002C")
    peer.silent("SW " + hex8(base + NOTHING) + " 00000000")
    peer.ask("DW " + hex8(base + MAGIC), "VAL32")
    # A frame link made to point to itself ends the crawl.
    peer.send("SC")
    first = None
    while True:
        command, argument, _ = peer.line()
        if command == "SC":
            break
        first = first or argument.split(" ")[0]
    peer.silent("SW " + first + " " + first)
    crawl(peer)
    rng = random.Random(47)
    names = ["DW", "DB", "DL", "DS", "DO", "DV", "DOC", "DABB", "SW", "SB", "SL", "SS", "TOC",
             "PID", "SC", "OWLS", "OWLR", "AWLS", "AWLR", "DPVB", "DPVI", "DPVF", "DPVD", "DPVS",
             "DPVO", "DPVV", "BR", "BRC", "BRLA", "SwitchToDebugger", "GetHWND", "NOPE", ""]
    pieces = [hex8(base), hex8(base + 4), "00000000", "FFFFFFFF", "G", "00000600:41", "intGetter",
              "objGetter", " ", ":"]
    lines = []
    for _ in range(20000):
        name = rng.choice(names)
        if name in ("STEP",):
            continue
        parts = [name] + [rng.choice(pieces) if rng.random() < 0.7 else
                          "".join(chr(rng.randrange(32, 127)) for _ in range(rng.randrange(12)))
                          for _ in range(rng.randrange(4))]
        text = " ".join(parts)
        if rng.random() < 0.2:  # mutate a byte
            i = rng.randrange(len(text) + 1)
            text = text[:i] + chr(rng.randrange(32, 127)) + text[i + 1:]
        if text.split(" ")[0].upper() in ("RUN", "STEP", "STEPOVER", "STEPOUT", "QUIT", "SC"):
            continue
        lines.append(text)
    for start in range(0, len(lines), 500):
        peer.send(*lines[start:start + 500])
        peer.send("PID")
        while True:
            command, argument, _ = peer.line()
            if command == "PID":
                break
    # A line that never ends: the link closes, the program ends with 1.
    chunk = b"A" * (1 << 20)
    try:
        for _ in range(100):
            peer.conn.sendall(chunk)
    except OSError:
        pass
    return 1


def run_stranger(image, emulator):
    """Listener as one user, the image as another: the image never takes the
    listener for its debugger (no BREAK arrives) and ends after its wait."""
    if os.getuid() != 0:
        print("skipped: switching users needs root")
        return 77
    if os.path.exists(LOCAL_PATH):
        os.unlink(LOCAL_PATH)
    listener_code = (
        "import os, socket, sys\n"
        "s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)\n"
        "s.bind(%r); os.chmod(%r, 0o777); s.listen(1); print('ready', flush=True)\n"
        "s.settimeout(%r); c, _ = s.accept(); c.settimeout(%r)\n"
        "data = b''\n"
        "try:\n"
        "    while True:\n"
        "        got = c.recv(4096)\n"
        "        if not got: break\n"
        "        data += got\n"
        "except OSError: pass\n"
        "print('got', data.decode('latin-1'), flush=True)\n"
    ) % (LOCAL_PATH, LOCAL_PATH, WAIT, WAIT)
    listener = subprocess.Popen(["/usr/bin/env", "-i", "python3", "-c", listener_code], stdout=subprocess.PIPE,
                                preexec_fn=lambda: (os.setgid(65534), os.setuid(65534)))
    try:
        check(listener.stdout.readline().strip() == b"ready", "the stranger listens")
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        command = ([emulator] if emulator else []) + [image]
        child = subprocess.run(command, env=env, stderr=subprocess.PIPE, timeout=WAIT,
                               preexec_fn=lambda: (os.setgid(65533), os.setuid(65533)))
        errors = child.stderr.decode("latin-1", "replace")
        check(child.returncode == 1, "exit status %s\n%s" % (child.returncode, errors))
        check("Failed Assertion: 7" in errors, "the no-debugger alert: %r" % errors)
        out, _ = listener.communicate(timeout=WAIT)
        check(b"BREAK" not in out, "the stranger heard nothing: %r" % out)
    except Failed as failure:
        print("failed: %s" % failure)
        return 1
    finally:
        if listener.poll() is None:
            listener.kill()
            listener.wait()
        if os.path.exists(LOCAL_PATH):
            os.unlink(LOCAL_PATH)
    return 0


SCENARIOS = {
    "session": (scenario_session, False, True),
    "tcp": (scenario_tcp, True, True),
    "drop": (scenario_drop, False, True),
    "no_debugger": (scenario_no_debugger, False, False),
    "hostile": (scenario_hostile, False, True),
}


def main():
    name, image = sys.argv[1], sys.argv[2]
    emulator = sys.argv[3] if len(sys.argv) > 3 else ""
    if name == "stranger":
        return run_stranger(image, emulator)
    run, tcp, listen = SCENARIOS[name]
    if not listen and os.path.exists(LOCAL_PATH):
        os.unlink(LOCAL_PATH)
    peer = Peer(name, image, emulator, tcp=tcp, listen=listen)
    try:
        wanted = run(peer)
        status = peer.finish()
        check(status == wanted, "exit status %s, expected %s\n%s" % (status, wanted, peer.errors))
        if name == "no_debugger":
            check("Failed Assertion: 7" in peer.errors, "the no-debugger alert is shown: %r" % peer.errors)
        if name == "hostile":
            peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
            check(peak < 1024 * 1024, "memory stayed bounded: %d kB" % peak)
    except (Failed, OSError) as failure:
        print("failed: %s" % failure)
        peer.close()
        print(peer.read_errors()[-4000:])
        return 1
    finally:
        peer.close()
        if listen and not tcp and os.path.exists(LOCAL_PATH):
            os.unlink(LOCAL_PATH)
    return 0


if __name__ == "__main__":
    sys.exit(main())
