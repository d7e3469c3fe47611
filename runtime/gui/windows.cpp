#include "runtime/gui/windows.h"

#include "runtime/gui/toolkit.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <utility>

QV_WindowState QV_Window;

namespace {

constexpr int32_t InitialCapacity = 10;
constexpr int32_t CapacityStep = 10;
constexpr int32_t SizeableMinimum = 30;

gpointer NumberData(int32_t number)
{
    return GINT_TO_POINTER(number);
}

int32_t DataNumber(gpointer data)
{
    return GPOINTER_TO_INT(data);
}

QV_WindowEntry* Entry(int32_t number)
{
    if (number < 0 || static_cast<size_t>(number) >= QV_Window.objects.size())
        return nullptr;
    return &QV_Window.objects[static_cast<size_t>(number)];
}

GtkWidget* OpenWindow(int32_t number)
{
    const QV_WindowEntry* entry = Entry(number);
    return entry ? entry->window : nullptr;
}

void RecordWindowEvent(int32_t event, int32_t number)
{
    QV_Window.eventID = event;
    QV_Window.objectID = number;
    QV_Window.eventWindowID = number;
}

void OnDestroy(GtkWidget* window, gpointer data)
{
    const int32_t number = DataNumber(data);
    if (QV_WindowEntry* entry = Entry(number); entry && entry->window == window) {
        if (entry->shortcuts)
            g_object_unref(entry->shortcuts);
        *entry = QV_WindowEntry{};
    }
    // The single-window calls must not reach a destroyed window.
    if (QV_Window.current == window)
        QV_Window.current = nullptr;
    RecordWindowEvent(QV_EventCloseWindow, number);
}

void OnSizeAllocate(GtkWidget*, GdkRectangle*, gpointer data)
{
    RecordWindowEvent(QV_EventSizeWindow, DataNumber(data));
}

gboolean OnMotion(GtkWidget*, GdkEventMotion*, gpointer data)
{
    RecordWindowEvent(QV_EventMouseMove, DataNumber(data));
    return FALSE;
}

gboolean OnMouseButton(GtkWidget*, GdkEventButton* event, gpointer data)
{
    // The click of a gadget wins over the mouse button that caused it.
    if (QV_Window.eventID == QV_EventGadget)
        return FALSE;
    // A triple click has no code of its own but still names its button.
    switch (event->type) {
    case GDK_BUTTON_PRESS: QV_Window.eventID = QV_EventLeftClick; break;
    case GDK_2BUTTON_PRESS: QV_Window.eventID = QV_EventDoubleClick; break;
    case GDK_BUTTON_RELEASE: QV_Window.eventID = QV_EventButtonUp; break;
    default: break;
    }
    QV_Window.eventType = static_cast<int32_t>(event->button);
    QV_Window.eventWindowID = DataNumber(data);
    return FALSE;
}

gboolean OnShortcut(GtkAccelGroup*, GObject* window, guint, GdkModifierType, gpointer data)
{
    QV_Window.eventID = QV_EventShortcut;
    QV_Window.objectID = DataNumber(data);
    QV_Window.eventWindowID = QV_Window_NumberOf(GTK_WIDGET(window));
    return TRUE;
}

GdkWMDecoration Decorations(int32_t flags)
{
    if (flags & QV_WindowBorderless)
        return GdkWMDecoration(0);
    int decorations = 0;
    if (flags & QV_WindowSizeable)
        decorations |= GDK_DECOR_RESIZEH;
    if (flags & QV_WindowSystemMenu)
        decorations |= GDK_DECOR_MENU | GDK_DECOR_TITLE;
    if (flags & QV_WindowTitleBar)
        decorations |= GDK_DECOR_TITLE;
    if (flags & QV_WindowMaximizeGadget)
        decorations |= GDK_DECOR_MAXIMIZE | GDK_DECOR_TITLE;
    if (flags & QV_WindowMinimizeGadget)
        decorations |= GDK_DECOR_MINIMIZE | GDK_DECOR_TITLE;
    return GdkWMDecoration(decorations);
}

void ApplySizing(GtkWidget* window, int32_t width, int32_t height, int32_t flags)
{
    const bool sizeable = flags & QV_WindowSizeable;
    gtk_window_set_resizable(GTK_WINDOW(window), sizeable);
    if (sizeable)
        gtk_widget_set_size_request(window, SizeableMinimum, SizeableMinimum);
    else
        gtk_widget_set_size_request(window, width, height);
}

void ConnectEvents(GtkWidget* window, int32_t number)
{
    g_signal_connect(window, "destroy", G_CALLBACK(OnDestroy), NumberData(number));
    g_signal_connect(window, "size-allocate", G_CALLBACK(OnSizeAllocate), NumberData(number));
    gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_MOTION_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect(window, "button-press-event", G_CALLBACK(OnMouseButton), NumberData(number));
    g_signal_connect(window, "button-release-event", G_CALLBACK(OnMouseButton), NumberData(number));
    g_signal_connect(window, "motion-notify-event", G_CALLBACK(OnMotion), NumberData(number));
}

// With no window of the table open, nothing can record an event, and what
// the toolkit does for itself (its display connection, its settings) bears
// a second's wait. A game asking for events on every frame would otherwise
// spend a tenth of its time preparing the toolkit's sources.
constexpr int64_t UpkeepInterval = G_USEC_PER_SEC;

bool AnyWindowOpen()
{
    return std::any_of(QV_Window.objects.begin(), QV_Window.objects.end(),
                       [](const QV_WindowEntry& entry) { return entry.window != nullptr; });
}

bool IterationDue(bool wait)
{
    const int64_t now = g_get_monotonic_time();
    if (!wait && !AnyWindowOpen() && now - QV_Window.lastIteration < UpkeepInterval)
        return false;
    QV_Window.lastIteration = now;
    return true;
}

// Runs one toolkit iteration, waiting for work or not, and reports what it
// recorded.
int32_t TakeEvent(bool wait)
{
    QV_Window.eventID = QV_EventNone;
    QV_Window.objectID = 0;
    if (QV_ToolkitRunning() && IterationDue(wait))
        gtk_main_iteration_do(wait);
    return QV_Window.eventID;
}

GdkWindow* CurrentGdkWindow()
{
    return QV_Window.current ? gtk_widget_get_window(QV_Window.current) : nullptr;
}

GdkSeat* DefaultSeat()
{
    return gdk_display_get_default_seat(gdk_display_get_default());
}

// The two values a GTK getter of the current window reports (its position or
// its size); both 0 when no window is current.
std::pair<gint, gint> CurrentWindowPair(void (*read)(GtkWindow*, gint*, gint*))
{
    std::pair<gint, gint> values{0, 0};
    if (QV_Window.current)
        read(GTK_WINDOW(QV_Window.current), &values.first, &values.second);
    return values;
}

}  // namespace

