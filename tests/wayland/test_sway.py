"""The real programs under headless sway (a wlroots compositor with the layer
shell), run by tests/harness/wayland-session."""
import os
import re
import subprocess
import unittest

from waylandsession import Session, VirtualKeyboard, VirtualPointer, wait_until

# The start page draws its layer on the right half only: the left half shows
# what lies behind the page, the clock lies on the right.
BACKDROP_PROBE = (80, 80)
SECOND_OUTPUT = (1280, 0, 1024, 768)


class NestedSway:
    """A sway of the session's user inside the session's sway (wlroots' Wayland
    backend): its outputs are windows of the outer one. While it runs, the
    test's programs, screenshots and swaymsg reach it instead of the outer one."""

    def __init__(self, session):
        self.session = session
        self.saved = {}
        self.compositor = None

    def __enter__(self):
        # Outputs keep the size they ask for, rather than a tile's.
        Session.swaymsg('for_window [app_id="wlroots"] floating enable')
        runtime = os.environ["XDG_RUNTIME_DIR"]
        before = set(os.listdir(runtime))
        config = os.path.join(self.session.scratch, "nested-sway.conf")
        with open(config, "w") as file:
            file.write("xwayland disable\noutput * bg #2a5a8a solid_color\n")
        os.chmod(config, 0o644)
        socket = os.path.join(runtime, "nested-sway-ipc.sock")
        env = self.session.program_env()
        env.update({"WLR_BACKENDS": "wayland", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
                    "SWAYSOCK": socket})
        self.compositor = subprocess.Popen(self.session.as_user + ["sway", "-c", config], env=env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.session.processes.append(self.compositor)

        def new_display():
            return next((name for name in set(os.listdir(runtime)) - before
                         if name.startswith("wayland-") and not name.endswith(".lock")), None)
        display = wait_until(new_display)
        if not display or not wait_until(lambda: subprocess.run(
                ["swaymsg", "-s", socket, "-t", "get_version"], capture_output=True).returncode == 0):
            raise RuntimeError("the nested sway did not start")
        for variable, value in (("WAYLAND_DISPLAY", display), ("SWAYSOCK", socket)):
            self.saved[variable] = os.environ.get(variable)
            os.environ[variable] = value
        return self

    def __exit__(self, *exception):
        for variable, value in self.saved.items():
            if value is None:
                os.environ.pop(variable, None)
            else:
                os.environ[variable] = value
        self.session.stop_all()

    def unplug(self, output):
        """Closes the outer window that shows the output; the nested sway then
        loses that output as if it were unplugged."""
        subprocess.run(["swaymsg", "-s", self.saved["SWAYSOCK"], f'[title="wlroots - {output}"] kill'],
                       check=True, capture_output=True)


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

    @staticmethod
    def bottom_layer_surfaces(protocol_log):
        """The program's surfaces in the bottom layer that exist now, from its
        protocol log: made by get_layer_surface (layer 1), ended by destroy."""
        alive = set()
        made = re.compile(r"get_layer_surface\(new id zwlr_layer_surface_v1@(\d+), wl_surface@\d+, "
                          r"wl_output@\d+, 1,")
        ended = re.compile(r"-> zwlr_layer_surface_v1@(\d+)\.destroy\(\)")
        with open(protocol_log, errors="replace") as log:
            for line in log:
                if "zwlr_layer_s" not in line:
                    continue
                if (match := made.search(line)):
                    alive.add(match.group(1))
                elif (match := ended.search(line)):
                    alive.discard(match.group(1))
        return len(alive)

    def shows_design_on_output(self, name):
        """The page on an output of its own size: the design, painted to cover
        that output, behind the page's transparent left half."""
        output = next(output for output in self.session.outputs() if output["name"] == name)
        width, height = output["rect"]["width"], output["rect"]["height"]
        shot = self.session.screenshot(f"{name}.png", output=name)
        return all(self.session.distance(self.session.mean_colour(shot, x, y),
                                         self.session.design_at(x, y, f"{width}x{height}")) <= 36
                   for x, y in ((40, 40), (60, height - 60)))

    def output_names(self):
        return sorted(output["name"] for output in self.session.outputs())

    def test_backgrounds_follow_outputs_that_come_go_and_change_size(self):
        # The headless outputs of sway 1.7 cannot be switched off ("Failed to
        # commit output"); the outputs of a sway nested in this one can: each is
        # a window here, and closing that window unplugs the output.
        with NestedSway(self.session) as nested:
            log = os.path.join(self.session.scratch, "protocol.log")
            background = self.session.start("zintello", protocol_log=log)
            self.assertTrue(wait_until(lambda: self.bottom_layer_surfaces(log) == 1))
            self.assertTrue(wait_until(lambda: self.shows_design_on_output("WL-1")),
                            "the page never showed")

            # An output comes: its background follows within about a second (the
            # waits are ample for a busy machine).
            self.session.swaymsg("create_output")
            self.assertTrue(wait_until(lambda: self.output_names() == ["WL-1", "WL-2"]))
            self.assertTrue(wait_until(lambda: self.bottom_layer_surfaces(log) == 2),
                            "the new output got no background")
            self.assertTrue(wait_until(lambda: self.shows_design_on_output("WL-2")),
                            "the new output does not show the page")

            # It changes its size: the page follows, covering it all.
            self.session.swaymsg("output WL-2 mode 800x600")
            self.assertTrue(wait_until(lambda: any(output["name"] == "WL-2" and output["rect"]["width"] == 800
                                                   for output in self.session.outputs())))
            self.assertTrue(wait_until(lambda: self.shows_design_on_output("WL-2")),
                            "the page did not follow the output's new size")

            # It goes: its background goes, the program and the other one stay.
            nested.unplug("WL-2")
            self.assertTrue(wait_until(lambda: self.output_names() == ["WL-1"]))
            self.assertTrue(wait_until(lambda: self.bottom_layer_surfaces(log) == 1),
                            "the background of the output that went is still there")
            self.assertIsNone(background.poll(), "the program ended with the output")
            self.assertTrue(self.shows_design_on_output("WL-1"))

            # Another one comes.
            self.session.swaymsg("create_output")
            self.assertTrue(wait_until(lambda: len(self.output_names()) == 2))
            self.assertTrue(wait_until(lambda: self.bottom_layer_surfaces(log) == 2))
            added = self.output_names()[1]
            self.assertTrue(wait_until(lambda: self.shows_design_on_output(added)))

            self.assertEqual(self.session.run("zintello", "/q").returncode, 0)
            self.assertEqual(background.wait(60), 0)

    def test_show_covers_every_output_and_ends_on_input(self):
        for end_with in ("key", "pointer"):
            with self.subTest(end_with=end_with), VirtualKeyboard() as keyboard:
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
                    keyboard.press_key()
                else:
                    with VirtualPointer() as pointer:
                        wait_until(lambda: (pointer.move(12, 9), show.poll() is not None)[1],
                                   timeout=30)
                try:
                    self.assertEqual(show.wait(30), 0)
                except subprocess.TimeoutExpired:
                    self.fail(f"the show did not end on a {end_with}")


if __name__ == "__main__":
    unittest.main(verbosity=2)
