"""The accessibility bus of a test desktop, and a client that reads and
drives the program's windows over it (AT-SPI), as a screen reader does.

Accessibility starts the bus with assistive technology switched on, and runs
this file as a script with the AT-SPI client (Debian python3-pyatspi, which
brings gir1.2-atspi-2.0 and python3-gi), in the environment of the desktop's
session bus. The script answers one JSON request a line on standard input
with one JSON line on standard output:

  {"tree": PID}                   the application of process PID as nested
      {"role", "name", "description", "extents": [x, y, w, h], "states",
      "value", "actions", "children"}, or null while it is not on the bus
  {"act": PID, "path": [...], "action": NAME}
                                  does the action of the node at that path of
      child indexes (from the application); answers {"done": true} or
      {"error": "..."}
Accessibility makes Nodes of the answers.
"""

import json
import os
import shutil
import subprocess
import sys
import warnings

import windowmanagers
from waiting import only, wait_for


class Node:
    """One accessible object of the program as AT-SPI shows it, from a snapshot
    of its tree: role, name, description, extents (x, y, width, height),
    states, value, actions, children; path leads to it from the application."""

    def __init__(self, fields, path=()):
        self.__dict__.update(fields)
        self.path = list(path)
        self.children = [Node(child, self.path + [i]) for i, child in enumerate(fields["children"])]

    @property
    def centre(self):
        """Where the object's centre is on the screen. Qt tells AT-SPI its
        own pixels, which $QT_SCALE_FACTOR makes larger than the screen's."""
        x, y, width, height = self.extents
        scale = float(os.environ.get("QT_SCALE_FACTOR", "1"))
        return round((x + width / 2) * scale), round((y + height / 2) * scale)

    def walk(self):
        yield self
        for child in self.children:
            yield from child.walk()

    def find(self, name, role="push button"):
        """The one object below this one (or this one) with that role and name."""
        found = [n for n in self.walk() if n.role == role and n.name == name]
        if len(found) != 1:
            raise AssertionError("%d %ss named %r in %r" % (len(found), role, name, self.name))
        return found[0]

    def outline(self, indent=""):
        """The tree as a screen reader reads it: role and name, one object a line."""
        line = "%s%s %r" % (indent, self.role, self.name) + (" (%s)" % self.description if self.description else "")
        return "\n".join([line] + [child.outline(indent + "  ") for child in self.children])

    def __repr__(self):
        return "Node(%s %r)" % (self.role, self.name)


