"""The window managers the end-to-end tests run on, each with its panel and tray.

WINDOW_MANAGERS names them; a Desktop takes one of the names. Each starts
with a configuration of its own, written into the desktop's private folder
(HOME and XDG_CONFIG_HOME point there for the window manager and its panel),
never into a real home. No panel shows a clock: a clock that moves between
two screenshots would look like a fault of the backdrop.
"""

import os
import re
import subprocess
import sys

XFCE_PANEL = """<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=8;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="30"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
        <value type="int" value="3"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="tasklist"/>
    <property name="plugin-2" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
    </property>
    <property name="plugin-3" type="string" value="systray"/>
  </property>
</channel>
"""

# Backgrounds first: the panel names its background by number.
TINT2 = """rounded = 0
border_width = 0
background_color = #304050 100
panel_items = TS
panel_size = 100% 30
panel_position = bottom center horizontal
panel_layer = top
panel_monitor = all
panel_background_id = 1
taskbar_mode = single_desktop
systray_padding = 4 2 4
systray_icon_size = 22
"""

I3 = """# i3 config file (v4)
font pango:monospace 8
focus_on_window_activation smart
bar {
    tray_output primary
    position bottom
}
"""

# icewm shows the workspace's name for a moment at start: a still screen is
# easier to compare.
ICEWM = """ShowWorkspaceStatus=0
TaskBarShowClock=0
TaskBarShowAPMStatus=0
TaskBarShowCPUStatus=0
TaskBarShowMEMStatus=0
TaskBarShowNetStatus=0
TaskBarShowMailboxStatus=0
TaskBarShowWorkspaces=0
ShowTaskBar=1
"""


class WindowManager:
    """One window manager with its panel, as the tests and the README name them.

    tray: "xembed" (icons are windows embedded in the panel) or "dbus" (the
    StatusNotifierItem protocol, drawn by the panel itself).
    programs: what must be installed, with the Debian packages that have it.
    two_monitors: whether it runs on the tests' two monitors, Xinerama heads
    without RandR (i3bar finds no primary output for its tray there, and
    xfwm4 does not show the program's windows).
    """

    def __init__(self, name, window_manager, panel, tray, programs, start, two_monitors=True):
        self.name = name
        self.two_monitors = two_monitors
        self.window_manager = window_manager
        self.panel = panel
        self.tray = tray
        self.programs = programs
        self.start = start


def write(folder, name, text):
    path = os.path.join(folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)
    return path


def private_env(desktop):
    """The environment for a window manager and its panel: a home of their own."""
    wm_home = os.path.join(desktop.workdir, "wm-home")
    os.makedirs(wm_home, exist_ok=True)
    env = desktop.env()
    env.update(
        HOME=wm_home,
        XDG_CONFIG_HOME=os.path.join(wm_home, ".config"),
        XDG_CACHE_HOME=os.path.join(wm_home, ".cache"),
        XDG_DATA_HOME=os.path.join(wm_home, ".local", "share"),
        NO_AT_BRIDGE="1",  # no accessibility bus for GTK panels
    )
    return env


def spawn_logged(desktop, argv, env):
    with open(os.path.join(desktop.workdir, os.path.basename(argv[0]) + ".log"), "wb") as log:
        return desktop.spawn(argv, env=env, stdout=log, stderr=log)


def start_fluxbox(desktop):
    # fluxbox fills a missing ~/.fluxbox with the system's defaults (and
    # rewrites an -rc file given instead); their style starts fbsetbg,
    # which paints the root window or complains in a window of its own.
    env = private_env(desktop)
    config = os.path.join(env["HOME"], ".fluxbox")
    tools = "workspacename, iconbar, systemtray" if desktop.tray else "workspacename, iconbar"
    files = {
        "init": "session.configVersion: 13\n"
        "session.screen0.toolbar.visible: true\n"
        "session.screen0.toolbar.tools: %s\n"
        "session.screen0.toolbar.placement: BottomCenter\n"
        "session.screen0.rootCommand:\n"
        "session.screen0.workspaces: 1\n"
        "session.styleFile: /usr/share/fluxbox/styles/Emerge\n" % tools,
        "overlay": "background: none\n",
        "keys": "",
        "menu": "",
        "apps": "",
    }
    for name, text in files.items():
        write(config, name, text)
    spawn_logged(desktop, ["fluxbox"], env)


