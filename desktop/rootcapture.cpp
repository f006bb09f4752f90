#include "rootcapture.h"

#include "x11connection.h"

#include <QImage>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

// One X screen's whole root, dimmed, in a pixmap of the server; no pixmap
// where its pixels cannot go that way.
struct DimmedRoot
{
    xcb_connection_t *connection = nullptr; // the one that owns the pixmap
    xcb_window_t root = XCB_NONE;
    uint8_t depth = 0;
    uint16_t width = 0, height = 0;
    xcb_pixmap_t pixmap = XCB_NONE;
};

namespace {

inline quint32 dimmedPixel(quint32 argb)
{
    return ((argb >> 2) & 0x3f3f3fu) | 0xff000000u;
}

// A fixed-size inner block lets GCC vectorise the loop at -O2 too, where its
// cost model leaves a loop of unknown trip count scalar; clang does either.
void dimLine(quint32 *pixel, int count)
{
    constexpr int block = 16;
    int x = 0;
    for (; x + block <= count; x += block) {
        for (int i = 0; i < block; ++i)
            pixel[x + i] = dimmedPixel(pixel[x + i]);
    }
    for (; x < count; ++x)
        pixel[x] = dimmedPixel(pixel[x]);
}

// A screen's part of the X root, and the connection that reaches it.
struct RootArea
{
    xcb_connection_t *connection;
    const xcb_screen_t *screen;
    int16_t x, y;
    uint16_t width, height;
};

bool hasThirtyTwoBitPixels(const xcb_setup_t *setup, uint8_t depth)
{
    const xcb_format_t *formats = xcb_setup_pixmap_formats(setup);
    const xcb_format_t *end = formats + xcb_setup_pixmap_formats_length(setup);
    return std::any_of(formats, end, [depth](const xcb_format_t &format) {
        return format.depth == depth && format.bits_per_pixel == 32;
    });
}

bool isEightBitsAChannel(const xcb_screen_t *screen)
{
    for (auto depth = xcb_screen_allowed_depths_iterator(screen); depth.rem;
         xcb_depth_next(&depth)) {
        for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
             xcb_visualtype_next(&visual)) {
            const xcb_visualtype_t *type = visual.data;
            if (type->visual_id == screen->root_visual)
                return type->_class == XCB_VISUAL_CLASS_TRUE_COLOR && type->red_mask == 0xff0000u
                       && type->green_mask == 0xff00u && type->blue_mask == 0xffu;
        }
    }
    return false;
}

// Whether the screen's pixels are what dimmedPixel() takes: 32-bit words of
// 8-bit red, green and blue in this machine's byte order. Other displays
// (16-bit colour, another byte order) take Qt's way.
bool hasDimmablePixels(xcb_connection_t *connection, const xcb_screen_t *screen)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const uint8_t hostOrder = QSysInfo::ByteOrder == QSysInfo::LittleEndian
                                      ? XCB_IMAGE_ORDER_LSB_FIRST
                                      : XCB_IMAGE_ORDER_MSB_FIRST;
    return setup->image_byte_order == hostOrder && hasThirtyTwoBitPixels(setup, screen->root_depth)
           && isEightBitsAChannel(screen);
}

// A screen's place in native pixels, the ones the X server counts. Qt's
// scaling keeps each screen's corner where the server has it and divides only
// its size.
QRect nativeGeometry(const QScreen *screen)
{
    const QRect geometry = screen->geometry();
    return QRect(geometry.topLeft(),
                 (QSizeF(geometry.size()) * screen->devicePixelRatio()).toSize());
}

// The root beneath the window, and the area of it given in native pixels, on
// Qt's connection, which created the window; false where Qt does not run on X.
bool findRootArea(QWidget *window, const QRect &native, RootArea *area)
{
    area->connection = qtX11Connection();
    if (!area->connection || native.isEmpty())
        return false;
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(
            area->connection, xcb_get_geometry(area->connection, xcb_window_t(window->winId())),
            nullptr);
    if (!geometry)
        return false;
    auto it = xcb_setup_roots_iterator(xcb_get_setup(area->connection));
    while (it.rem && it.data->root != geometry->root)
        xcb_screen_next(&it);
    free(geometry);
    area->screen = it.rem ? it.data : nullptr;
    area->x = int16_t(native.x());
    area->y = int16_t(native.y());
    area->width = uint16_t(native.width());
    area->height = uint16_t(native.height());
    return area->screen;
}

// The pixels travel in strips of rows small enough to stay in the processor's
// cache: the server writes a strip into memory we read, we dim it in place and
// the server copies it into the pixmap. Every fresh page of memory, in either
// process, costs more than the copies; so the pixmap is the only full-screen
// buffer, and it lives in the server.
constexpr uint32_t stripBytes = 1u << 19;

