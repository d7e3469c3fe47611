// The container gadgets are put into: a GtkFixed that lays its gadgets out
// as gadget_layout.h describes whenever GTK sizes it, so that texts larger
// than the sizes asked for (a desktop's large-text setting) neither overlap
// nor cross a frame, and the window grows only as much as they need.
//
// A gadget's asked position is its GtkFixed position and its asked size its
// size request; the size its text needs is its natural size.
#pragma once

#include "runtime/gui/gadget_layout.h"

typedef struct _GtkWidget GtkWidget;

// A new, empty container for a window whose inner size was asked as
// askedWidth x askedHeight.
GtkWidget* QV_NewGadgetContainer(int32_t askedWidth, int32_t askedHeight);

// Where `gadget` is laid out inside its container. False, leaving `box`
// alone, when it is not in a gadget container or is hidden.
bool QV_GadgetPlacement(GtkWidget* gadget, QV_GadgetBox& box);
