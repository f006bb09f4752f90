#include "keyboardlayout.h"

#include "x11connection.h"

#include <xkbcommon/xkbcommon-x11.h>

#include <memory>

namespace {

template<typename T, void (*unref)(T *)>
struct Unref
{
    void operator()(T *object) const { unref(object); }
};

using Context = std::unique_ptr<xkb_context, Unref<xkb_context, xkb_context_unref>>;
using Keymap = std::unique_ptr<xkb_keymap, Unref<xkb_keymap, xkb_keymap_unref>>;

// The server's keymap as it is now: the user may have changed the layout
// since the program started.
Keymap currentKeymap(xcb_connection_t *connection)
{
    if (!connection
        || !xkb_x11_setup_xkb_extension(
                connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return nullptr;
    const Context context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (!context || device == -1)
        return nullptr;
    return Keymap(xkb_x11_keymap_new_from_device(context.get(), connection, device,
                                                 XKB_KEYMAP_COMPILE_NO_FLAGS));
}

} // namespace

QString keyLetters(quint32 keycode)
{
    QString letters;
    const Keymap keymap = currentKeymap(qtX11Connection());
    if (!keymap)
        return letters;
    const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap.get(), keycode);
    for (xkb_layout_index_t group = 0; group < groups; ++group) {
        const xkb_keysym_t *symbols = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap.get(), keycode, group, 0, &symbols) != 1)
            continue;
        const uint32_t character = xkb_keysym_to_utf32(symbols[0]);
        if (character > 0 && character <= 0xffff && QChar(ushort(character)).isLetter())
            letters += QChar(ushort(character));
    }
    return letters;
}
