// The calls of the window, gadget and requester layers, as the program
// reaches them in the toolkit module.
//
// GTK and the seventy-odd libraries under it take longer to load and start
// than the rest of the program does to show its first frame, and a replay,
// a timedemo or a game that never opens a window has no use for them. So
// the layers and GTK are built into a module of their own, which the
// program loads the first time it opens something: until then no window,
// gadget or message box exists, and every other call answers as the layers
// do with nothing open.
#pragma once

#include "runtime/gui/gadgets.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/toolkit.h"
#include "runtime/gui/windows.h"

// The module's one exported symbol: a function returning its QV_ToolkitCalls.
#define QV_TOOLKIT_ENTRY QV_ToolkitModuleCalls
inline constexpr const char* QV_ToolkitEntryName = "QV_ToolkitModuleCalls";

// QV_TOOLKIT_CALLS(OPENS, ANSWERS) lists every call as
// KIND(name, result, parameters, arguments, fallback): OPENS for the calls
// that load the module first, ANSWERS for those that, before it is loaded,
// give `fallback` without loading it. A call that opens gives `fallback`
// too when the module cannot be loaded: what the layers give when the
// toolkit cannot start.
// clang-format off
#define QV_TOOLKIT_CALLS(OPENS, ANSWERS) \
    ANSWERS(QV_InitWindow, void, (), (), void()) \
    ANSWERS(QV_InitGadget, void, (), (), void()) \
    ANSWERS(QV_ToolkitRunning, bool, (), (), false) \
    OPENS(QV_OpenWindow, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags, const char* title), (number, x, y, width, height, flags, title), nullptr) \
    ANSWERS(QV_WaitWindowEvent, int32_t, (), (), QV_EventNone) \
    ANSWERS(QV_WindowEvent, int32_t, (), (), QV_EventNone) \
    ANSWERS(QV_EventGadgetID, int32_t, (), (), 0) \
    ANSWERS(QV_EventMenuID, int32_t, (), (), 0) \
    ANSWERS(QV_EventWindowID, int32_t, (), (), 0) \
    ANSWERS(QV_EventType, int32_t, (), (), 0) \
    ANSWERS(QV_CloseWindow, void, (int32_t number), (number), void()) \
    ANSWERS(QV_FreeWindows, void, (), (), void()) \
    ANSWERS(QV_UseWindow, GtkWidget*, (int32_t number), (number), nullptr) \
    ANSWERS(QV_WindowID, GtkWidget*, (), (), nullptr) \
    ANSWERS(QV_WindowID2, GtkWidget*, (int32_t number), (number), nullptr) \
    ANSWERS(QV_HideWindow, void, (int32_t number, int32_t state), (number, state), void()) \
    ANSWERS(QV_MoveWindow, void, (int32_t x, int32_t y), (x, y), void()) \
    ANSWERS(QV_ResizeWindow, void, (int32_t width, int32_t height), (width, height), void()) \
    ANSWERS(QV_WindowX, int32_t, (), (), 0) \
    ANSWERS(QV_WindowY, int32_t, (), (), 0) \
    ANSWERS(QV_WindowWidth, int32_t, (), (), 0) \
    ANSWERS(QV_WindowHeight, int32_t, (), (), 0) \
    ANSWERS(QV_WindowMouseX, int32_t, (), (), 0) \
    ANSWERS(QV_WindowMouseY, int32_t, (), (), 0) \
    ANSWERS(QV_ActivateWindow, void, (), (), void()) \
    ANSWERS(QV_Window_FlushEvents, void, (), (), void()) \
    ANSWERS(QV_AddKeyboardShortcut, void, (int32_t number, int32_t shortcut, int32_t eventNumber), (number, shortcut, eventNumber), void()) \
    ANSWERS(QV_Beta_CaptureMouse, void, (int32_t state), (state), void()) \
    ANSWERS(QV_CreateGadgetList, GtkWidget*, (GtkWidget* window), (window), nullptr) \
    ANSWERS(QV_Frame3DGadget, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text), (number, x, y, width, height, text), nullptr) \
    ANSWERS(QV_Frame3DGadget2, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text), (number, x, y, width, height, text), nullptr) \
    ANSWERS(QV_OptionGadget, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text), (number, x, y, width, height, text), nullptr) \
    ANSWERS(QV_CheckBoxGadget, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text), (number, x, y, width, height, text), nullptr) \
    ANSWERS(QV_CheckBoxGadget2, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text, int32_t flags), (number, x, y, width, height, text, flags), nullptr) \
    ANSWERS(QV_ButtonGadget, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text), (number, x, y, width, height, text), nullptr) \
    ANSWERS(QV_ButtonGadget2, GtkWidget*, (int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text, int32_t flags), (number, x, y, width, height, text, flags), nullptr) \
    ANSWERS(QV_SetGadgetState, void, (int32_t number, int32_t state), (number, state), void()) \
    ANSWERS(QV_GetGadgetState, int32_t, (int32_t number), (number), 0) \
    ANSWERS(QV_DisableGadget, void, (int32_t number, int32_t state), (number, state), void()) \
    ANSWERS(QV_ActivateGadget, int32_t, (int32_t number), (number), 1) \
    ANSWERS(QV_GadgetX, int32_t, (int32_t number), (number), 0) \
    ANSWERS(QV_GadgetWidth, int32_t, (int32_t number), (number), 0) \
    ANSWERS(QV_MoveGadget, void, (int32_t number, int32_t x, int32_t y), (number, x, y), void()) \
    ANSWERS(QV_Gadget_FlushEvents, void, (), (), void()) \
    ANSWERS(QV_Gadget_GetRootWindowID, int32_t, (GtkWidget* widget), (widget), -1) \
    OPENS(QV_MessageRequester2, int32_t, (const char* title, const char* text, int32_t flags), (title, text, flags), 0)
// clang-format on

// The module's implementations of the calls, in the order listed.
struct QV_ToolkitCalls {
    const char* version;  // the release the module was built for
#define QV_TOOLKIT_CALL_POINTER(name, result, parameters, arguments, fallback) result(*name) parameters;
    QV_TOOLKIT_CALLS(QV_TOOLKIT_CALL_POINTER, QV_TOOLKIT_CALL_POINTER)
#undef QV_TOOLKIT_CALL_POINTER
};