def start_openbox(desktop):
    env = private_env(desktop)
    write(
        env["XDG_CONFIG_HOME"],
        "openbox/rc.xml",
        '<?xml version="1.0"?>\n<openbox_config xmlns="http://openbox.org/3.4/rc">\n'
        "  <desktops><number>1</number></desktops>\n</openbox_config>\n",
    )
    spawn_logged(desktop, ["openbox"], env)
    desktop.wait_wm()
    spawn_logged(desktop, ["tint2", "-c", write(env["XDG_CONFIG_HOME"], "tint2/tint2rc", TINT2)], env)


def start_i3(desktop):
    # i3bar puts its tray on the primary output only; a bare X server names none.
    output = re.search(r"^(\S+) connected", desktop.x("xrandr", "--query"), re.M).group(1)
    desktop.x("xrandr", "--output", output, "--primary")
    env = private_env(desktop)
    spawn_logged(desktop, ["i3", "-c", write(env["XDG_CONFIG_HOME"], "i3/config", I3)], env)


def start_session_bus(desktop, env):
    """A D-Bus session bus of this desktop, for the panel and the program alike.

    The services it starts (the settings service, an accessibility bus
    launcher) inherit its environment: GSettings keeps their settings in
    memory, never in a home, the developer's or the test's."""
    with open(os.path.join(desktop.workdir, "dbus-daemon.log"), "wb") as log:
        daemon = desktop.spawn(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
            env=dict(env, GSETTINGS_BACKEND="memory"),
            stdout=subprocess.PIPE,
            stderr=log,
        )
    address = daemon.stdout.readline().decode().strip()
    if not address:
        raise RuntimeError("dbus-daemon did not start")
    env["DBUS_SESSION_BUS_ADDRESS"] = address
    return address


def start_xfce(desktop, program_on_bus):
    """xfwm4 and xfce4-panel, whose settings live in xfconf and so need a session bus.

    Without program_on_bus the program alone is kept off the bus: it then
    finds no StatusNotifierItem host and embeds its icon in the panel's
    XEmbed tray, as on a desktop whose panel runs without D-Bus.
    """
    env = private_env(desktop)
    write(env["XDG_CONFIG_HOME"], "xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml", XFCE_PANEL)
    address = start_session_bus(desktop, env)
    if program_on_bus:
        desktop.session_env["DBUS_SESSION_BUS_ADDRESS"] = address
    spawn_logged(desktop, ["xfwm4", "--compositor=off"], env)
    desktop.wait_wm()
    spawn_logged(desktop, ["xfce4-panel"], env)


def start_icewm(desktop):
    env = private_env(desktop)
    env["ICEWM_PRIVCFG"] = os.path.join(env["XDG_CONFIG_HOME"], "icewm")
    write(env["ICEWM_PRIVCFG"], "preferences", ICEWM)
    spawn_logged(desktop, ["icewm"], env)


WINDOW_MANAGERS = {
    wm.name: wm
    for wm in [
        WindowManager("fluxbox", "fluxbox", "its toolbar", "xembed", {"fluxbox": "fluxbox"}, start_fluxbox),
        WindowManager(
            "openbox",
            "openbox",
            "tint2",
            "xembed",
            {"openbox": "openbox", "tint2": "tint2"},
            start_openbox,
        ),
        WindowManager(
            "i3",
            "i3",
            "i3bar",
            "xembed",
            {"i3": "i3-wm", "i3bar": "i3-wm", "xrandr": "x11-xserver-utils"},
            start_i3,
            two_monitors=False,
        ),
        WindowManager(
            "xfce",
            "xfwm4",
            "xfce4-panel",
            "dbus",
            {"xfwm4": "xfwm4", "xfce4-panel": "xfce4-panel", "dbus-daemon": "dbus-daemon", "gdbus": "libglib2.0-bin"},
            lambda desktop: start_xfce(desktop, program_on_bus=True),
            two_monitors=False,
        ),
        WindowManager(
            "xfce-xembed",
            "xfwm4",
            "xfce4-panel",
            "xembed",
            {"xfwm4": "xfwm4", "xfce4-panel": "xfce4-panel", "dbus-daemon": "dbus-daemon"},
            lambda desktop: start_xfce(desktop, program_on_bus=False),
            two_monitors=False,
        ),
        WindowManager("icewm", "icewm", "its taskbar", "xembed", {"icewm": "icewm"}, start_icewm),
    ]
}


if __name__ == "__main__":
    # For the build: the names, separated by semicolons as a CMake list is;
    # with --two-monitors those that run on two monitors.
    two_monitors = sys.argv[1:] == ["--two-monitors"]
    print(";".join(wm.name for wm in WINDOW_MANAGERS.values() if wm.two_monitors or not two_monitors))
