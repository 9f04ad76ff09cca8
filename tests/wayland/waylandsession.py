"""What the Wayland tests share: the programs started as the session's user
inside the session that tests/harness/wayland-session made, and a look at what
the compositor shows (sway's tree, screenshots) and input to it."""
import json
import os
import select
import shutil
import socket
import struct
import subprocess
import tempfile
import time


# The first start applies design 9; its wallpaper for wide screens.
DESIGN = "Wallpapers/A_design_9.bmp"
# Where the start page shows its clock on a 1280x800 output: x, y, width, height.
CLOCK_AREA = (880, 290, 340, 130)


def read_line(stream, timeout=60.0):
    """The next line of an unbuffered pipe, or "" when none came in time."""
    ready, _, _ = select.select([stream], [], [], timeout)
    return stream.readline().decode() if ready else ""


def wait_until(check, timeout=60.0):
    """Polls; generous, for a loaded machine. Returns the last result."""
    deadline = time.monotonic() + timeout
    result = check()
    while not result and time.monotonic() < deadline:
        time.sleep(0.2)
        result = check()
    return result


class Session:
    def __init__(self):
        self.program_dir = os.environ["ZINTELLO_PROGRAM_DIR"]
        self.home = os.environ["ZINTELLO_SESSION_HOME"]
        uid, gid = os.environ["ZINTELLO_SESSION_USER"].split(":")
        self.as_user = ["setpriv", f"--reuid={uid}", f"--regid={gid}", "--clear-groups", "--"]
        self.scratch = tempfile.mkdtemp(prefix="zintello-wayland-test-")
        os.chmod(self.scratch, 0o755)
        self.processes = []
        self.bus_address = None

    def program_env(self):
        env = {key: os.environ[key] for key in ("PATH", "LANG", "TZ", "XDG_RUNTIME_DIR",
                                                "WAYLAND_DISPLAY") if key in os.environ}
        # As a user's session says it: Qt picks its Wayland platform by itself.
        env.update({"HOME": self.home, "XDG_SESSION_TYPE": "wayland",
                    # The update check at every start stays on this machine.
                    "http_proxy": "http://127.0.0.1:9", "https_proxy": "http://127.0.0.1:9"})
        if self.bus_address:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        return env

    def start_session_bus(self):
        """A session bus of the session's user (a bus admits its own user only)."""
        bus = subprocess.Popen(self.as_user + ["dbus-daemon", "--session", "--nofork",
                                               "--print-address=1"],
                               env=self.program_env(), stdout=subprocess.PIPE, text=True)
        self.processes.append(bus)
        self.bus_address = bus.stdout.readline().strip()

    def start_tray_service(self, program_file):
        """Runs a tray and notification service of the test's on the session bus;
        its output has one line per notification."""
        copy = os.path.join(self.scratch, os.path.basename(program_file))
        shutil.copy(program_file, copy)
        os.chmod(copy, 0o755)
        # Unbuffered: read_line waits on the pipe itself.
        service = subprocess.Popen(self.as_user + [copy], env=self.program_env(),
                                   stdout=subprocess.PIPE, bufsize=0)
        self.processes.append(service)
        if read_line(service.stdout).strip() != "ready":
            raise RuntimeError("the tray service did not start")
        return service


    def start(self, program, *arguments, protocol_log=None):
        """With protocol_log, the program's Wayland requests and events go to
        that file (WAYLAND_DEBUG), and nothing else of its output."""
        env = self.program_env()
        output = subprocess.PIPE
        if protocol_log:
            env["WAYLAND_DEBUG"] = "client"
            output = open(protocol_log, "w")
        process = subprocess.Popen(self.as_user + [os.path.join(self.program_dir, program)]
                                   + list(arguments), env=env, cwd=self.home,
                                   stdout=output, stderr=subprocess.STDOUT, text=True)
        if protocol_log:
            output.close()
        self.processes.append(process)
        return process

    def run(self, program, *arguments, timeout=60):
        return subprocess.run(self.as_user + [os.path.join(self.program_dir, program)]
                              + list(arguments), env=self.program_env(), cwd=self.home,
                              capture_output=True, text=True, timeout=timeout)

    @staticmethod
    def desktop_program_ready():
        """The running desktop program holds this lock once it has made its windows."""
        marker = os.path.join(os.environ["XDG_RUNTIME_DIR"], "de.morvaleen.zintello.innoMutex")
        return os.path.exists(marker) and subprocess.run(
            ["flock", "-n", marker, "true"]).returncode != 0

    def stop_all(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.communicate()
        self.processes = []

    # sway's view of the session.
    @staticmethod
    def swaymsg(*arguments):
        return json.loads(subprocess.run(["swaymsg", "-r"] + list(arguments), check=True,
                                         capture_output=True, text=True).stdout)

    def toplevels(self):
        found = []

        def walk(node):
            if node.get("pid"):
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(self.swaymsg("-t", "get_tree"))
        return found

    def outputs(self):
        return [output for output in self.swaymsg("-t", "get_outputs") if output["active"]]

    # Pixels.
    def screenshot(self, name="shot.png", output=None):
        """All outputs, or the one named."""
        path = os.path.join(self.scratch, name)
        subprocess.run(["grim"] + (["-o", output] if output else []) + [path], check=True)
        return path

    @staticmethod
    def mean_colour(image, x, y, size=8, resize_to=None):
        """The mean colour of a size x size block at x,y of an image file,
        optionally after scaling it to cover resize_to (WxH) and cutting it centred."""
        command = ["convert", image]
        if resize_to:
            command += ["-resize", resize_to + "^", "-gravity", "center",
                        "-extent", resize_to, "+gravity", "+repage"]
        command += ["-crop", f"{size}x{size}+{x}+{y}", "+repage", "-resize", "1x1!",
                    "-depth", "8", "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]",
                    "info:"]
        output = subprocess.run(command, check=True, capture_output=True, text=True).stdout
        return tuple(int(value) for value in output.split(","))

    @staticmethod
    def distance(a, b):
        return sum(abs(x - y) for x, y in zip(a, b))

    def design_at(self, x, y, output_size="1280x800", size=8):
        """The mean colour of the first start's design at x,y of an output."""
        return self.mean_colour(os.path.join(self.program_dir, DESIGN), x, y, size=size,
                                resize_to=output_size)

    def shows_clock(self, shot):
        """Whether the start page's clock shows on a 1280x800 output: the
        brightest cells of a grid over the clock are near white on the darker design."""
        x, y, width, height = CLOCK_AREA
        brightest = max(sum(self.mean_colour(shot, x + dx, y + dy, size=6))
                        for dx in range(0, width, 20) for dy in range(0, height, 20))
        return brightest >= 3 * 200


class VirtualDevice:
    """An input device of our own, made by a small Wayland client of the
    compositor's virtual device protocols: the headless compositor has no input
    devices, and its clients see a pointer or a keyboard only once the seat has
    one. The device is object 6; the seat's is 4, its manager's 5."""

    def __init__(self, manager_interface):
        path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"])
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.connect(path)
        self.buffer = b""
        self.send(1, 1, struct.pack("<I", 2))                      # get_registry -> 2
        globals_ = self.roundtrip(3)
        self.send(2, 0, self.bind_args(globals_, "wl_seat", 1, 4))
        self.send(2, 0, self.bind_args(globals_, manager_interface, 1, 5))
        self.send(5, 0, struct.pack("<II", 4, 6))                  # create the device -> 6
        self.next_id = 7

    @staticmethod
    def string(text):
        data = text.encode() + b"\0"
        return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)

    def bind_args(self, globals_, interface, version, new_id):
        if interface not in globals_:
            raise RuntimeError(f"the compositor offers no {interface}")
        return struct.pack("<I", globals_[interface]) + self.string(interface) \
            + struct.pack("<II", version, new_id)

    def send(self, object_id, opcode, arguments, fd=None):
        message = struct.pack("<II", object_id, (8 + len(arguments)) << 16 | opcode) + arguments
        if fd is None:
            self.socket.sendall(message)
        else:
            self.socket.sendmsg([message], [(socket.SOL_SOCKET, socket.SCM_RIGHTS, struct.pack("<i", fd))])

    def roundtrip(self, callback_id=None):
        """Waits for the compositor to have handled everything sent; gives the
        globals the registry announced meanwhile."""
        if callback_id is None:
            callback_id, self.next_id = self.next_id, self.next_id + 1
        self.send(1, 0, struct.pack("<I", callback_id))            # sync
        globals_ = {}
        while True:
            while len(self.buffer) < 8 or len(self.buffer) < (struct.unpack_from("<I", self.buffer, 4)[0] >> 16):
                chunk = self.socket.recv(65536)
                if not chunk:
                    raise RuntimeError("the compositor closed the connection")
                self.buffer += chunk
            object_id, size_opcode = struct.unpack_from("<II", self.buffer)
            size, opcode = size_opcode >> 16, size_opcode & 0xffff
            body, self.buffer = self.buffer[8:size], self.buffer[size:]
            if object_id == 1 and opcode == 0:
                raise RuntimeError("protocol error from the compositor")
            if object_id == 2 and opcode == 0:
                name, length = struct.unpack_from("<II", body)
                globals_[body[8:8 + length - 1].decode()] = name
            if object_id == callback_id:
                return globals_

    def close(self):
        self.socket.close()

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()


