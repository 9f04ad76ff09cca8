#!/usr/bin/env python3
"""Measures ZINTELLO's desktop program and screensaver against Chromium-engine peers.

Runs inside one desktop session (tests/harness/desktop-session: Xvfb, openbox,
tint2, a temporary HOME); run-benchmark starts it there. Every program shows the
same page, html/index.html of the program directory with the default design, and
is measured the same way:

- start to first complete paint: zintello_paintwatch grabs the root window every
  15 ms from before the program starts; the picture on the screen 10 s after the
  start is the final one, and the time is that of the first grab showing exactly
  it. The panel's rows (its clock, the tray) are left out. A start is only made
  when the page's clock cannot change its minute within those 10 s.
- PSS summed over the program's process tree (its session and all descendants),
  10 s and 5 minutes after the start: as the kernel gives it in
  /proc/PID/smaps_rollup, and as it would be if this desktop session ran alone
  (shared pages divided only among the session's processes, from pagemap). The
  second one is the one compared: on a shared machine, other programs mapping
  the same Qt WebKit libraries lower the first one by tens of MiB;
- CPU time from the kernel's accounting of the program (its own cgroup, else
  /proc/PID/stat with the children it reaped) over 60 s of the idle desktop
  from 15 s after the start; the page's clock changes its minute once in every
  such window;
- wake-ups: the voluntary and involuntary context switches of all threads of
  the tree over the same 60 s, per minute and screen;
- with --screens-pass, in the two-screen session (Xorg dummy): the desktop
  program with its second screen off and on, for the cost of a further screen;
- the screensaver: start with /s to the page painted full screen, as above, and
  from a key press sent through XTest to the end of the process (pidfd).

A missing, negative or impossible figure fails the run (exit status 1), with
the reason printed.

usage: measure.py --program-dir DIR --bench-dir DIR --out DIR [--runs N] [--quick] [--screens-pass]
"""
import argparse
import array
import collections
import ctypes
import json
import os
import select
import signal
import statistics
import subprocess
import sys
import time

# --- processes -------------------------------------------------------------

def read_stat(pid):
    """(ppid, session) or None."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            text = f.read()
    except OSError:
        return None
    fields = text[text.rindex(")") + 2:].split()
    # fields[0] is the state (field 3 of the line).
    return int(fields[1]), int(fields[3])


def process_tree(root):
    """The processes of root's session and every descendant of root."""
    stats = {}
    for name in os.listdir("/proc"):
        if name.isdigit():
            stat = read_stat(int(name))
            if stat:
                stats[int(name)] = stat
    tree = {pid for pid, stat in stats.items() if stat[1] == root}
    if root in stats:
        tree.add(root)
    grew = True
    while grew:
        grew = False
        for pid, stat in stats.items():
            if pid not in tree and stat[0] in tree:
                tree.add(pid)
                grew = True
    return {pid: stats[pid] for pid in tree}


def rollup_kib(tree, fields=("Pss",)):
    """The sum of some fields of the kernel's smaps_rollup over a process tree."""
    total = 0
    for pid in tree:
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                for line in f:
                    name, _, value = line.partition(":")
                    if name in fields:
                        total += int(value.split()[0])
        except OSError:
            pass
    return total


def pss_kib(tree):
    return rollup_kib(tree)


def written_kib(tree):
    """What the programs wrote themselves: their anonymous and shared memory
    (heaps, stacks, relocated library data, what their processes share), not
    the pages of library files that every program of the same libraries reads."""
    return rollup_kib(tree, ("Pss_Anon", "Pss_Shmem"))


PAGE_KIB = os.sysconf("SC_PAGE_SIZE") // 1024
PFN_MASK = (1 << 55) - 1


