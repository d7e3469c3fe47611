#include "gui_test_support.h"

#include "runtime/gui/windows.h"

namespace {

using WindowsTest = GuiTest;

GdkEvent* MouseEvent(GtkWidget* window, GdkEventType type, guint button)
{
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
    event->button.button = button;
    return event;
}

void SendMouse(GtkWidget* window, GdkEventType type, guint button)
{
    GdkEvent* event = MouseEvent(window, type, button);
    gboolean handled = FALSE;
    const char* signal = type == GDK_BUTTON_RELEASE ? "button-release-event" : "button-press-event";
    g_signal_emit_by_name(window, signal, event, &handled);
    gdk_event_free(event);
}

TEST_F(WindowsTest, NoEventWithoutAWindowOrWithNothingPending)
{
    for (int call = 0; call < 3; ++call)
        EXPECT_EQ(QV_WindowEvent(), QV_EventNone);

    ASSERT_NE(QV_OpenWindow(0, 0, 0, 100, 80, QV_WindowSystemMenu, "Quiet"), nullptr);
    Settle();
    EXPECT_EQ(QV_WindowEvent(), QV_EventNone);
}

// With no window open the toolkit still runs, once a second; with one open,
// on every call.
TEST_F(WindowsTest, TheToolkitRunsOnEveryCallOnlyWhileAWindowIsOpen)
{
    static int runs = 0;
    const auto callAfterWork = [] {
        runs = 0;
        // Ahead of whatever else the toolkit has waiting.
        g_idle_add_full(
            G_PRIORITY_HIGH,
            [](gpointer) -> gboolean {
                ++runs;
                return G_SOURCE_REMOVE;
            },
            nullptr, nullptr);
        QV_WindowEvent();
        return runs;
    };
    g_usleep(G_USEC_PER_SEC * 6 / 5);
    EXPECT_EQ(callAfterWork(), 1) << "no window open, over a second on";
    EXPECT_EQ(callAfterWork(), 0) << "no window open, straight after";
    g_usleep(G_USEC_PER_SEC * 6 / 5);
    QV_WindowEvent();
    EXPECT_EQ(runs, 1) << "the work left waiting";

    ASSERT_NE(QV_OpenWindow(0, 0, 0, 100, 80, 0, "Open"), nullptr);
    for (int call = 0; call < 3; ++call)
        EXPECT_EQ(callAfterWork(), 1) << "a window open, call " << call;
}

TEST_F(WindowsTest, ClosingByTheWindowManagerReportsTheWindowAndFreesItsSlot)
{
    GtkWidget* window = QV_OpenWindow(3, 0, 0, 100, 80, QV_WindowSystemMenu, "Closing");
    ASSERT_NE(window, nullptr);
    Settle();
    gtk_window_close(GTK_WINDOW(window));
    EXPECT_EQ(QV_WaitWindowEvent(), QV_EventCloseWindow);
    EXPECT_EQ(QV_EventWindowID(), 3);
    EXPECT_EQ(QV_WindowID2(3), nullptr);
    EXPECT_EQ(QV_WindowID(), nullptr);  // the current window went with it

    QV_CloseWindow(3);  // nothing left to close
    EXPECT_EQ(QV_WindowEvent(), QV_EventNone);
    EXPECT_EQ(QV_WindowWidth(), 0);
}

TEST_F(WindowsTest, TheTableGrowsToTheNumberPlusTen)
{
    EXPECT_EQ(QV_Window.objects.size(), 10u);
    ASSERT_NE(QV_OpenWindow(15, 0, 0, 50, 50, 0, "Far"), nullptr);
    EXPECT_EQ(QV_Window.objects.size(), 25u);
    EXPECT_NE(QV_WindowID2(15), nullptr);
    EXPECT_EQ(QV_WindowID2(24), nullptr);
    EXPECT_EQ(QV_WindowID2(25), nullptr);
    EXPECT_EQ(QV_OpenWindow(-1, 0, 0, 50, 50, 0, "Negative"), nullptr);
}

TEST_F(WindowsTest, ReopeningANumberReplacesItsWindow)
{
    GtkWidget* first = QV_OpenWindow(1, 0, 0, 60, 60, 0, "First");
    ASSERT_NE(first, nullptr);
    g_object_add_weak_pointer(G_OBJECT(first), reinterpret_cast<gpointer*>(&first));
    GtkWidget* second = QV_OpenWindow(1, 0, 0, 60, 60, 0, "Second");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(QV_WindowID2(1), second);
    EXPECT_EQ(QV_WindowID(), second);
}

TEST_F(WindowsTest, FlagsZeroGiveAFixedUndecoratedWindowAtThePosition)
{
    GtkWidget* window = QV_OpenWindow(0, 40, 30, 120, 90, 0, "Plain");
    ASSERT_NE(window, nullptr);
    Settle();
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
    GdkWMDecoration decorations;
    ASSERT_TRUE(gdk_window_get_decorations(gtk_widget_get_window(window), &decorations));
    EXPECT_EQ(decorations, 0);
    EXPECT_EQ(QV_WindowWidth(), 120);
    EXPECT_EQ(QV_WindowHeight(), 90);
    int x = 0;
    int y = 0;
    gdk_window_get_origin(gtk_widget_get_window(window), &x, &y);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 30);
}

