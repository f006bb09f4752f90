"""Orca, the screen reader, on a test desktop: what it says, read back.

Orca runs on the desktop's accessibility bus (accessibility.Accessibility) with a
private home and settings, and speaks through a speech-dispatcher of its own
whose only output module is the silent dummy one. What it says is read from
Orca's debug log, whose "SPEECH OUTPUT:" lines carry each phrase as it goes
to speech-dispatcher.

Two things of Orca 43 are set aside here, by its launcher's names: it refuses
to start while another Orca of the same user runs (found by its process name,
which it sets itself), which would tie a test to the developer's own screen
reader; and it writes its debug log through a block buffer, so a phrase would
reach the file only kilobytes later. The launcher's main() is run with the
name left alone, with no other Orca, and with the log opened line-buffered.

Debian packages: orca and speech-dispatcher, beside those of the bus.
"""

import os
import re
import shutil
import sys

from waiting import wait_for

LAUNCHER = "/usr/bin/orca"
SPEECH_DISPATCHER = "speech-dispatcher"

SPEECHD_CONF = """AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
AudioOutputMethod "alsa"
AudioALSADevice "null"
"""

# A phrase, after the time; a voice's settings may follow it.
SPEECH_OUTPUT = re.compile(r"^\S+ - SPEECH OUTPUT: '(.*?)'(?:\{.*\})?$", re.M)

# Run by Debian's Python with the launcher's path and the debug log's.
RUN_ORCA = """
import builtins, sys
launcher, log = sys.argv[1], sys.argv[2]
real_open = builtins.open
def line_buffered(path, mode="r", *args, **kwargs):
    if path == log:
        return real_open(path, mode, 1)
    return real_open(path, mode, *args, **kwargs)
scope = {"__name__": "orca_launcher", "__file__": launcher, "open": line_buffered}
exec(compile(real_open(launcher).read(), launcher, "exec"), scope)
scope["setProcessName"] = lambda name: False
scope["otherOrcas"] = lambda: []
sys.argv = [launcher] + sys.argv[3:]
sys.exit(scope["main"]())
"""


def missing_packages():
    missing = set()
    if not os.path.exists(LAUNCHER):
        missing.add("orca")
    if not shutil.which(SPEECH_DISPATCHER):
        missing.add("speech-dispatcher")
    return missing


class Orca:
    """Orca on desktop, started at once and ready when the constructor returns."""

    def __init__(self, desktop):
        folder = os.path.join(desktop.workdir, "orca")
        config = os.path.join(folder, "config")
        os.makedirs(os.path.join(config, "speech-dispatcher"))
        with open(os.path.join(config, "speech-dispatcher", "speechd.conf"), "w") as f:
            f.write(SPEECHD_CONF)
        socket = os.path.join(folder, "speechd.sock")
        env = dict(desktop.accessibility.env)
        env.update(
            HOME=folder,
            XDG_CONFIG_HOME=config,
            XDG_DATA_HOME=os.path.join(folder, "data"),
            XDG_CACHE_HOME=os.path.join(folder, "cache"),
            GSETTINGS_BACKEND="memory",
            SPEECHD_ADDRESS="unix_socket:" + socket,
        )
        env.pop("PYTHONPATH", None)  # the tests' modules are not Orca's
        with open(os.path.join(folder, "speech-dispatcher.log"), "wb") as log:
            argv = [SPEECH_DISPATCHER, "--run-single", "--timeout", "0", "--communication-method", "unix_socket"]
            argv += ["--socket-path", socket, "--config-dir", os.path.join(config, "speech-dispatcher")]
            desktop.spawn(argv, env=env, stdout=log, stderr=log)
        wait_for("speech-dispatcher's socket", lambda: os.path.exists(socket), timeout=10)
        self.log = os.path.join(folder, "debug.out")
        prefs = os.path.join(folder, "prefs")
        os.makedirs(prefs)
        with open(os.path.join(folder, "orca.err"), "wb") as err:
            argv = ["/usr/bin/python3", "-c", RUN_ORCA, LAUNCHER, self.log, "-u", prefs, "--debug-file", self.log]
            desktop.spawn(argv, env=env, stdout=err, stderr=err)
        wait_for("Orca to listen", lambda: "ORCA: Starting registry" in self.debug_log(), timeout=30)
        self.mark = 0

    def debug_log(self):
        try:
            with open(self.log, errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def spoken(self):
        """Every phrase said so far, in order."""
        return SPEECH_OUTPUT.findall(self.debug_log())

    def wait_said(self, what, predicate, timeout=20):
        """Waits until predicate holds for the phrases said since the last
        wait; returns those phrases."""

        def said():
            phrases = self.spoken()[self.mark :]
            return phrases if predicate(phrases) else None

        phrases = wait_for(what, said, timeout=timeout, interval=0.2)
        self.mark += len(phrases)
        return phrases


if __name__ == "__main__":
    # By hand: python3 testing/screenreader.py PROGRAM [ARGS...] runs PROGRAM on a
    # desktop with Orca and prints what Orca says until PROGRAM ends.
    import xdesktop

    xdesktop.ensure_private_home()
    with xdesktop.Desktop() as desktop:
        desktop.accessibility.say("ScreenReaderEnabled", True)
        orca = Orca(desktop)
        program = desktop.spawn(sys.argv[1:])
        program.wait()
        if os.environ.get("KEEP_ORCA_LOG"):
            shutil.copy(orca.log, os.environ["KEEP_ORCA_LOG"])
        for phrase in orca.spoken():
            print(phrase)