def resident_frames(pid):
    """The page frame numbers of every resident page the process maps (root only)."""
    frames = []
    try:
        ranges = []
        with open(f"/proc/{pid}/smaps") as f:
            current = None
            for line in f:
                if line[0] in "0123456789abcdef" and "-" in line.split(" ", 1)[0]:
                    start, end = line.split(" ", 1)[0].split("-")
                    current = (int(start, 16), int(end, 16))
                elif line.startswith("Rss:") and current and int(line.split()[1]) > 0:
                    ranges.append(current)
        fd = os.open(f"/proc/{pid}/pagemap", os.O_RDONLY)
        try:
            for start, end in ranges:
                entries = array.array("Q")
                entries.frombytes(os.pread(fd, (end - start) // 4096 * 8, start // 4096 * 8))
                frames.extend(e & PFN_MASK for e in entries if e >> 63)
        finally:
            os.close(fd)
    except OSError:
        pass
    return frames


def session_pss_kib(tree):
    """PSS of the tree as if this desktop session ran alone on the machine.

    The kernel's PSS divides a shared page among all processes that map it,
    also those of other users of the machine: a library that some unrelated
    program happens to map too would make the measured program look smaller.
    Here a page is divided only among the processes of this session (X server,
    window manager, panel, the measured program) that map it."""
    session = process_tree(os.getppid())
    frames = {pid: resident_frames(pid) for pid in set(session) | set(tree)}
    mappers = collections.Counter()
    for pid_frames in frames.values():
        mappers.update(pid_frames)
    return int(sum(1.0 / mappers[frame] for pid in tree for frame in frames[pid]) * PAGE_KIB)


class CpuAccount:
    """CPU time of everything one started program runs, from the kernel's own
    accounting, which keeps the time of threads and processes that have ended:
    a cgroup of the program's own where the machine lets us make one, else the
    processes' counters in /proc/PID/stat (utime+stime, and cutime+cstime of
    the children they reaped; in clock ticks of 10 ms).

    Summing the run time of the threads alive at two moments is not enough:
    a thread that ends in between takes its time with it, and the difference
    can come out negative."""

    HIERARCHIES = (("/sys/fs/cgroup/cpuacct", "cpuacct.usage"),
                   ("/sys/fs/cgroup/unified", "cpu.stat"),
                   ("/sys/fs/cgroup", "cpu.stat"))
    serial = 0

    def __init__(self, name):
        self.path = None
        self.counter = None
        CpuAccount.serial += 1
        for hierarchy, counter in self.HIERARCHIES:
            if not os.path.isfile(os.path.join(hierarchy, "cgroup.procs")):
                continue
            path = os.path.join(hierarchy, f"zintello-bench-{os.getpid()}-{CpuAccount.serial}-{name}")
            try:
                os.mkdir(path)
            except OSError:
                continue
            if os.path.isfile(os.path.join(path, counter)):
                self.path, self.counter = path, counter
                break
            os.rmdir(path)
        self.source = f"a cgroup's {self.counter}" if self.path else "/proc/PID/stat"

    def enter(self):
        """In the started program's process, before it runs the program."""
        if self.path:
            with open(os.path.join(self.path, "cgroup.procs"), "w") as f:
                f.write(str(os.getpid()))

    def ns(self, tree):
        if self.path:
            with open(os.path.join(self.path, self.counter)) as f:
                text = f.read()
            if self.counter == "cpu.stat":
                return int(dict(line.split() for line in text.splitlines())["usage_usec"]) * 1000
            return int(text)
        ticks = 0
        for pid in tree:
            try:
                with open(f"/proc/{pid}/stat") as f:
                    text = f.read()
            except OSError:
                continue
            fields = text[text.rindex(")") + 2:].split()
            # utime, stime, cutime, cstime: fields 14 to 17 of the line.
            ticks += sum(int(v) for v in fields[11:15])
        return ticks * 1_000_000_000 // os.sysconf("SC_CLK_TCK")

    def close(self):
        if self.path:
            try:
                os.rmdir(self.path)
            except OSError:
                pass


def thread_switches(tree):
    """Voluntary and involuntary context switches of every thread of the tree."""
    counts = {}
    for pid in tree:
        try:
            tasks = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for task in tasks:
            try:
                with open(f"/proc/{pid}/task/{task}/status") as f:
                    values = dict(line.split(":", 1) for line in f if "ctxt_switches" in line)
                counts[(pid, int(task))] = sum(int(v) for v in values.values())
            except (OSError, ValueError):
                pass
    return counts


class WakeUps:
    """Context switches of all threads of a tree over a span of time, sampled
    every second so that a thread ending in between keeps what it did until
    its last sample; a thread born in between counts from zero."""

    def __init__(self):
        self.first = None
        self.last = {}

    def sample(self, tree):
        counts = thread_switches(tree)
        if self.first is None:
            self.first = dict(counts)
        self.last.update(counts)

    def total(self):
        return sum(count - self.first.get(key, 0) for key, count in self.last.items())


def stop_tree(process):
    """Ends the program: SIGTERM, then SIGKILL, to each process of its tree by id."""
    for sig, grace in ((signal.SIGTERM, 10.0), (signal.SIGKILL, 5.0)):
        for pid in process_tree(process.pid):
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + grace
        while time.monotonic() < deadline:
            process.poll()
            if not process_tree(process.pid):
                break
            time.sleep(0.1)
        else:
            continue
        break
    process.wait()


def wait_for_exit(process, timeout):
    """Seconds until the process ended, measured without polling delays, or None."""
    fd = os.pidfd_open(process.pid)
    try:
        poller = select.poll()
        poller.register(fd, select.POLLIN)
        if not poller.poll(int(timeout * 1000)):
            return None
        return time.monotonic_ns()
    finally:
        os.close(fd)


# --- the display -----------------------------------------------------------

class Keyboard:
    """A key press and release through XTest, as xdotool sends them."""

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("measure: cannot open the display")

    def press(self, keysym=0x61):
        code = self.x.XKeysymToKeycode(self.display, keysym)
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x.XFlush(self.display)

    def close(self):
        self.x.XCloseDisplay(self.display)


def panel_rows():
    """The rows the panel covers, left out of the picture comparison."""
    try:
        ids = subprocess.run(["xdotool", "search", "--classname", "tint2"],
                             capture_output=True, text=True, timeout=10).stdout.split()
        rows = []
        for wid in ids:
            shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid],
                                   capture_output=True, text=True, timeout=10).stdout
            values = dict(line.split("=", 1) for line in shell.split() if "=" in line)
            if int(values.get("HEIGHT", 0)) > 1 and int(values.get("WIDTH", 0)) > 100:
                rows.append((int(values["Y"]), int(values["Y"]) + int(values["HEIGHT"])))
        if rows:
            return min(r[0] for r in rows), max(r[1] for r in rows)
    except (OSError, ValueError, subprocess.TimeoutExpired):
        pass
    return 0, 0