class VirtualPointer(VirtualDevice):
    def __init__(self):
        super().__init__("zwlr_virtual_pointer_manager_v1")
        self.roundtrip()

    def move(self, dx, dy):
        self.send(6, 0, struct.pack("<Iii", 0, int(dx * 256), int(dy * 256)))
        self.send(6, 4, b"")                                       # frame
        self.roundtrip()


class VirtualKeyboard(VirtualDevice):
    """Made before a program starts, the keyboard is there from the program's
    start, as a real one is: the first key pressed while the program has the
    focus reaches it."""

    # One key: the protocol's key code 1 is the keymap's keycode 9. The
    # compositor may hand the program its own keymap instead, in which the
    # same key is another one: any key will do.
    KEYMAP = b"""xkb_keymap {
xkb_keycodes "a" { minimum = 8; maximum = 9; <A> = 9; };
xkb_types "a" { include "complete" };
xkb_compatibility "a" { include "complete" };
xkb_symbols "a" { key <A> { [ a ] }; };
};
\0"""

    def __init__(self):
        super().__init__("zwp_virtual_keyboard_manager_v1")
        with tempfile.TemporaryFile() as keymap:
            keymap.write(self.KEYMAP)
            keymap.flush()
            self.send(6, 0, struct.pack("<II", 1, len(self.KEYMAP)), fd=keymap.fileno())  # xkb v1
            self.roundtrip()

    def press_key(self):
        for state in (1, 0):
            self.send(6, 1, struct.pack("<III", 0, 1, state))
        self.roundtrip()
