#include "runtime/gui/module/toolkit_calls.h"

#include "tervane_version.h"

namespace {

#define QV_TOOLKIT_CALL_ADDRESS(name, result, parameters, arguments, fallback) name,
const QV_ToolkitCalls calls{TERVANE_VERSION, QV_TOOLKIT_CALLS(QV_TOOLKIT_CALL_ADDRESS, QV_TOOLKIT_CALL_ADDRESS)};
#undef QV_TOOLKIT_CALL_ADDRESS

}  // namespace

extern "C" __attribute__((visibility("default"))) const QV_ToolkitCalls* QV_TOOLKIT_ENTRY()
{
    return &calls;
}
