"""Reads and drives a program's windows over AT-SPI, as a screen reader does.

Run by xdesktop.Accessibility with a Python that has the AT-SPI client
(Debian python3-pyatspi, which brings gir1.2-atspi-2.0 and python3-gi), in
the environment of the desktop's session bus. It answers one JSON request a
line on standard input with one JSON line on standard output:

  {"tree": PID}                   the application of process PID as nested
      {"role", "name", "description", "extents": [x, y, w, h], "states",
      "value", "actions", "children"}, or null while it is not on the bus
  {"act": PID, "path": [...], "action": NAME}
                                  does the action of the node at that path of
      child indexes (from the application); answers {"done": true} or
      {"error": "..."}
"""

import json
import sys
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# The binding marks the action's name as deprecated and offers nothing else.
warnings.filterwarnings("ignore", category=DeprecationWarning)

STATES = {"focused": Atspi.StateType.FOCUSED, "active": Atspi.StateType.ACTIVE, "showing": Atspi.StateType.SHOWING}


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
        "states": sorted(name for name, state in STATES.items() if states.contains(state)),
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


def main():
    for line in sys.stdin:
        print(json.dumps(answer(json.loads(line))), flush=True)


if __name__ == "__main__":
    main()
