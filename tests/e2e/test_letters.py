"""A letter key for each action in the chooser, typed on a real keyboard."""

import scenario
import xdesktop
from scenario import Scenario

# The key typed in the chooser, the action whose command must have run, and
# letters typed in the confirmation first, which must do nothing there.
LETTER_ROWS = [
    ("l", "logout", ["r", "t"]),
    ("r", "reboot", ["l"]),
    ("shift+s", "shutdown", ["s", "u"]),
    ("u", "suspend", ["k"]),
    ("k", "lock", ["shift+l"]),
]

# On a keyboard with a us and a ru group: the group active (0 us, 1 ru), the
# key typed (by its Latin letter) and the action it chooses. In the Russian
# group the key of L types д, and still chooses Logout.
LAYOUT_ROWS = [(1, "l", "logout"), (0, "k", "lock"), (1, "s", "shutdown")]


class LettersTest(Scenario):
    TIME_LIMIT = 150

    def test_each_letter_confirms_and_runs_its_own_command_once(self):
        for letter, action, ignored in LETTER_ROWS:
            with self.subTest(letter):
                desktop = xdesktop.Desktop()
                with desktop:
                    self.markers = scenario.Markers()
                    program = self.start(desktop)
                    chooser = self.wait_chooser(desktop, program, keyboard=True)
                    desktop.key(letter)
                    delay = desktop.wait_dialog(
                        "the confirmation over the chooser", predicate=lambda w: w.wid != chooser.window.wid
                    )
                    self.assertEqual(len(desktop.dialogs()), 2)
                    desktop.wait_focus(delay)
                    desktop.key(*ignored)
                    desktop.key("Return")
                    self.assertEqual(program.wait(timeout=20), 0, program.output())
                    self.assertEqual(self.markers.lines(), ["%s windows=0" % action])

    def test_t_opens_the_timer_dialog_at_once(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program, keyboard=True)
        desktop.key("t")
        # No confirmation: the chooser gives way to the timer dialog.
        timerwin = desktop.wait_dialog("the timer dialog", predicate=lambda w: w.wid != chooser.window.wid)
        self.assertEqual(desktop.dialogs(), [timerwin])
        desktop.wait_focus(timerwin)
        desktop.key("Escape")
        back = self.wait_chooser(desktop, program, keyboard=True)
        self.assertEqual(back.window.place, chooser.window.place)
        desktop.key("Escape")
        self.assert_ends_quietly(program)

    def test_letters_work_in_each_group_of_a_two_group_layout(self):
        desktop = self.desktop()
        desktop.x("setxkbmap", "-layout", "us,ru")
        for group, keysym, action in LAYOUT_ROWS:
            program = self.start(desktop)
            chooser = self.wait_chooser(desktop, program, keyboard=True)
            desktop.type_in_group(group, keysym)
            delay = desktop.wait_dialog("the confirmation", predicate=lambda w: w.wid != chooser.window.wid)
            desktop.wait_focus(delay)
            desktop.key("Return")
            self.assertEqual(program.wait(), 0, program.output())
        actions = [action for _, _, action in LAYOUT_ROWS]
        self.assertEqual(self.markers.lines(), ["%s windows=0" % action for action in actions])


if __name__ == "__main__":
    scenario.main()
