"""The Debian package's program, unpacked into a private folder, on a private desktop in German.

FAREWELLDESK_PACKAGE_ROOT names the folder the package was unpacked into.
The program sees that folder's /usr/share laid over the machine's, in a mount
namespace of its own, so it finds its catalogues in the directory compiled into
it as if the package were installed, and the machine stays as it is. Needs
unprivileged user namespaces and overlay mounts in them (Linux 5.11).
"""

import os
import shlex
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "testing"))
import scenario  # noqa: E402
from scenario import Scenario  # noqa: E402

# Mounts as root of a user namespace, then runs the program as the user again
# in a namespace nested in it: its home comes from the user's password entry.
OVERLAID = """mount -t overlay overlay -o "lowerdir=$1/usr/share:/usr/share" /usr/share &&
exec unshare --map-user="$2" --map-group="$3" "$1/usr/bin/farewelldesk"
"""


class PackagedProgram(scenario.Program):
    """The packaged binary, started in the environment given."""

    def __init__(self, desktop, root, env):
        self.desktop = desktop
        self.stderr_path = os.path.join(desktop.workdir, "packaged.err")
        argv = ["unshare", "--map-root-user", "--mount", "sh", "-c", OVERLAID, "sh", root]
        argv += [str(os.getuid()), str(os.getgid())]
        with open(self.stderr_path, "wb") as output:
            self.process = desktop.spawn(argv, env=env, stdout=output, stderr=output)


class PackagedTest(Scenario):
    TIME_LIMIT = 120

    def test_german_key_runs_the_packaged_logout_command(self):
        desktop = self.desktop()
        # A stand-in for loginctl, first on PATH, that records its arguments.
        stand_ins = os.path.join(desktop.workdir, "bin")
        os.mkdir(stand_ins)
        record = os.path.join(desktop.workdir, "loginctl.args")
        with open(os.path.join(stand_ins, "loginctl"), "w") as script:
            script.write('#!/bin/sh\nprintf "%%s\\n" "$@" >%s\n' % shlex.quote(record))
        os.chmod(os.path.join(stand_ins, "loginctl"), 0o755)
        env = desktop.env()
        for name in ("LC_ALL", "LC_MESSAGES", "LANGUAGE"):
            env.pop(name, None)
        env.update(LANG="de_DE.UTF-8", XDG_SESSION_ID="c42", PATH=stand_ins + os.pathsep + env["PATH"])
        program = PackagedProgram(desktop, os.environ["FAREWELLDESK_PACKAGE_ROOT"], env)

        # Named in German, and "A" (Abmelden) is Logout's key in German only:
        # in English it does nothing.
        chooser = self.wait_chooser(desktop, program, keyboard=True, name="Sitzung beenden")
        desktop.key("a")
        delay = desktop.wait_dialog(
            "the confirmation of Abmelden", predicate=lambda w: w.wid != chooser.window.wid
        )
        desktop.wait_focus(delay)
        desktop.key("Return")
        self.assertEqual(program.wait(timeout=30), 0, program.output())
        # The package's built-in command, its quotes intact through the build.
        with open(record) as args:
            self.assertEqual(args.read().splitlines(), ["terminate-session", "c42"])


if __name__ == "__main__":
    scenario.main()
