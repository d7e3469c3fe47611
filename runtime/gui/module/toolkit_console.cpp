// The toolkit's calls where no toolkit can load (the web version): every
// call answers as the layers do when the toolkit cannot start, and a
// message box says its text on the console instead, so no failure goes
// unsaid.
#include "runtime/gui/module/toolkit_calls.h"

#include <cstdio>

namespace {

template <typename... Arguments>
void Unused(const Arguments&...)
{
}

}  // namespace

// clang-format off
#define QV_TOOLKIT_ANSWERED_CALL(name, result, parameters, arguments, fallback) \
    result name parameters \
    { \
        Unused arguments; \
        return fallback; \
    }
// The calls that would open something are written out below.
#define QV_TOOLKIT_OPENING_CALL(name, result, parameters, arguments, fallback)
QV_TOOLKIT_CALLS(QV_TOOLKIT_OPENING_CALL, QV_TOOLKIT_ANSWERED_CALL)
// clang-format on

GtkWidget* QV_OpenWindow(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, const char*)
{
    return nullptr;
}

int32_t QV_MessageRequester2(const char* title, const char* text, int32_t)
{
    std::fprintf(stderr, "%s: %s\n", title, text);
    return 0;
}
