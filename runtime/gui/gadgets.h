// Numbered controls placed at pixel positions inside a window.
//
// Gadgets stay where and as large as they are asked unless their texts need
// more room, as under a desktop's large-text setting; gadget_layout.h says
// how they then make room. A gadget is addressed only by its number (0 to
// 999) once created. A click on
// any gadget is reported by the window layer as event 3 with the gadget's
// number. Option gadgets created one after the other form one group in which
// exactly one is selected; any other gadget created in between starts a new
// group.
#pragma once

#include <cstdint>

typedef struct _GtkWidget GtkWidget;

inline constexpr int32_t QV_GadgetCount = 1000;

// Gadget kinds.
enum : int32_t {
    QV_GadgetButton = 2,
    QV_GadgetOption = 4,
    QV_GadgetCheckBox = 5,
    QV_GadgetFrame = 7,
};

// Check box and button flags.
enum : int32_t {
    QV_GadgetAlignRight = 1,     // label aligned right
    QV_CheckBoxAlignCenter = 2,  // check box label centred
    QV_ButtonAlignLeft = 2,      // button label aligned left
    QV_ButtonToggle = 4,         // button stays pressed in until clicked again
};

// One entry of the gadget table.
struct QV_GadgetEntry {
    GtkWidget* widget = nullptr;  // nullptr for a number with no gadget
    int32_t kind = 0;             // one of the kinds above
};

// The layer's process-wide state.
struct QV_GadgetState {
    QV_GadgetEntry objects[QV_GadgetCount];
    GtkWidget* current = nullptr;            // container new gadgets go into
    GtkWidget* optionGroupButton = nullptr;  // last gadget, if an option
    bool compactStyleInstalled = false;      // on the screen, for the whole run
};
extern QV_GadgetState QV_Gadget;

// Starts the toolkit and empties the gadget table.
void QV_InitGadget();

// Puts a gadget container into `window` (a handle from QV_OpenWindow) and
// makes it the one new gadgets go into. Returns it, or nullptr on failure.
GtkWidget* QV_CreateGadgetList(GtkWidget* window);

// Each creation returns the gadget's widget, or nullptr (leaving the table
// unchanged) when the number is outside 0 to 999, there is no gadget
// container, or the toolkit cannot create it.
GtkWidget* QV_Frame3DGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text);
GtkWidget* QV_Frame3DGadget2(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text);
GtkWidget* QV_OptionGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text);
GtkWidget* QV_CheckBoxGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text);
GtkWidget* QV_CheckBoxGadget2(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                              int32_t flags);
GtkWidget* QV_ButtonGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text);
GtkWidget* QV_ButtonGadget2(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                            int32_t flags);

// Selects (1) or clears (0) an option, check box or toggle button, which
// reports a click like the user's; does nothing for other gadgets and unused
// numbers.
void QV_SetGadgetState(int32_t number, int32_t state);
// 1 when an option, check box or toggle button is selected, else 0.
int32_t QV_GetGadgetState(int32_t number);
// Greys the gadget out and makes it ignore input when `state` is nonzero.
void QV_DisableGadget(int32_t number, int32_t state);
// Gives the gadget the keyboard focus, shown at once. Returns 1.
int32_t QV_ActivateGadget(int32_t number);

// Where a gadget is laid out in its container: its asked position and size,
// grown and moved along when texts need more room (gadget_layout.h). 0 for
// a number with no gadget.
int32_t QV_GadgetX(int32_t number);
int32_t QV_GadgetWidth(int32_t number);
// Asks for the gadget at x, y instead; nothing for a number with no gadget.
void QV_MoveGadget(int32_t number, int32_t x, int32_t y);

// Dispatches every pending toolkit event.
void QV_Gadget_FlushEvents();
// Window number of the window holding `widget`, -1 when it is in none.
int32_t QV_Gadget_GetRootWindowID(GtkWidget* widget);