void QV_InitWindow()
{
    QV_StartToolkit();
    QV_Window.objects.assign(InitialCapacity, QV_WindowEntry{});
}

GtkWidget* QV_OpenWindow(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags,
                         const char* title)
{
    if (number < 0 || !QV_ToolkitRunning())
        return nullptr;
    if (static_cast<size_t>(number) >= QV_Window.objects.size())
        QV_Window.objects.resize(static_cast<size_t>(number) + CapacityStep);
    QV_CloseWindow(number);

    GtkWidget* const window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    QV_Window.current = window;
    if (!window)
        return nullptr;
    gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
    gtk_window_set_default_size(GTK_WINDOW(window), width, height);
    // A position given to the toolkit would win over centring.
    if (flags & QV_WindowScreenCentered)
        gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    else
        gtk_window_move(GTK_WINDOW(window), x, y);
    gtk_widget_realize(window);
    ApplySizing(window, width, height, flags);
    GdkWindow* const surface = gtk_widget_get_window(window);
    gdk_window_set_decorations(surface, Decorations(flags));
    gdk_window_set_functions(surface, GDK_FUNC_ALL);

    // The gadget layer puts its container into this box.
    GtkWidget* const box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    gtk_widget_show(box);
    if (!(flags & QV_WindowInvisible))
        gtk_widget_show(window);

    ConnectEvents(window, number);
    QV_Window.objects[static_cast<size_t>(number)].window = window;
    QV_FlushToolkitEvents();
    return window;
}

int32_t QV_WaitWindowEvent()
{
    return TakeEvent(true);
}

int32_t QV_WindowEvent()
{
    return TakeEvent(false);
}

int32_t QV_EventGadgetID()
{
    return QV_Window.objectID;
}

int32_t QV_EventMenuID()
{
    return QV_Window.objectID;
}

int32_t QV_EventWindowID()
{
    return QV_Window.eventWindowID;
}

int32_t QV_EventType()
{
    return QV_Window.eventType;
}