// A strip's memory, shared with the X server through MIT-SHM where the server
// has it and runs on this machine.
struct SharedStrip
{
    xcb_shm_seg_t segment = XCB_NONE;
    quint32 *pixels = nullptr;
};

SharedStrip attachSharedStrip(xcb_connection_t *connection, uint32_t bytes)
{
    SharedStrip strip;
    const xcb_query_extension_reply_t *shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!shm || !shm->present)
        return strip;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id == -1)
        return strip;
    void *memory = shmat(id, nullptr, 0);
    if (memory != reinterpret_cast<void *>(-1)) {
        const xcb_shm_seg_t segment = xcb_generate_id(connection);
        // Checked: a remote server refuses to attach what it cannot reach.
        xcb_generic_error_t *error = xcb_request_check(
                connection, xcb_shm_attach_checked(connection, segment, id, false));
        if (error)
            shmdt(memory);
        else
            strip = {segment, static_cast<quint32 *>(memory)};
        free(error);
    }
    // Attached on both sides, or not at all: the segment goes with the last
    // detach, also when the program ends abruptly.
    shmctl(id, IPC_RMID, nullptr);
    return strip;
}

bool copySharedStrip(const RootArea &area, const SharedStrip &strip, xcb_pixmap_t pixmap,
                     xcb_gcontext_t gc, int y, int rows)
{
    xcb_connection_t *connection = area.connection;
    xcb_shm_get_image_reply_t *image = xcb_shm_get_image_reply(
            connection,
            xcb_shm_get_image(connection, area.screen->root, area.x, int16_t(area.y + y),
                              area.width, uint16_t(rows), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                              strip.segment, 0),
            nullptr);
    if (!image)
        return false;
    free(image);
    dimLine(strip.pixels, rows * area.width);
    // The next strip's GetImage comes after this request: the server has
    // copied the strip before it overwrites the memory.
    xcb_shm_put_image(connection, pixmap, gc, area.width, uint16_t(rows), 0, 0, area.width,
                      uint16_t(rows), 0, int16_t(y), area.screen->root_depth,
                      XCB_IMAGE_FORMAT_Z_PIXMAP, false, strip.segment, 0);
    return true;
}

// Without shared memory (a remote display) the strip comes in a reply.
bool copyPlainStrip(const RootArea &area, xcb_pixmap_t pixmap, xcb_gcontext_t gc, int y, int rows)
{
    xcb_connection_t *connection = area.connection;
    xcb_get_image_reply_t *image = xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, area.screen->root, area.x,
                          int16_t(area.y + y), area.width, uint16_t(rows), ~0u),
            nullptr);
    const uint32_t bytes = uint32_t(rows) * area.width * 4;
    const bool whole = image && uint32_t(xcb_get_image_data_length(image)) >= bytes;
    if (whole) {
        dimLine(reinterpret_cast<quint32 *>(xcb_get_image_data(image)), rows * area.width);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, area.width, uint16_t(rows),
                      0, int16_t(y), 0, area.screen->root_depth, bytes, xcb_get_image_data(image));
    }
    free(image);
    return whole;
}

// A pixmap of the area's pixels, dimmed; XCB_NONE when the server refused a
// request.
xcb_pixmap_t dimmedPixmap(const RootArea &area)
{
    xcb_connection_t *connection = area.connection;
    const uint32_t rowBytes = area.width * 4u;
    const uint32_t requestBytes =
            xcb_get_maximum_request_length(connection) * 4 - sizeof(xcb_put_image_request_t);
    const int rows =
            std::clamp(int(std::min(stripBytes, requestBytes) / rowBytes), 1, int(area.height));
    const SharedStrip strip = attachSharedStrip(connection, uint32_t(rows) * rowBytes);
    xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, area.screen->root_depth, pixmap, area.screen->root, area.width,
                      area.height);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    bool copied = true;
    for (int y = 0; copied && y < area.height; y += rows) {
        const int count = std::min(rows, area.height - y);
        copied = strip.pixels ? copySharedStrip(area, strip, pixmap, gc, y, count)
                              : copyPlainStrip(area, pixmap, gc, y, count);
    }
    xcb_free_gc(connection, gc);
    if (strip.pixels) {
        xcb_shm_detach(connection, strip.segment);
        shmdt(strip.pixels);
    }
    if (!copied) {
        xcb_free_pixmap(connection, pixmap);
        return XCB_NONE;
    }
    return pixmap;
}

