"""The desktop program under weston, a compositor without the layer shell, run
by tests/harness/wayland-session --weston: there it must not show its
background at all, as it could not keep it below the user's windows."""
import glob
import os
import subprocess
import unittest

from waylandsession import Session, read_line, wait_until

# weston places the settings window to the right; a background shown as a
# window would cover all of the screen.
DESKTOP_PROBES = ((80, 80), (80, 600), (400, 400))


class WestonTest(unittest.TestCase):
    def setUp(self):
        self.session = Session()

    def tearDown(self):
        self.session.stop_all()

    def screenshot(self):
        for old in glob.glob(os.path.join(self.session.scratch, "wayland-screenshot-*.png")):
            os.remove(old)
        subprocess.run(["weston-screenshooter"], cwd=self.session.scratch, check=True,
                       capture_output=True, timeout=60)
        return glob.glob(os.path.join(self.session.scratch, "wayland-screenshot-*.png"))[0]

    def shows_desktop(self, shot, desktop):
        return all(self.session.mean_colour(shot, x, y) == self.session.mean_colour(desktop, x, y)
                   for x, y in DESKTOP_PROBES)

    @staticmethod
    def differs(shot, other):
        result = subprocess.run(["compare", "-metric", "AE", shot, other, "null:"],
                                capture_output=True, text=True)
        return float(result.stderr.split()[0]) > 1000

    def test_without_layers_no_background_but_the_settings_window(self):
        desktop = os.path.join(self.session.scratch, "desktop.png")

        def desktop_settled():
            # weston's own shell draws its background and panel after start.
            shot = self.screenshot()
            settled = os.path.exists(desktop) and not self.differs(shot, desktop)
            os.replace(shot, desktop)
            return settled
        self.assertTrue(wait_until(desktop_settled))
        self.session.start_session_bus()
        tray = self.session.start_tray_service(os.environ["ZINTELLO_TRAY_SERVICE"])
        program = self.session.start("zintello")
        self.assertTrue(wait_until(self.session.desktop_program_ready))
        # The settings window of a second start is the first window the program
        # shows; a background would have come before it.
        self.assertEqual(self.session.run("zintello").returncode, 0)
        settings = wait_until(lambda: (lambda shot: shot if self.differs(shot, desktop) else None)(
            self.screenshot()))
        self.assertIsNotNone(settings, "the settings window never appeared")
        self.assertTrue(self.shows_desktop(settings, desktop), "the background shows as a window")
        self.assertIsNone(program.poll(), "the program ended")

        # One tray message says why (beside the first start's own), and none more.
        messages = [read_line(tray.stdout), read_line(tray.stdout)]
        # By now a background would have shown.
        self.assertTrue(self.shows_desktop(self.screenshot(), desktop), "the background shows as a window")
        self.assertEqual(self.session.run("zintello", "/q").returncode, 0)
        self.assertEqual(program.wait(60), 0)
        self.assertEqual(len([line for line in messages if "the live background" in line]), 1,
                         (messages, program.stdout.read()))
        tray.kill()
        self.assertNotIn(b"background", tray.stdout.read())

    def test_show_is_a_full_screen_window_over_the_panel(self):
        show = self.session.start("ZINTELLO.scr", "/s")
        self.assertTrue(wait_until(lambda: self.session.shows_clock(self.screenshot())),
                        "the page never showed")
        # weston's panel lies along the top edge; the page covers it, and its
        # transparent left half shows the design there.
        shot = self.screenshot()
        self.assertTrue(all(self.session.distance(self.session.mean_colour(shot, x, 4, size=4),
                                                  self.session.design_at(x, 4, size=4)) <= 36
                            for x in (8, 200, 400)), "the panel shows over the page")
        self.assertIsNone(show.poll())


if __name__ == "__main__":
    unittest.main(verbosity=2)
