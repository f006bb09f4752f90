// What a key types in each group of the keyboard's layout.
#pragma once

#include <QString>

// The letters that the key of this X keycode types without a modifier, in
// each of the keyboard's groups (layouts) in order; empty off X11. With a
// layout of several groups (us and ru, say) a key types a Latin letter in one
// and a Cyrillic one in another, whichever group is active.
QString keyLetters(quint32 keycode);