std::unique_ptr<DimmedRoot> dimRoot(xcb_connection_t *connection, const xcb_screen_t *screen)
{
    std::unique_ptr<DimmedRoot> dimmed(new DimmedRoot {connection, screen->root, screen->root_depth,
                                                       screen->width_in_pixels,
                                                       screen->height_in_pixels});
    if (!hasDimmablePixels(connection, screen))
        return dimmed;
    dimmed->pixmap = dimmedPixmap({connection, screen, 0, 0, dimmed->width, dimmed->height});
    // Other connections draw from the pixmap next: a round trip makes sure
    // the server has filled it before they ask.
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return dimmed;
}

// The area's part of the dimmed root, on the area's connection: the root's
// own pixmap where the area is the whole root, else a copy made by the
// server. What lies outside the root as it was dimmed is black: a screen
// added or grown since then.
xcb_pixmap_t areaPixmap(const RootArea &area, const DimmedRoot &dimmed)
{
    if (area.x == 0 && area.y == 0 && area.width == dimmed.width && area.height == dimmed.height)
        return dimmed.pixmap;
    xcb_connection_t *connection = area.connection;
    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, dimmed.depth, pixmap, dimmed.root, area.width, area.height);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const uint32_t black = 0;
    xcb_create_gc(connection, gc, pixmap, XCB_GC_FOREGROUND, &black);
    const QRect wanted(area.x, area.y, area.width, area.height);
    const QRect dimmedPart = wanted & QRect(0, 0, dimmed.width, dimmed.height);
    if (dimmedPart != wanted) {
        const xcb_rectangle_t whole = {0, 0, area.width, area.height};
        xcb_poly_fill_rectangle(connection, pixmap, gc, 1, &whole);
    }
    if (!dimmedPart.isEmpty())
        xcb_copy_area(connection, dimmed.pixmap, pixmap, gc, int16_t(dimmedPart.x()),
                      int16_t(dimmedPart.y()), int16_t(dimmedPart.x() - area.x),
                      int16_t(dimmedPart.y() - area.y), uint16_t(dimmedPart.width()),
                      uint16_t(dimmedPart.height()));
    xcb_free_gc(connection, gc);
    return pixmap;
}

} // namespace

void dimImage(QImage &image)
{
    if (image.isNull())
        return;
    // Premultiplied and other formats are read as plain ARGB, which is what
    // the dimmed values are defined on.
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = std::move(image).convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y)
        dimLine(reinterpret_cast<quint32 *>(image.scanLine(y)), width);
    // Every pixel is opaque now; saying so spares a conversion when the
    // image becomes a pixmap.
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

RootCapture::RootCapture() = default;

RootCapture::~RootCapture()
{
    if (!dimmed || dimmed->pixmap == XCB_NONE)
        return;
    xcb_free_pixmap(dimmed->connection, dimmed->pixmap);
    xcb_flush(dimmed->connection);
}

void RootCapture::start(xcb_connection_t *connection, int screenNumber)
{
    auto screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screen.rem && screenNumber > 0; --screenNumber)
        xcb_screen_next(&screen);
    // Where no thread can be started, the work is done when it is needed.
    if (screen.rem)
        early = std::async(std::launch::async | std::launch::deferred, dimRoot, connection,
                           screen.data);
}

// The root beneath the first window shown, taken once: from the thread if it
// was started, else now.
const DimmedRoot &RootCapture::taken(QWidget *window, const QScreen *screen)
{
    if (dimmed)
        return *dimmed;
    RootArea area;
    if (early.valid())
        dimmed = early.get();
    else if (findRootArea(window, nativeGeometry(screen), &area))
        dimmed = dimRoot(area.connection, area.screen);
    else
        dimmed = std::make_unique<DimmedRoot>();
    return *dimmed;
}

bool RootCapture::showOn(QWidget *window, const QScreen *screen)
{
    const DimmedRoot &source = taken(window, screen);
    const QRect native = nativeGeometry(screen);
    RootArea area;
    if (source.pixmap == XCB_NONE || !findRootArea(window, native, &area)
        || area.screen->root != source.root)
        return false;
    xcb_pixmap_t pixmap = areaPixmap(area, source);
    // Checked: a window of another depth than the root's refuses the pixmap.
    const auto set = xcb_change_window_attributes_checked(
            area.connection, xcb_window_t(window->winId()), XCB_CW_BACK_PIXMAP, &pixmap);
    if (pixmap != source.pixmap) // the window keeps it as long as it needs it
        xcb_free_pixmap(area.connection, pixmap);
    xcb_generic_error_t *error = xcb_request_check(area.connection, set);
    free(error);
    if (error)
        return false;
    // A window already shown keeps its old background until it is redrawn.
    xcb_clear_area(area.connection, true, xcb_window_t(window->winId()), 0, 0, 0, 0);
    // A window whose updates are disabled is never painted by Qt, nor given a
    // backing store: the server draws it, on every exposure.
    window->setUpdatesEnabled(false);
    return true;
}