TEST_F(WindowsTest, TheOptionsWindowFlagsCentreAFixedWindowWithMenuAndTitle)
{
    GtkWidget* window = QV_OpenWindow(0, 0, 0, 192, 190, QV_WindowScreenCentered | QV_WindowSystemMenu, "Tervane");
    ASSERT_NE(window, nullptr);
    Settle();
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(window)));
    GdkWMDecoration decorations;
    ASSERT_TRUE(gdk_window_get_decorations(gtk_widget_get_window(window), &decorations));
    EXPECT_EQ(decorations, GDK_DECOR_MENU | GDK_DECOR_TITLE);
    EXPECT_EQ(QV_WindowWidth(), 192);
    EXPECT_EQ(QV_WindowHeight(), 190);

    GdkRectangle screen;
    gdk_monitor_get_geometry(gdk_display_get_primary_monitor(gdk_display_get_default()), &screen);
    int x = 0;
    int y = 0;
    gdk_window_get_origin(gtk_widget_get_window(window), &x, &y);
    EXPECT_NEAR(x, (screen.width - 192) / 2, 1);
    EXPECT_NEAR(y, (screen.height - 190) / 2, 1);
}

TEST_F(WindowsTest, SizeableWindowsGrowAndShrinkDownToThirtyPixels)
{
    GtkWidget* window = QV_OpenWindow(0, 0, 0, 200, 150, QV_WindowSizeable | QV_WindowTitleBar, "Sizeable");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(gtk_window_get_resizable(GTK_WINDOW(window)));
    int width = 0;
    int height = 0;
    gtk_widget_get_size_request(window, &width, &height);
    EXPECT_EQ(width, 30);
    EXPECT_EQ(height, 30);
    GdkWMDecoration decorations;
    ASSERT_TRUE(gdk_window_get_decorations(gtk_widget_get_window(window), &decorations));
    EXPECT_EQ(decorations, GDK_DECOR_RESIZEH | GDK_DECOR_TITLE);
}

TEST_F(WindowsTest, BorderlessOverridesEveryDecoration)
{
    GtkWidget* window = QV_OpenWindow(0, 0, 0, 50, 50, 0xFF & ~QV_WindowInvisible, "Bare");
    ASSERT_NE(window, nullptr);
    GdkWMDecoration decorations;
    ASSERT_TRUE(gdk_window_get_decorations(gtk_widget_get_window(window), &decorations));
    EXPECT_EQ(decorations, 0);
}

TEST_F(WindowsTest, InvisibleWindowsStayHiddenUntilShown)
{
    GtkWidget* window = QV_OpenWindow(2, 0, 0, 50, 50, QV_WindowInvisible, "Hidden");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(gtk_widget_get_visible(window));
    QV_HideWindow(2, 0);
    EXPECT_TRUE(gtk_widget_get_visible(window));
    QV_HideWindow(2, 1);
    EXPECT_FALSE(gtk_widget_get_visible(window));
}

TEST_F(WindowsTest, MouseButtonsReportTheirKindAndButton)
{
    GtkWidget* window = QV_OpenWindow(4, 0, 0, 80, 80, 0, "Mouse");
    ASSERT_NE(window, nullptr);
    Settle();

    WhenIdle([&] { SendMouse(window, GDK_BUTTON_PRESS, 3); });
    EXPECT_EQ(NextWindowEvent(), QV_EventLeftClick);
    EXPECT_EQ(QV_EventType(), 3);
    EXPECT_EQ(QV_EventWindowID(), 4);

    WhenIdle([&] { SendMouse(window, GDK_2BUTTON_PRESS, 1); });
    EXPECT_EQ(NextWindowEvent(), QV_EventDoubleClick);
    WhenIdle([&] { SendMouse(window, GDK_BUTTON_RELEASE, 2); });
    EXPECT_EQ(NextWindowEvent(), QV_EventButtonUp);
    EXPECT_EQ(QV_EventType(), 2);

    // A triple click records no event, yet its button and window count.
    GtkWidget* other = QV_OpenWindow(6, 100, 0, 80, 80, 0, "Other");
    ASSERT_NE(other, nullptr);
    Settle();
    WhenIdle([&] { SendMouse(other, GDK_3BUTTON_PRESS, 5); });
    EXPECT_EQ(NextWindowEvent(20), QV_EventNone);
    EXPECT_EQ(QV_EventType(), 5);
    EXPECT_EQ(QV_EventWindowID(), 6);
}

