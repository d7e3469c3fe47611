#include "runtime/gui/gadgets.h"
#include "runtime/gui/toolkit.h"
#include "runtime/gui/windows.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

bool GtkInProcess()
{
    void* gtk = dlopen("libgtk-3.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (gtk != nullptr)
        dlclose(gtk);
    return gtk != nullptr;
}

TEST(ToolkitLoaderTest, GtkLoadsOnlyWhenAWindowOpensAndThenServesEveryLayer)
{
    QV_InitWindow();
    QV_InitGadget();
    EXPECT_EQ(QV_WindowEvent(), QV_EventNone);
    EXPECT_EQ(QV_CreateGadgetList(nullptr), nullptr);
    QV_FreeWindows();
    EXPECT_FALSE(QV_ToolkitRunning());
    EXPECT_FALSE(GtkInProcess()) << "nothing opened yet";

    GtkWidget* window = QV_OpenWindow(0, 0, 0, 192, 190, QV_WindowSystemMenu, "Loaded");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(QV_ToolkitRunning());
    EXPECT_TRUE(GtkInProcess());
    ASSERT_NE(QV_CreateGadgetList(window), nullptr);
    ASSERT_NE(QV_CheckBoxGadget(2, 10, 10, 100, 20, "Box"), nullptr);
    QV_SetGadgetState(2, 1);
    EXPECT_EQ(QV_GetGadgetState(2), 1);
    EXPECT_EQ(QV_WindowID2(0), window);

    QV_CloseWindow(0);
    EXPECT_EQ(QV_WindowID2(0), nullptr);
    QV_FreeWindows();
}

}  // namespace