class PaintWatch:
    def __init__(self, tool, ignored_rows, final_picture=None):
        arguments = [tool, "--ignore-rows", str(ignored_rows[0]), str(ignored_rows[1])]
        if final_picture:
            arguments += ["--save-final", final_picture]
        self.process = subprocess.Popen(arguments, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        ready = self.process.stdout.readline()
        if not ready.startswith("ready"):
            raise SystemExit("measure: the paint watch did not start")

    def stop(self):
        """Monotonic ns of the first complete paint, or None."""
        out, _ = self.process.communicate("stop\n", timeout=60)
        values = out.split()
        result = dict(zip(values[0::2], values[1::2]))
        first = int(result.get("first_complete_ns", -1))
        return (first if first >= 0 else None), result

    def kill(self):
        """Ends the watch if a measurement stopped before asking for its result."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def wait_for_quiet_minute(span):
    """Waits until the next `span` seconds lie within one minute of the clock."""
    while True:
        second = time.localtime().tm_sec + (time.time() % 1)
        if 1.0 <= second <= 59.0 - span:
            return
        time.sleep(0.2)


def keep_session_active():
    """A key without effect: the desktop program starts the screensaver after
    ten minutes without input, and a run must not find the session idle that
    long, or the screensaver joins the measured tree."""
    subprocess.run(["xdotool", "key", "shift"], check=False, timeout=30)


def sleep_until(ns):
    delay = (ns - time.monotonic_ns()) / 1e9
    if delay > 0:
        time.sleep(delay)


# --- the programs ----------------------------------------------------------

def chromium_flags(profile):
    # As root it runs only without its sandbox; the other flags keep it off the
    # closed network and off the missing GPU, as on any machine of this kind.
    return ["--no-sandbox", "--test-type", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--password-store=basic", "--user-data-dir=" + profile]


def programs(options):
    page = os.path.join(options.program_dir, "html", "index.html")
    url = "file://" + page
    home = os.environ["HOME"]
    listed = {
        "ZINTELLO": [os.path.join(options.program_dir, "zintello")],
        "QtWebEngine": [os.path.join(options.bench_dir, "zintello_webengine_peer"), url],
        "Chromium": ["chromium"] + chromium_flags(os.path.join(home, "chromium-profile"))
                    + ["--kiosk", "--app=" + url],
    }
    available = {}
    for name, command in listed.items():
        if os.path.isfile(command[0]) or (not os.path.isabs(command[0]) and shutil_which(command[0])):
            available[name] = command
        else:
            print(f"measure: {name} is not available here ({command[0]}); left out", flush=True)
    return available


def shutil_which(name):
    import shutil
    return shutil.which(name)


def program_environment():
    env = dict(os.environ)
    # No program of the benchmark reaches out: a refused proxy on 127.0.0.1 for
    # the update check, and no sandbox for Qt WebEngine under root.
    env["http_proxy"] = env["https_proxy"] = "http://127.0.0.1:9"
    env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    env["QTWEBENGINE_CHROMIUM_FLAGS"] = "--disable-gpu"
    return env


def launch(command, log, account=None):
    return subprocess.Popen(command, env=program_environment(), stdin=subprocess.DEVNULL,
                            stdout=log, stderr=subprocess.STDOUT, start_new_session=True,
                            preexec_fn=account.enter if account else None)


# --- one run ---------------------------------------------------------------

def measure_desktop_run(name, command, options, ignored_rows, log, picture=None, screens=1):
    keep_session_active()
    wait_for_quiet_minute(options.paint_window + 2)
    watch = PaintWatch(options.paintwatch, ignored_rows, picture)
    account = CpuAccount(name)
    start = time.monotonic_ns()
    process = launch(command, log, account)
    result = {"program": name, "load": os.getloadavg()[0], "screens": screens, "cpu_source": account.source}
    try:
        sleep_until(start + int(options.paint_window * 1e9))
        tree = process_tree(process.pid)
        result["rollup_early_kib"] = pss_kib(tree)
        result["pss_early_kib"] = session_pss_kib(tree)
        result["processes"] = len(tree)
        first, details = watch.stop()
        result["paint_s"] = (first - start) / 1e9 if first else None
        result["paint_details"] = details
        sleep_until(start + int(options.cpu_from * 1e9))
        wake_ups = WakeUps()
        tree = process_tree(process.pid)
        wake_ups.sample(tree)
        before = account.ns(tree)
        window_end = start + int((options.cpu_from + options.cpu_window) * 1e9)
        while time.monotonic_ns() < window_end - 1e9:
            time.sleep(1.0)
            wake_ups.sample(process_tree(process.pid))
        sleep_until(window_end)
        tree = process_tree(process.pid)
        wake_ups.sample(tree)
        after = account.ns(tree)
        result["cpu_percent"] = 100.0 * (after - before) / 1e9 / options.cpu_window
        result["wake_ups"] = wake_ups.total()
        result["wake_ups_per_min_per_screen"] = wake_ups.total() / (options.cpu_window / 60) / screens
        sleep_until(start + int(options.pss_late_at * 1e9))
        tree = process_tree(process.pid)
        result["rollup_late_kib"] = pss_kib(tree)
        result["pss_late_kib"] = session_pss_kib(tree)
        result["written_late_kib"] = written_kib(tree)
        result["processes_late"] = len(tree)
        result["ended_early"] = process.poll() is not None
    finally:
        watch.kill()
        stop_tree(process)
        account.close()
    return result


def measure_saver_run(command, options, ignored_rows, log, keyboard, picture=None):
    wait_for_quiet_minute(options.paint_window + 2)
    watch = PaintWatch(options.paintwatch, ignored_rows, picture)
    start = time.monotonic_ns()
    process = launch(command, log)
    result = {"program": "ZINTELLO.scr", "load": os.getloadavg()[0]}
    try:
        sleep_until(start + int(options.paint_window * 1e9))
        result["pss_kib"] = session_pss_kib(process_tree(process.pid))
        first, details = watch.stop()
        result["paint_s"] = (first - start) / 1e9 if first else None
        result["paint_details"] = details
        if process.poll() is None:
            pressed = time.monotonic_ns()
            keyboard.press()
            ended = wait_for_exit(process, 10)
            result["exit_ms"] = (ended - pressed) / 1e6 if ended else None
        else:
            result["exit_ms"] = None
    finally:
        watch.kill()
        stop_tree(process)
    return result


def warm_up(command, options, log):
    """One unmeasured start: first-start work, profiles and the file cache are ready after it."""
    process = launch(command, log)
    time.sleep(options.warm_up)
    stop_tree(process)


def measure_screen_cost(options, log):
    """The desktop program in the two-screen session, its second output off and on in turn."""
    command = [os.path.join(options.program_dir, "zintello")]
    warm_up(command, options, log)
    results = []
    outputs = {1: ["--output", "DUMMY1", "--off"],
               2: ["--output", "DUMMY1", "--mode", "1024x768", "--right-of", "DUMMY0"]}
    for run in range(options.runs):
        for screens, arguments in outputs.items():
            subprocess.run(["xrandr"] + arguments, check=True, timeout=30)
            time.sleep(2)
            print(f"measure: screens run {run + 1}/{options.runs}, {screens} screen(s)", flush=True)
            result = measure_desktop_run("ZINTELLO", command, options, panel_rows(), log, screens=screens)
            result["run"] = run + 1
            print("   ", json.dumps({k: v for k, v in result.items() if k != "paint_details"}), flush=True)
            results.append(result)
            time.sleep(2)
    return results


def implausible(results, window_s):
    """Why a figure cannot be right, one line each: a missing one, a negative
    or zero one where the program does work, more CPU than the machine has.
    No wake-up at all is possible only in a window shorter than the page
    clock's minute."""
    problems = []
    ceiling = 100.0 * os.cpu_count()
    for r in results:
        what = f"{r['program']} run {r.get('run')}" + (f", {r['screens']} screen(s)" if "screens" in r else "")
        if r.get("ended_early"):
            problems.append(f"{what}: the program ended during the run")
        if r["program"] == "ZINTELLO" and r.get("processes_late", 1) > 1:
            problems.append(f"{what}: another process (the screensaver?) ran in the program's tree")
        keys = ("paint_s", "pss_kib", "exit_ms") if r["program"] == "ZINTELLO.scr" else \
            ("paint_s", "pss_early_kib", "pss_late_kib", "cpu_percent", "wake_ups")
        for key in keys:
            value = r.get(key)
            if value is None:
                problems.append(f"{what}: no {key} figure")
            elif value < 0 or (value == 0 and (key != "wake_ups" or window_s >= 60)):
                problems.append(f"{what}: {key} is {value}, which cannot be")
        cpu = r.get("cpu_percent")
        if cpu is not None and cpu > ceiling:
            problems.append(f"{what}: cpu_percent {cpu:.1f} is more than the machine's {ceiling:.0f} %")
    return problems


# --- the report ------------------------------------------------------------

METRICS = [
    ("paint_s", "start to first complete paint", "s", 1.0),
    ("pss_early_kib", "PSS after {early}", "MiB", 1 / 1024),
    ("pss_late_kib", "PSS after {late}", "MiB", 1 / 1024),
    ("rollup_early_kib", "machine-wide PSS after {early}", "MiB", 1 / 1024),
    ("rollup_late_kib", "machine-wide PSS after {late}", "MiB", 1 / 1024),
    ("written_late_kib", "written memory after {late}", "MiB", 1 / 1024),
    ("cpu_percent", "idle CPU over {window}", "% of a core", 1.0),
    ("wake_ups_per_min_per_screen", "wake-ups over {window}", "per min and screen", 1.0),
]


def seconds_label(seconds):
    return f"{seconds / 60:g} min" if seconds >= 60 and seconds % 60 == 0 else f"{seconds:g} s"


def summary(values):
    values = [v for v in values if v is not None]
    if not values:
        return None
    return {"median": statistics.median(values), "min": min(values), "max": max(values), "n": len(values)}


def format_cell(s, scale, digits=2):
    if not s:
        return "n/a"
    return (f"{s['median'] * scale:.{digits}f} [{s['min'] * scale:.{digits}f}-{s['max'] * scale:.{digits}f}]"
            f" n={s['n']}")


def ratio_line(label, ours, theirs, target, better="lower"):
    if not ours or not theirs or theirs["median"] == 0:
        return f"{label}: n/a"
    ratio = ours["median"] / theirs["median"]
    verdict = "met" if ratio <= target else "MISSED"
    return f"{label}: {ratio:.3f} (target <= {target:.3g}: {verdict})"


def build_report(results, options):
    labels = {"early": seconds_label(options.paint_window), "late": seconds_label(options.pss_late_at),
              "window": seconds_label(options.cpu_window)}
    names = [n for n in ("ZINTELLO", "QtWebEngine", "Chromium") if any(r["program"] == n for r in results)]
    stats = {n: {key: summary([r.get(key) for r in results if r["program"] == n]) for key, *_ in METRICS}
             for n in names}
    saver = [r for r in results if r["program"] == "ZINTELLO.scr"]
    saver_stats = {"paint_s": summary([r.get("paint_s") for r in saver]),
                   "exit_ms": summary([r.get("exit_ms") for r in saver]),
                   "pss_kib": summary([r.get("pss_kib") for r in saver])}

    lines = [f"ZINTELLO benchmark, {time.strftime('%Y-%m-%d %H:%M')}, {os.cpu_count()} cores, "
             f"Xvfb 1280x800 with openbox and tint2; median [min-max] n=runs",
             "start: first 15 ms grab of the root window equal to the picture at "
             f"{labels['early']} (panel rows left out); CPU: the kernel's accounting of the program "
             f"({results[0].get('cpu_source', '?') if results else '?'}) from {options.cpu_from:g} s on;",
             "wake-ups: context switches of all its threads over the same window;",
             "PSS: sum over the process tree, shared pages divided among this desktop session's "
             "processes only (pagemap);", "machine-wide PSS: the kernel's smaps_rollup, which other users "
             "of the same libraries on the machine lower;",
             "written memory: its anonymous and shared memory (smaps_rollup's Pss_Anon and Pss_Shmem), "
             "without the pages of library files", ""]
    heads = [f"{title.format(**labels)} ({unit})" for _, title, unit, _ in METRICS]
    width = max(len(head) for head in heads) + 2
    lines.append("".ljust(width) + "".join(n.ljust(34) for n in names))
    for head, (key, _, _, scale) in zip(heads, METRICS):
        lines.append(head.ljust(width) + "".join(format_cell(stats[n][key], scale).ljust(34) for n in names))
    lines += ["", "Screensaver (ZINTELLO.scr /s)",
              f"  start to page painted (s):      {format_cell(saver_stats['paint_s'], 1.0)}",
              f"  key press to process exit (ms): {format_cell(saver_stats['exit_ms'], 1.0, 1)}",
              f"  PSS after {labels['early']} (MiB):         {format_cell(saver_stats['pss_kib'], 1 / 1024)}"]

    ratios = ["", "Ratios of medians, ZINTELLO / peer (lower is better)"]
    zintello = stats.get("ZINTELLO", {})
    for peer in names[1:]:
        theirs = stats[peer]
        ratios.append(ratio_line(f"  memory after {labels['early']}, / {peer}", zintello.get("pss_early_kib"),
                                 theirs["pss_early_kib"], 1 / 4))
        ratios.append(ratio_line(f"  memory after {labels['late']}, / {peer}", zintello.get("pss_late_kib"),
                                 theirs["pss_late_kib"], 1 / 4))
        if zintello.get("written_late_kib") and theirs["written_late_kib"]:
            ratios.append(f"  written memory after {labels['late']}, / {peer}: "
                          f"{zintello['written_late_kib']['median'] / theirs['written_late_kib']['median']:.3f} (no target)")
        ratios.append(ratio_line(f"  idle CPU, / {peer}", zintello.get("cpu_percent"), theirs["cpu_percent"], 0.5))
        ratios.append(ratio_line(f"  start to paint, / {peer}", zintello.get("paint_s"), theirs["paint_s"], 0.33))
    cpu = zintello.get("cpu_percent")
    if cpu:
        ratios.append(f"  idle CPU of ZINTELLO: {cpu['median']:.3f} % of a core "
                      f"(target < 1 %: {'met' if cpu['median'] < 1 else 'MISSED'})")
    wake_ups = zintello.get("wake_ups_per_min_per_screen")
    if wake_ups:
        ratios.append(f"  wake-ups of ZINTELLO at rest: {wake_ups['median']:.1f} per minute and screen "
                      f"(target <= 6: {'met' if wake_ups['median'] <= 6 else 'MISSED'})")
    ratios.append(ratio_line(f"  screensaver memory / desktop program's, both after {labels['early']}",
                             saver_stats["pss_kib"], zintello.get("pss_early_kib"), 1.0))
    if saver_stats["exit_ms"]:
        median = saver_stats["exit_ms"]["median"]
        ratios.append(f"  screensaver key press to exit: {median:.1f} ms "
                      f"(target < 100 ms: {'met' if median < 100 else 'MISSED'})")
    ratios.append(ratio_line("  screensaver start / desktop program start", saver_stats["paint_s"],
                             zintello.get("paint_s"), 1.5))
    return "\n".join(lines), "\n".join(ratios), stats, saver_stats


def screen_cost_report(results, options):
    """Lines on what each further screen costs, from the two-screen session's runs."""
    if not results:
        return []
    late = seconds_label(options.screens_pss_late_at)
    by = {n: {key: summary([r.get(key) for r in results if r["screens"] == n])
              for key in ("pss_late_kib", "cpu_percent", "wake_ups_per_min_per_screen")} for n in (1, 2)}
    lines = ["", f"Each further screen (Xorg dummy session, DUMMY0 1280x800, DUMMY1 1024x768 off and on; "
             f"median [min-max] n=runs)"]
    for n in (1, 2):
        lines.append(f"  {n} screen(s): PSS after {late} (MiB) {format_cell(by[n]['pss_late_kib'], 1 / 1024)};"
                     f" idle CPU (% of a core) {format_cell(by[n]['cpu_percent'], 1.0, 3)};"
                     f" wake-ups per min and screen {format_cell(by[n]['wake_ups_per_min_per_screen'], 1.0, 1)}")
    one, two = by[1], by[2]
    if one["pss_late_kib"] and two["pss_late_kib"]:
        extra = (two["pss_late_kib"]["median"] - one["pss_late_kib"]["median"]) / 1024
        lines.append(f"  the second screen's PSS: {extra:+.2f} MiB (target <= 12: {'met' if extra <= 12 else 'MISSED'})")
    if one["cpu_percent"] and two["cpu_percent"]:
        lines.append(f"  the second screen's idle CPU: "
                     f"{two['cpu_percent']['median'] - one['cpu_percent']['median']:+.3f} % of a core")
    wake_ups = two["wake_ups_per_min_per_screen"]
    if wake_ups:
        lines.append(f"  wake-ups with two screens: {wake_ups['median']:.1f} per minute and screen "
                     f"(target <= 6: {'met' if wake_ups['median'] <= 6 else 'MISSED'})")
    return lines


def write_plot(stats, saver_stats, options, svg_path, png_path):
    """Four small bar charts (median, with a whisker from min to max), written as SVG."""
    labels = {"early": seconds_label(options.paint_window), "late": seconds_label(options.pss_late_at),
              "window": seconds_label(options.cpu_window)}
    colours = {"ZINTELLO": "#2a9d8f", "QtWebEngine": "#e76f51", "Chromium": "#6d597a"}
    names = list(stats)
    panel_w, panel_h, top, bottom = 280, 220, 40, 60
    svg = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{panel_w * 4 + 20}" height="{panel_h + top + bottom + 30}" '
           'font-family="DejaVu Sans, sans-serif" font-size="11">',
           '<rect width="100%" height="100%" fill="white"/>']
    plotted = [m for m in METRICS if m[0] in ("paint_s", "pss_early_kib", "pss_late_kib", "cpu_percent")]
    for index, (key, title, unit, scale) in enumerate(plotted):
        x0 = 10 + index * panel_w
        values = [stats[n][key] for n in names]
        peak = max([v["max"] * scale for v in values if v] + [1e-9])
        svg.append(f'<text x="{x0 + panel_w / 2}" y="20" text-anchor="middle" font-weight="bold">'
                   f'{title.format(**labels)}</text>')
        svg.append(f'<text x="{x0 + panel_w / 2}" y="34" text-anchor="middle" fill="#555">{unit}</text>')
        base = top + panel_h
        svg.append(f'<line x1="{x0 + 10}" y1="{base}" x2="{x0 + panel_w - 10}" y2="{base}" stroke="#333"/>')
        bar_w = (panel_w - 40) / max(1, len(names))
        for i, (name, s) in enumerate(zip(names, values)):
            bx = x0 + 20 + i * bar_w
            if s:
                h = panel_h * 0.9 * s["median"] * scale / peak
                svg.append(f'<rect x="{bx + 6}" y="{base - h}" width="{bar_w - 12}" height="{h}" '
                           f'fill="{colours.get(name, "#888")}"/>')
                lo = base - panel_h * 0.9 * s["min"] * scale / peak
                hi = base - panel_h * 0.9 * s["max"] * scale / peak
                cx = bx + bar_w / 2
                svg.append(f'<line x1="{cx}" y1="{lo}" x2="{cx}" y2="{hi}" stroke="black"/>')
                svg.append(f'<line x1="{cx - 5}" y1="{hi}" x2="{cx + 5}" y2="{hi}" stroke="black"/>')
                svg.append(f'<text x="{cx}" y="{min(lo, base - h) - 6 if hi > base - h else hi - 6}" '
                           f'text-anchor="middle">{s["median"] * scale:.3g}</text>')
            svg.append(f'<text x="{bx + bar_w / 2}" y="{base + 16}" text-anchor="middle" font-size="10">{name}</text>')
    saver_text = "screensaver: "
    if saver_stats["paint_s"]:
        saver_text += f"start to painted {saver_stats['paint_s']['median']:.2f} s"
    if saver_stats["exit_ms"]:
        saver_text += f", key press to exit {saver_stats['exit_ms']['median']:.0f} ms"
    svg.append(f'<text x="10" y="{panel_h + top + 45}">{saver_text}; medians, whiskers min-max</text>')
    svg.append("</svg>")
    with open(svg_path, "w") as f:
        f.write("\n".join(svg))
    subprocess.run(["rsvg-convert", "-o", png_path, svg_path], check=False)