class Accessibility:
    """The desktop's accessibility bus with assistive technology switched on,
    and a client that reads and drives programs over it (this file's script,
    run by the Python running).

    The bus launcher runs on the program's session bus (a private one unless
    the window manager's session has one) and keeps its socket in a folder of
    this desktop.
    """

    LAUNCHERS = ["/usr/libexec/at-spi-bus-launcher", "/usr/local/libexec/at-spi-bus-launcher"]

    @classmethod
    def launcher(cls):
        return next((path for path in cls.LAUNCHERS if os.path.exists(path)), None)

    @classmethod
    def missing_packages(cls):
        probe = [sys.executable, "-c", "import gi; gi.require_version('Atspi', '2.0')"]
        probe = subprocess.run(probe, capture_output=True)
        found = {"at-spi2-core": cls.launcher(), "python3-pyatspi": not probe.returncode}
        found["dbus-daemon"] = shutil.which("dbus-daemon")
        return {package for package, there in found.items() if not there}

    def __init__(self, desktop):
        env = desktop.env()
        if not desktop.session_env.get("DBUS_SESSION_BUS_ADDRESS"):
            desktop.session_env["DBUS_SESSION_BUS_ADDRESS"] = windowmanagers.start_session_bus(desktop, env)
        env = desktop.env()
        env["XDG_RUNTIME_DIR"] = os.path.join(desktop.workdir, "run")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        # Without DISPLAY the launcher leaves the X server alone: programs
        # learn the accessibility bus's address from the session bus only.
        launcher_env = dict(env)
        launcher_env.pop("DISPLAY")
        # The launcher keeps IsEnabled and ScreenReaderEnabled in GSettings,
        # which would read a developer's own settings and store the test's:
        # in memory, with a home of this desktop's, they stay the test's.
        launcher_home = os.path.join(desktop.workdir, "a11y-home")
        launcher_env.update(
            GSETTINGS_BACKEND="memory", HOME=launcher_home, XDG_CONFIG_HOME=os.path.join(launcher_home, ".config")
        )
        desktop.spawn([self.launcher(), "--launch-immediately"], env=launcher_env, stderr=subprocess.DEVNULL)
        self.env = env
        # A call to the bus's name before the launcher owns it would have the
        # session bus start a second launcher, with the session's settings.
        wait_for("the accessibility bus launcher", self.launcher_running)
        if not self.say("IsEnabled", True):
            raise RuntimeError("the accessibility bus launcher refused IsEnabled")
        client = [sys.executable, os.path.abspath(__file__)]
        self.client = desktop.spawn(client, env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def launcher_running(self):
        argv = ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus"]
        argv += ["--object-path", "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner", "org.a11y.Bus"]
        return subprocess.run(argv, env=self.env, capture_output=True, text=True).stdout.strip() == "(true,)"

    def say(self, flag, value):
        """Sets a flag of the session's accessibility status (IsEnabled,
        ScreenReaderEnabled), as a screen reader's session does; True when
        the launcher took it."""
        argv = ["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus"]
        argv += ["--method", "org.freedesktop.DBus.Properties.Set", "org.a11y.Status"]
        argv += [flag, "<%s>" % str(value).lower()]
        return subprocess.run(argv, env=self.env, capture_output=True).returncode == 0

    def ask(self, request):
        self.client.stdin.write(json.dumps(request) + "\n")
        self.client.stdin.flush()
        return json.loads(self.client.stdout.readline())

    def tree(self, program):
        """The program's application as a Node, or None while it is not on the bus."""
        fields = self.ask({"tree": program.process.pid})
        return Node(fields) if fields else None

    def window(self, program, name, timeout=20):
        """The program's showing window of that name, once it is there and
        stays in one place (a window manager may move it as it maps it)."""
        last = []

        def find():
            app = self.tree(program)
            found = [w for w in app.children if w.name == name and "showing" in w.states] if app else []
            window = only(found)
            settled = window and last and last[-1].extents == window.extents
            last[:] = [window] if window else []
            return window if settled else None

        return wait_for("the window %r on the accessibility bus" % name, find, timeout=timeout)

    def do(self, program, node, action="Press"):
        """Does node's action, as switch access or voice control would."""
        answer = self.ask({"act": program.process.pid, "path": node.path, "action": action})
        if "error" in answer:
            raise AssertionError("%s on %r: %s" % (action, node, answer["error"]))


# --- the script, on the bus ---------------------------------------------

STATES = ["active", "focused", "showing"]


def application(pid):
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(index)
        try:
            if app is not None and app.get_process_id() == pid:
                app.clear_cache()
                return app
        except gi.repository.GLib.Error:
            continue  # an application gone meanwhile
    return None


def action_names(accessible, interfaces):
    if "Action" not in interfaces:
        return []
    return [Atspi.Action.get_action_name(accessible, i) for i in range(Atspi.Action.get_n_actions(accessible))]


def node(accessible):
    interfaces = accessible.get_interfaces()
    extents = Atspi.Component.get_extents(accessible, Atspi.CoordType.SCREEN) if "Component" in interfaces else None
    states = accessible.get_state_set()
    return {
        "role": accessible.get_role_name(),
        "name": accessible.get_name(),
        "description": accessible.get_description(),
        "extents": [extents.x, extents.y, extents.width, extents.height] if extents else None,
        "states": [name for name in STATES if states.contains(getattr(Atspi.StateType, name.upper()))],
        "value": Atspi.Value.get_current_value(accessible) if "Value" in interfaces else None,
        "actions": action_names(accessible, interfaces),
        "children": [node(accessible.get_child_at_index(i)) for i in range(accessible.get_child_count())],
    }


def act(pid, path, name):
    accessible = application(pid)
    if accessible is None:
        return {"error": "the program is not on the bus"}
    for index in path:
        accessible = accessible.get_child_at_index(index)
    names = action_names(accessible, accessible.get_interfaces())
    if name not in names:
        return {"error": "no action %r, only %r" % (name, names)}
    Atspi.Action.do_action(accessible, names.index(name))
    return {"done": True}


def answer(request):
    try:
        if "tree" in request:
            app = application(request["tree"])
            return node(app) if app is not None else None
        return act(request["act"], request["path"], request["action"])
    except gi.repository.GLib.Error as error:  # the program changed under the request
        return {"error": str(error)}


def serve():
    for line in sys.stdin:
        print(json.dumps(answer(json.loads(line))), flush=True)


if __name__ == "__main__":
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi  # noqa: E402

    # The binding marks the action's name as deprecated and offers nothing else.
    warnings.filterwarnings("ignore", category=DeprecationWarning)
    serve()