void QV_CloseWindow(int32_t number)
{
    if (GtkWidget* window = OpenWindow(number)) {
        gtk_widget_destroy(window);
        QV_FlushToolkitEvents();
    }
}

void QV_FreeWindows()
{
    for (size_t number = 0; number < QV_Window.objects.size(); ++number)
        QV_CloseWindow(static_cast<int32_t>(number));
    QV_Window.objects.clear();
    QV_Window.objects.shrink_to_fit();
}

GtkWidget* QV_UseWindow(int32_t number)
{
    GtkWidget* const window = OpenWindow(number);
    if (window)
        QV_Window.current = window;
    return window;
}

GtkWidget* QV_WindowID()
{
    return QV_Window.current;
}

GtkWidget* QV_WindowID2(int32_t number)
{
    return OpenWindow(number);
}

void QV_HideWindow(int32_t number, int32_t state)
{
    GtkWidget* const window = OpenWindow(number);
    if (!window)
        return;
    if (state)
        gtk_widget_hide(window);
    else
        gtk_widget_show(window);
    QV_FlushToolkitEvents();
}

void QV_MoveWindow(int32_t x, int32_t y)
{
    if (QV_Window.current)
        gtk_window_move(GTK_WINDOW(QV_Window.current), x, y);
}

void QV_ResizeWindow(int32_t width, int32_t height)
{
    if (QV_Window.current)
        gtk_window_resize(GTK_WINDOW(QV_Window.current), width, height);
}

int32_t QV_WindowX()
{
    return CurrentWindowPair(gtk_window_get_position).first;
}

int32_t QV_WindowY()
{
    return CurrentWindowPair(gtk_window_get_position).second;
}

int32_t QV_WindowWidth()
{
    return CurrentWindowPair(gtk_window_get_size).first;
}

int32_t QV_WindowHeight()
{
    return CurrentWindowPair(gtk_window_get_size).second;
}

int32_t QV_WindowMouseX()
{
    gint x = 0;
    if (GdkWindow* surface = CurrentGdkWindow())
        gdk_window_get_device_position(surface, gdk_seat_get_pointer(DefaultSeat()), &x, nullptr, nullptr);
    return x;
}

int32_t QV_WindowMouseY()
{
    gint y = 0;
    if (GdkWindow* surface = CurrentGdkWindow())
        gdk_window_get_device_position(surface, gdk_seat_get_pointer(DefaultSeat()), nullptr, &y, nullptr);
    return y;
}

void QV_ActivateWindow()
{
    if (QV_Window.current)
        gtk_window_activate_default(GTK_WINDOW(QV_Window.current));
}

void QV_Window_FlushEvents()
{
    QV_FlushToolkitEvents();
}

void QV_AddKeyboardShortcut(int32_t number, int32_t shortcut, int32_t eventNumber)
{
    QV_WindowEntry* const entry = Entry(number);
    if (!entry || !entry->window)
        return;
    if (!entry->shortcuts) {
        entry->shortcuts = gtk_accel_group_new();
        gtk_window_add_accel_group(GTK_WINDOW(entry->window), entry->shortcuts);
    }
    const auto bits = static_cast<uint32_t>(shortcut);
    gtk_accel_group_connect(entry->shortcuts, bits & 0xFFFF, GdkModifierType(bits >> 16), GTK_ACCEL_VISIBLE,
                            g_cclosure_new(G_CALLBACK(OnShortcut), NumberData(eventNumber), nullptr));
}

void QV_Beta_CaptureMouse(int32_t state)
{
    GdkWindow* const surface = CurrentGdkWindow();
    if (!surface)
        return;
    if (state)
        gdk_seat_grab(DefaultSeat(), surface, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr, nullptr, nullptr,
                      nullptr);
    else
        gdk_seat_ungrab(DefaultSeat());
}

int32_t QV_Window_NumberOf(GtkWidget* window)
{
    if (!window)
        return -1;
    for (size_t number = 0; number < QV_Window.objects.size(); ++number)
        if (QV_Window.objects[number].window == window)
            return static_cast<int32_t>(number);
    return -1;
}

void QV_Window_RecordGadgetEvent(int32_t gadget, int32_t window)
{
    // A close in the same iteration wins.
    if (QV_Window.eventID == QV_EventCloseWindow)
        return;
    QV_Window.eventID = QV_EventGadget;
    QV_Window.objectID = gadget;
    QV_Window.eventWindowID = window;
}
