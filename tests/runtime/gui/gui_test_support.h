// Helpers for driving real GTK widgets in the window, gadget and message box
// tests: starting the layers, finding widgets, and real pointer and keyboard
// input through xdotool.
#pragma once

#include "runtime/gui/gadgets.h"
#include "runtime/gui/toolkit.h"
#include "runtime/gui/windows.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QV_InitGadget();
        QV_InitWindow();
        ASSERT_TRUE(QV_ToolkitRunning()) << "these tests need an X display";
    }

    void TearDown() override
    {
        QV_FreeWindows();
        QV_FlushToolkitEvents();
    }
};

// Every widget of type `type` inside `root`, in the order GTK holds them.
inline void CollectWidgets(GtkWidget* root, GType type, std::vector<GtkWidget*>& found)
{
    if (G_TYPE_CHECK_INSTANCE_TYPE(root, type))
        found.push_back(root);
    if (GTK_IS_CONTAINER(root)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(root));
        for (GList* child = children; child; child = child->next)
            CollectWidgets(GTK_WIDGET(child->data), type, found);
        g_list_free(children);
    }
}

// The label texts of the buttons inside `root`.
inline std::vector<std::string> ButtonLabels(GtkWidget* root)
{
    std::vector<GtkWidget*> buttons;
    CollectWidgets(root, GTK_TYPE_BUTTON, buttons);
    std::vector<std::string> labels;
    for (GtkWidget* button : buttons)
        labels.emplace_back(gtk_button_get_label(GTK_BUTTON(button)));
    return labels;
}

inline GtkWidget* ButtonLabelled(GtkWidget* root, const std::string& text)
{
    std::vector<GtkWidget*> buttons;
    CollectWidgets(root, GTK_TYPE_BUTTON, buttons);
    for (GtkWidget* button : buttons)
        if (text == gtk_button_get_label(GTK_BUTTON(button)))
            return button;
    return nullptr;
}

// The visible top-level window titled `title`, or nullptr.
inline GtkWidget* TopLevelTitled(const std::string& title)
{
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next) {
        GtkWindow* window = GTK_WINDOW(item->data);
        const char* text = gtk_window_get_title(window);
        if (text && title == text && gtk_widget_get_visible(GTK_WIDGET(window)))
            found = GTK_WIDGET(window);
    }
    g_list_free(windows);
    return found;
}

// Runs `action` from inside the toolkit's own main loop, once it is idle:
// the way to answer a call that runs its own modal loop.
inline void WhenIdle(std::function<void()> action)
{
    auto* heldAction = new std::function<void()>(std::move(action));
    g_idle_add_full(
        G_PRIORITY_LOW,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        heldAction, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

// Lets the X server and the toolkit settle, so that real input reaches
// widgets that are on screen.
inline void Settle()
{
    for (int round = 0; round < 5; ++round) {
        gdk_display_sync(gdk_display_get_default());
        QV_FlushToolkitEvents();
        g_usleep(10000);
    }
    QV_FlushToolkitEvents();
}

// Runs an xdotool command line against the test's X display: real input, as
// the X server delivers it to whatever window is there.
inline void Xdotool(const std::string& arguments)
{
    gdk_display_sync(gdk_display_get_default());
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

// Moves the pointer over the middle of `widget` and clicks button 1.
inline void RealClick(GtkWidget* widget)
{
    Settle();
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(widget, top, allocation.width / 2, allocation.height / 2, &x, &y);
    int originX = 0;
    int originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(top), &originX, &originY);
    Xdotool("mousemove " + std::to_string(originX + x) + " " + std::to_string(originY + y) + " click 1");
}

// Presses and releases the key named `key` (an X key name such as "space")
// in the window holding the keyboard focus.
inline void RealKey(const std::string& key)
{
    Settle();
    Xdotool("key " + key);
}

// Takes window events until one other than 0 and the size/mouse noise of
// mapping a window arrives, or `limit` calls have found nothing.
inline int32_t NextWindowEvent(int limit = 200)
{
    for (int call = 0; call < limit; ++call) {
        const int32_t event = QV_WindowEvent();
        if (event != QV_EventNone && event != QV_EventSizeWindow)
            return event;
        if (event == QV_EventNone)
            g_usleep(2000);
    }
    return QV_EventNone;
}
