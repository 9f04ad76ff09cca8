"""The real programs under headless sway (a wlroots compositor with the layer
shell), run by tests/harness/wayland-session."""
import subprocess
import unittest

from waylandsession import Session, VirtualPointer, wait_until

# The start page draws its layer on the right half only: the left half shows
# what lies behind the page, the clock lies on the right.
BACKDROP_PROBE = (80, 80)
SECOND_OUTPUT = (1280, 0, 1024, 768)


class SwayTest(unittest.TestCase):
    def setUp(self):
        self.session = Session()
        # The session's second output lives on from one test to the next.
        if len(self.session.outputs()) < 2:
            self.session.swaymsg("create_output")
        self.assertTrue(wait_until(lambda: len(self.session.outputs()) == 2))

    def tearDown(self):
        self.session.stop_all()

    def shows_design_behind_page(self, shot):
        return self.session.distance(self.session.mean_colour(shot, *BACKDROP_PROBE),
                                     self.session.design_at(*BACKDROP_PROBE)) <= 36

    def shows_design_on_second_output(self, shot):
        x, y, width, height = SECOND_OUTPUT
        return all(self.session.distance(self.session.mean_colour(shot, x + dx, y + dy),
                                         self.session.design_at(dx, dy, f"{width}x{height}")) <= 36
                   for dx, dy in ((40, 40), (width - 60, height - 60)))

    def toplevel_of(self, process):
        return next((node for node in self.session.toplevels() if node["pid"] == process.pid), None)

    def wait_for_toplevel(self, process):
        return wait_until(lambda: self.toplevel_of(process))

    def test_background_lies_in_the_background_layer_below_windows(self):
        background = self.session.start("zintello")
        self.assertTrue(wait_until(lambda: self.shows_design_behind_page(self.session.screenshot())),
                        "the design never showed behind the page")
        # No output is left bare: the other one shows the wallpaper.
        self.assertTrue(wait_until(lambda: self.shows_design_on_second_output(self.session.screenshot())),
                        "the second output does not show the wallpaper")
        self.assertTrue(wait_until(lambda: self.session.shows_clock(self.session.screenshot())),
                        "the clock never showed")
        self.assertIsNone(self.toplevel_of(background), "the background is a toplevel window")

        # A second start opens the settings window: an ordinary window, shown on
        # top and focused, while the background goes on below it.
        self.assertEqual(self.session.run("zintello").returncode, 0)
        settings = self.wait_for_toplevel(background)
        self.assertIsNotNone(settings, "the settings window never appeared")
        self.assertTrue(wait_until(lambda: (self.toplevel_of(background) or {}).get("focused")),
                        "the settings window is not focused")
        self.assertTrue(self.toplevel_of(background)["visible"])

        # The screensaver's dialog, started from the settings, opens on top too.
        dialog = self.session.start("ZINTELLO.scr", "/c")
        self.assertTrue(wait_until(lambda: (self.toplevel_of(dialog) or {}).get("focused")),
                        "the screensaver dialog is not focused")
        shot = self.session.screenshot()
        self.assertTrue(self.shows_design_behind_page(shot) or self.covered(shot, settings, dialog),
                        "the background went away")

        self.assertEqual(self.session.run("zintello", "/q").returncode, 0)
        self.assertEqual(background.wait(60), 0)

    def covered(self, shot, *windows):
        # The probe may lie under a window that sway placed there.
        x, y = BACKDROP_PROBE
        return any(node["rect"]["x"] <= x < node["rect"]["x"] + node["rect"]["width"]
                   and node["rect"]["y"] <= y < node["rect"]["y"] + node["rect"]["height"]
                   for node in self.session.toplevels())

    def test_show_covers_every_output_and_ends_on_input(self):
        for end_with in ("key", "pointer"):
            with self.subTest(end_with=end_with):
                show = self.session.start("ZINTELLO.scr", "/s")
                self.assertTrue(wait_until(lambda: self.session.shows_clock(self.session.screenshot())),
                                "the page never showed on the primary output")
                shot = self.session.screenshot()
                x, y, width, height = SECOND_OUTPUT
                for probe in ((x + 10, y + 10), (x + width - 20, y + height - 20)):
                    self.assertEqual(self.session.mean_colour(shot, *probe), (0, 0, 0))
                self.assertEqual(self.session.toplevels(), [], "the show made a toplevel window")
                self.assertIsNone(show.poll())
                if end_with == "key":
                    # wtype's keyboard exists only while it runs: the pause lets
                    # the show see the seat's new keyboard before the key comes.
                    subprocess.run(["wtype", "-s", "1500", "a"], check=True, timeout=30)
                else:
                    pointer = VirtualPointer()
                    try:
                        wait_until(lambda: (pointer.move(12, 9), show.poll() is not None)[1],
                                   timeout=30)
                    finally:
                        pointer.close()
                try:
                    self.assertEqual(show.wait(30), 0)
                except subprocess.TimeoutExpired:
                    self.fail(f"the show did not end on a {end_with}")


if __name__ == "__main__":
    unittest.main(verbosity=2)