TEST_F(WindowsTest, AGadgetClickWinsOverItsMouseButtonAndACloseWinsOverBoth)
{
    GtkWidget* window = QV_OpenWindow(0, 0, 0, 120, 80, 0, "Precedence");
    ASSERT_NE(QV_CreateGadgetList(window), nullptr);
    GtkWidget* button = QV_ButtonGadget(7, 10, 10, 80, 30, "Go");
    ASSERT_NE(button, nullptr);
    GtkWidget* other = QV_OpenWindow(1, 200, 0, 60, 60, 0, "Other");
    ASSERT_NE(other, nullptr);
    Settle();

    WhenIdle([&] {
        gtk_button_clicked(GTK_BUTTON(button));
        SendMouse(window, GDK_BUTTON_PRESS, 1);
    });
    EXPECT_EQ(NextWindowEvent(), QV_EventGadget);
    EXPECT_EQ(QV_EventGadgetID(), 7);
    EXPECT_EQ(QV_EventWindowID(), 0);

    WhenIdle([&] {
        gtk_widget_destroy(other);
        gtk_button_clicked(GTK_BUTTON(button));
    });
    EXPECT_EQ(NextWindowEvent(), QV_EventCloseWindow);
    EXPECT_EQ(QV_EventWindowID(), 1);
}

TEST_F(WindowsTest, ARealClickOnAGadgetEndsAWaitWithItsNumber)
{
    GtkWidget* window = QV_OpenWindow(0, 0, 0, 192, 190, QV_WindowSystemMenu, "Click");
    ASSERT_NE(QV_CreateGadgetList(window), nullptr);
    GtkWidget* button = QV_ButtonGadget(7, 66, 162, 65, 21, "Start Game");
    ASSERT_NE(button, nullptr);
    RealClick(button);
    // A ticking timer keeps a lost click from blocking the test forever.
    const guint ticker = g_timeout_add(
        50, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    int32_t event = QV_EventNone;
    for (int call = 0; call < 100 && event != QV_EventGadget; ++call)
        event = QV_WaitWindowEvent();
    g_source_remove(ticker);
    EXPECT_EQ(event, QV_EventGadget);
    EXPECT_EQ(QV_EventGadgetID(), 7);
}

TEST_F(WindowsTest, KeyboardShortcutsReportTheirNumber)
{
    GtkWidget* window = QV_OpenWindow(5, 0, 0, 100, 100, QV_WindowSystemMenu, "Shortcut");
    ASSERT_NE(window, nullptr);
    QV_AddKeyboardShortcut(5, GDK_KEY_F5, 42);
    gtk_window_present(GTK_WINDOW(window));
    RealKey("F5");
    EXPECT_EQ(NextWindowEvent(), QV_EventShortcut);
    EXPECT_EQ(QV_EventMenuID(), 42);
    EXPECT_EQ(QV_EventWindowID(), 5);
}

TEST_F(WindowsTest, SingleWindowCallsFollowTheCurrentWindow)
{
    GtkWidget* first = QV_OpenWindow(0, 0, 0, 100, 60, 0, "One");
    GtkWidget* second = QV_OpenWindow(1, 0, 0, 140, 70, 0, "Two");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Settle();
    EXPECT_EQ(QV_WindowWidth(), 140);
    EXPECT_EQ(QV_UseWindow(0), first);
    EXPECT_EQ(QV_WindowID(), first);
    EXPECT_EQ(QV_WindowWidth(), 100);
    EXPECT_EQ(QV_UseWindow(7), nullptr);
    EXPECT_EQ(QV_WindowID(), first);

    QV_MoveWindow(25, 35);
    Settle();
    EXPECT_EQ(QV_WindowX(), 25);
    EXPECT_EQ(QV_WindowY(), 35);
}

TEST_F(WindowsTest, FreeingClosesEveryWindow)
{
    GtkWidget* first = QV_OpenWindow(0, 0, 0, 50, 50, 0, "A");
    GtkWidget* second = QV_OpenWindow(12, 0, 0, 50, 50, 0, "B");
    g_object_add_weak_pointer(G_OBJECT(first), reinterpret_cast<gpointer*>(&first));
    g_object_add_weak_pointer(G_OBJECT(second), reinterpret_cast<gpointer*>(&second));
    QV_FreeWindows();
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_TRUE(QV_Window.objects.empty());
    EXPECT_NE(QV_OpenWindow(0, 0, 0, 50, 50, 0, "Again"), nullptr);
}

}  // namespace
