// The modal message box.
#pragma once

#include <cstdint>

// Button sets, chosen by the flags (bit 1 is tested first).
enum : int32_t {
    QV_RequesterYesNo = 1,        // "Yes" 6, "No" 7
    QV_RequesterYesNoCancel = 2,  // "Yes" 6, "No" 7, "Cancel" 2
};                                // neither: "Ok" 1

// Codes of the buttons.
enum : int32_t {
    QV_RequesterOk = 1,
    QV_RequesterCancel = 2,
    QV_RequesterYes = 6,
    QV_RequesterNo = 7,
};

// The layer's process-wide state; one message box exists at a time.
struct QV_RequesterState {
    int32_t state = 0;   // 1 while the box waits, 0 once answered, -1 once closed
    int32_t result = 0;  // code of the clicked button, 0 until one is clicked
};
extern QV_RequesterState QV_Requester;

// Shows `text` in a modal box titled `title` with the buttons the flags ask
// for, and waits until it is answered or closed. Returns the code of the
// clicked button, or 0 when the box was closed without one or the toolkit
// cannot run.
int32_t QV_MessageRequester2(const char* title, const char* text, int32_t flags);
