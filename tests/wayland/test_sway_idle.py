"""The idle start of the screensaver under headless sway, which tells its
clients of idleness only through KDE's idle protocol: the real desktop program
starts the real ZINTELLO.scr /s after the stored idle time (one minute, the
shortest the store holds), and input during that time delays it."""
import os
import time
import unittest

from waylandsession import Session, VirtualKeyboard, VirtualPointer, wait_until

IDLE_TIME = 60
# The compositor counts from the moment the program armed the time, a little
# after its start; sleeps are coarse: a start counts as "after the idle time" a
# little before it.
EARLIEST_START = IDLE_TIME - 8
LATEST_START = 3 * IDLE_TIME
SECOND_OUTPUT = (1280, 0, 1024, 768)


class SwayIdleStartTest(unittest.TestCase):
    def setUp(self):
        self.session = Session()
        self.session.swaymsg("create_output")
        self.assertTrue(wait_until(lambda: len(self.session.outputs()) == 2))
        self.store_minutes(1)
        # The session's keyboard, there before the programs start.
        self.keyboard = VirtualKeyboard()

    def tearDown(self):
        self.session.stop_all()
        self.keyboard.close()

    def store_minutes(self, minutes):
        directory = os.path.join(self.session.home, ".config", "Morvaleen")
        os.makedirs(directory, exist_ok=True)
        path = os.path.join(directory, "Zintello.conf")
        with open(path, "w") as store:
            store.write(f"[General]\nscreensaverMinutes={minutes}\n")
        uid, gid = (int(value) for value in os.environ["ZINTELLO_SESSION_USER"].split(":"))
        for owned in (os.path.dirname(directory), directory, path):
            os.chown(owned, uid, gid)

    def shows_of(self, program):
        """The ZINTELLO.scr /s processes that the desktop program started."""
        found = []
        for entry in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as command_line:
                    arguments = command_line.read().split(b"\0")
                with open(f"/proc/{entry}/status") as status:
                    state = status.read()
            except OSError:
                continue
            if (os.path.basename(arguments[0]) == b"ZINTELLO.scr" and arguments[1:2] == [b"/s"]
                    and f"PPid:\t{program.pid}\n" in state and "State:\tZ" not in state):
                found.append(int(entry))
        return found

    def second_output_covered(self):
        x, y, width, height = SECOND_OUTPUT
        shot = self.session.screenshot()
        return all(self.session.mean_colour(shot, x + dx, y + dy) == (0, 0, 0)
                   for dx, dy in ((10, 10), (width - 20, height - 20)))

    def show_appears(self, program, timeout):
        """Seconds until the show ran and covered the outputs, or None."""
        started = time.monotonic()
        if not wait_until(lambda: self.shows_of(program), timeout=timeout):
            return None
        elapsed = time.monotonic() - started
        print(f"show after {elapsed:.1f} s", flush=True)
        self.assertTrue(wait_until(self.second_output_covered), "the show does not cover the outputs")
        return elapsed

    def end_show_with_key(self, program):
        self.keyboard.press_key()
        self.assertTrue(wait_until(lambda: not self.shows_of(program)), "the show did not end on a key")

    def test_show_starts_after_the_idle_time_and_input_delays_it(self):
        program = self.session.start("zintello")
        self.assertTrue(wait_until(self.session.desktop_program_ready), "the desktop program never got ready")
        since_ready = time.monotonic()
        self.assertIsNotNone(self.show_appears(program, LATEST_START), "no show after the idle time")
        # The session was idle a few seconds before the program was ready.
        self.assertGreater(time.monotonic() - since_ready, EARLIEST_START - 10, "the show came too early")
        # Not again while the show runs.
        time.sleep(IDLE_TIME / 2)
        self.assertEqual(len(self.shows_of(program)), 1)
        self.end_show_with_key(program)

        # A move half-way through the idle time counts it again from there.
        self.assertIsNone(self.show_appears(program, IDLE_TIME / 2), "the show came again too early")
        with VirtualPointer() as pointer:
            pointer.move(15, 10)
        since_move = time.monotonic()
        self.assertIsNotNone(self.show_appears(program, LATEST_START), "no show after the move")
        self.assertGreater(time.monotonic() - since_move, EARLIEST_START, "the move did not delay the show")
        self.end_show_with_key(program)

        self.assertEqual(self.session.run("zintello", "/q").returncode, 0)
        self.assertEqual(program.wait(60), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
