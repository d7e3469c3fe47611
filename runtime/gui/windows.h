// Numbered top-level windows with a polled event model.
//
// There is no toolkit main loop of its own: each event call runs exactly one
// GTK main-loop iteration, during which the signal handlers of this layer and
// of the gadget layer record what happened; the call then returns the code of
// the last event recorded. Inside one iteration a later event overwrites an
// earlier one, except that a gadget click wins over the mouse button that
// caused it and a window close wins over a gadget click.
#pragma once

#include <cstdint>
#include <vector>

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkAccelGroup GtkAccelGroup;

// Event codes returned by the event calls.
enum : int32_t {
    QV_EventNone = 0,
    QV_EventShortcut = 1,      // a keyboard shortcut fired
    QV_EventCloseWindow = 2,   // a window was closed
    QV_EventGadget = 3,        // a gadget was clicked
    QV_EventSizeWindow = 6,    // a window got a new size
    QV_EventLeftClick = 8,     // a mouse button went down
    QV_EventButtonUp = 9,      // a mouse button went up
    QV_EventDoubleClick = 10,  // a double click
    QV_EventMouseMove = 12,    // the pointer moved with a button held
};

// Window flags, a bit set.
enum : int32_t {
    QV_WindowInvisible = 1,
    QV_WindowSizeable = 2,
    QV_WindowSystemMenu = 4,
    QV_WindowTitleBar = 8,
    QV_WindowMaximizeGadget = 16,
    QV_WindowMinimizeGadget = 32,
    QV_WindowScreenCentered = 64,
    QV_WindowBorderless = 128,
};

// Keys for QV_AddKeyboardShortcut, as GDK names them.
enum : int32_t {
    QV_ShortcutReturn = 0xFF0D,
    QV_ShortcutEscape = 0xFF1B,
    QV_ShortcutKeypadEnter = 0xFF8D,
};

// One slot of the window table.
struct QV_WindowEntry {
    GtkWidget* window = nullptr;         // nullptr while the slot is free
    GtkAccelGroup* shortcuts = nullptr;  // made by the first keyboard shortcut
};

// The layer's process-wide state.
struct QV_WindowState {
    std::vector<QV_WindowEntry> objects;  // the window table, by window number
    GtkWidget* current = nullptr;         // window of the single-window calls;
                                          // nullptr once that window is gone
    int32_t eventID = 0;                  // code of the last event recorded
    int32_t objectID = 0;                 // its gadget, shortcut or window number
    int32_t eventWindowID = 0;            // the window number it belongs to
    int32_t eventType = 0;                // GDK button of the last mouse event
    int64_t lastIteration = 0;            // when the toolkit last ran, in GLib's monotonic microseconds
};
extern QV_WindowState QV_Window;

// Starts the toolkit and makes an empty table of 10 windows.
void QV_InitWindow();

// Opens window `number` (replacing a window open under that number) with the
// given inner size at x, y and the flags above. Returns the window handle, or
// nullptr when it cannot be created.
GtkWidget* QV_OpenWindow(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags,
                         const char* title);

// Runs one toolkit iteration, waiting for something to dispatch, and returns
// the code of the event it recorded (0 for none).
int32_t QV_WaitWindowEvent();
// Same without waiting: 0 at once when nothing is pending.
int32_t QV_WindowEvent();

int32_t QV_EventGadgetID();  // gadget number of the last event
int32_t QV_EventMenuID();    // shortcut number of the last event
int32_t QV_EventWindowID();  // window number of the last event
int32_t QV_EventType();      // mouse button of the last mouse event

// Destroys window `number`, if open, and lets the toolkit catch up.
void QV_CloseWindow(int32_t number);
// Destroys every open window in table order and releases the table.
void QV_FreeWindows();

// Makes window `number` current and returns its handle (nullptr if free).
GtkWidget* QV_UseWindow(int32_t number);
GtkWidget* QV_WindowID();                 // handle of the current window
GtkWidget* QV_WindowID2(int32_t number);  // handle of window `number`

// Hides window `number` when `state` is nonzero, shows it otherwise.
void QV_HideWindow(int32_t number, int32_t state);

// Geometry and pointer of the current window.
void QV_MoveWindow(int32_t x, int32_t y);
void QV_ResizeWindow(int32_t width, int32_t height);
int32_t QV_WindowX();
int32_t QV_WindowY();
int32_t QV_WindowWidth();
int32_t QV_WindowHeight();
int32_t QV_WindowMouseX();
int32_t QV_WindowMouseY();

// Activates the current window's default widget.
void QV_ActivateWindow();

// Dispatches every pending toolkit event.
void QV_Window_FlushEvents();

// Makes the key in the low 16 bits of `shortcut` (a GDK key value), with the
// GDK modifiers in its upper bits, report event 1 with `eventNumber` in the
// window `number`.
void QV_AddKeyboardShortcut(int32_t number, int32_t shortcut, int32_t eventNumber);

// Grabs the pointer for the current window when `state` is nonzero, releases
// it otherwise.
void QV_Beta_CaptureMouse(int32_t state);

// Number of the open window `window`, -1 when it is none of this layer's.
int32_t QV_Window_NumberOf(GtkWidget* window);

// Records a click of gadget `gadget` in window `window` (-1 when it has
// none), unless a close was recorded in this iteration. For the gadget layer.
void QV_Window_RecordGadgetEvent(int32_t gadget, int32_t window);
