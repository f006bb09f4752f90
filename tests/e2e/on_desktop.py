"""Runs one program on a private X desktop with a system tray.

    on_desktop.py PROGRAM [ARG...]

For tests that must look at the tray from inside the program; exits with the
program's status.
"""

import subprocess
import sys

import xdesktop


def main():
    xdesktop.ensure_private_home()
    with xdesktop.Desktop() as desktop:
        return subprocess.run(sys.argv[1:], env=desktop.env(), timeout=60).returncode


if __name__ == "__main__":
    sys.exit(main())