# --- main ------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("--bench-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--saver-runs", type=int, default=5)
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--only", action="append", help="measure only these: ZINTELLO, QtWebEngine, Chromium, saver")
    parser.add_argument("--screens-pass", action="store_true",
                        help="in the two-screen session: the desktop program with one and two screens, to screens.json")
    options = parser.parse_args()
    options.paintwatch = os.path.join(options.bench_dir, "zintello_paintwatch")
    options.paint_window = 10.0
    options.warm_up = 12.0
    if options.quick:
        options.cpu_from, options.cpu_window, options.pss_late_at = 15.0, 20.0, 40.0
        options.runs = min(options.runs, 1) if options.runs == 3 else options.runs
        options.saver_runs = 2 if options.saver_runs == 5 else options.saver_runs
    else:
        options.cpu_from, options.cpu_window, options.pss_late_at = 15.0, 60.0, 300.0
    # Each screen count is started in turn: the PSS is taken once the idle window is over.
    options.screens_pss_late_at = options.cpu_from + options.cpu_window + 5
    os.makedirs(options.out, exist_ok=True)
    screens_file = os.path.join(options.out, "screens.json")

    if options.screens_pass:
        options.pss_late_at = options.screens_pss_late_at
        options.runs = 1 if options.quick else 2
        with open(os.path.join(options.out, "programs.log"), "ab") as log:
            results = measure_screen_cost(options, log)
        with open(screens_file, "w") as f:
            json.dump(results, f, indent=1)
        print("\n".join(screen_cost_report(results, options)))
        problems = implausible(results, options.cpu_window)
        for problem in problems:
            print(f"measure: FAILED: {problem}", flush=True)
        return 1 if problems else 0

    available = programs(options)
    if options.only:
        available = {n: c for n, c in available.items() if n in options.only}
    saver_command = [os.path.join(options.program_dir, "ZINTELLO.scr"), "/s"]
    ignored_rows = panel_rows()
    print(f"measure: panel rows {ignored_rows} left out of the pictures", flush=True)
    log = open(os.path.join(options.out, "programs.log"), "ab")
    keyboard = Keyboard()

    # The desktop program's first start sets the wallpaper and its settings;
    # every measured start is a later one, as at each log-in.
    for name, command in available.items():
        print(f"measure: warming up {name}", flush=True)
        warm_up(command, options, log)
    measure_saver = not options.only or "saver" in options.only
    if measure_saver:
        warm_up(saver_command, options, log)

    results = []
    names = list(available)
    for run in range(options.runs):
        order = names[run % len(names):] + names[:run % len(names)] if names else []
        for name in order:
            picture = os.path.join(options.out, f"final-{name}.ppm") if run == 0 else None
            print(f"measure: run {run + 1}/{options.runs} {name}", flush=True)
            result = measure_desktop_run(name, available[name], options, ignored_rows, log, picture)
            result["run"] = run + 1
            print("   ", json.dumps({k: v for k, v in result.items() if k != "paint_details"}), flush=True)
            results.append(result)
            time.sleep(2)
    if measure_saver:
        for run in range(options.saver_runs):
            picture = os.path.join(options.out, "final-ZINTELLO.scr.ppm") if run == 0 else None
            print(f"measure: screensaver run {run + 1}/{options.saver_runs}", flush=True)
            result = measure_saver_run(saver_command, options, ignored_rows, log, keyboard, picture)
            result["run"] = run + 1
            print("   ", json.dumps({k: v for k, v in result.items() if k != "paint_details"}), flush=True)
            results.append(result)
            time.sleep(2)
    keyboard.close()

    for name in os.listdir(options.out):
        if name.endswith(".ppm"):
            path = os.path.join(options.out, name)
            subprocess.run(["convert", path, path[:-4] + ".png"], check=False)
            os.remove(path)

    table, ratios, stats, saver_stats = build_report(results, options)
    screen_results = []
    if os.path.isfile(screens_file):
        with open(screens_file) as f:
            screen_results = json.load(f)
    ratios = "\n".join([ratios] + screen_cost_report(screen_results, options))
    with open(os.path.join(options.out, "results.json"), "w") as f:
        json.dump({"options": {k: v for k, v in vars(options).items()}, "results": results,
                   "screens": screen_results}, f, indent=1)
    with open(os.path.join(options.out, "table.txt"), "w") as f:
        f.write(table + "\n" + ratios + "\n")
    write_plot(stats, saver_stats, options, os.path.join(options.out, "plot.svg"),
               os.path.join(options.out, "plot.png"))
    print()
    print(table)
    print(f"\nTable: {options.out}/table.txt  plot: {options.out}/plot.png")
    print(ratios)
    problems = implausible(results, options.cpu_window)
    for problem in problems:
        print(f"measure: FAILED: {problem}", flush=True)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
