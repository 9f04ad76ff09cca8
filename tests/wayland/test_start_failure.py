"""Both programs where Qt's Wayland platform is asked for and no compositor can
be reached: one line of the program's own and a failure status, not Qt's abort."""
import os
import subprocess
import sys
import tempfile
import unittest

PROGRAM_DIR = sys.argv.pop(1)


class StartFailureTest(unittest.TestCase):
    def test_no_compositor(self):
        for program, arguments, name in (("zintello", [], "ZINTELLO"),
                                         ("ZINTELLO.scr", ["/s"], "ZINTELLO.scr"),
                                         ("ZINTELLO.scr", ["/c"], "ZINTELLO.scr")):
            with self.subTest(program=program, arguments=arguments), \
                    tempfile.TemporaryDirectory() as runtime:
                os.chmod(runtime, 0o700)
                env = {"PATH": os.environ["PATH"], "HOME": runtime, "XDG_RUNTIME_DIR": runtime,
                       "QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": "wayland-none"}
                result = subprocess.run([os.path.join(PROGRAM_DIR, program)] + arguments, env=env,
                                        capture_output=True, text=True, timeout=60)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stdout, "")
                self.assertEqual(result.stderr.splitlines(),
                                 [f"{name}: cannot start: no connection to the display server (wayland)"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
