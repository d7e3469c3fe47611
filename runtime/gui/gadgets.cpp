#include "runtime/gui/gadgets.h"

#include "runtime/gui/gadget_container.h"
#include "runtime/gui/toolkit.h"
#include "runtime/gui/windows.h"

#include <gtk/gtk.h>

QV_GadgetState QV_Gadget;

namespace {

// GTK 3's stock widgets are larger than the pixel sizes gadgets are laid out
// with; inside gadget containers they are drawn compact enough to fit them.
constexpr const char* CompactStyle = R"(
.qv-gadgets { font-size: 9pt; }
.qv-gadgets button { padding: 0 4px; min-height: 0; min-width: 0; }
.qv-gadgets checkbutton, .qv-gadgets radiobutton { padding: 0; min-height: 0; }
.qv-gadgets check, .qv-gadgets radio { min-width: 13px; min-height: 13px; margin: 0 4px 0 0; }
)";
constexpr const char* CompactStyleClass = "qv-gadgets";

void InstallCompactStyle()
{
    if (QV_Gadget.compactStyleInstalled)
        return;
    GtkCssProvider* const provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, CompactStyle, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    QV_Gadget.compactStyleInstalled = true;
}

QV_GadgetEntry* Entry(int32_t number)
{
    if (number < 0 || number >= QV_GadgetCount)
        return nullptr;
    return &QV_Gadget.objects[number];
}

GtkWidget* GadgetWidget(int32_t number)
{
    const QV_GadgetEntry* entry = Entry(number);
    return entry ? entry->widget : nullptr;
}

// Nothing may keep pointing at a widget its window took down with it.
void OnGadgetDestroy(GtkWidget* widget, gpointer data)
{
    if (QV_GadgetEntry* entry = Entry(GPOINTER_TO_INT(data)); entry && entry->widget == widget)
        *entry = QV_GadgetEntry{};
    if (QV_Gadget.optionGroupButton == widget)
        QV_Gadget.optionGroupButton = nullptr;
}

void OnContainerDestroy(GtkWidget* container, gpointer)
{
    if (QV_Gadget.current == container)
        QV_Gadget.current = nullptr;
}

void OnClicked(GtkWidget* widget, gpointer data)
{
    QV_Window_RecordGadgetEvent(GPOINTER_TO_INT(data), QV_Gadget_GetRootWindowID(widget));
}

// The gadget's label, when it has one of its own.
GtkLabel* Label(GtkWidget* widget)
{
    GtkWidget* const child = gtk_bin_get_child(GTK_BIN(widget));
    return child && GTK_IS_LABEL(child) ? GTK_LABEL(child) : nullptr;
}

// Aligns the label right when `flags` ask for it, else at `otherX` when they
// hold the kind's own `otherFlag`; otherwise GTK's alignment stays.
void AlignLabel(GtkWidget* widget, int32_t flags, int32_t otherFlag, float otherX)
{
    GtkLabel* const label = widget ? Label(widget) : nullptr;
    if (!label || !(flags & (QV_GadgetAlignRight | otherFlag)))
        return;
    gtk_label_set_xalign(label, (flags & QV_GadgetAlignRight) ? 1.0f : otherX);
    gtk_label_set_yalign(label, 0.5f);
}

// True when a gadget numbered `number` can be created now.
bool CanCreate(int32_t number)
{
    return Entry(number) && QV_Gadget.current;
}

// The creation steps every kind shares, once its widget exists.
GtkWidget* PlaceGadget(GtkWidget* widget, int32_t number, int32_t kind, int32_t x, int32_t y, int32_t width,
                       int32_t height)
{
    if (!widget)
        return nullptr;
    gtk_fixed_put(GTK_FIXED(QV_Gadget.current), widget, static_cast<int16_t>(x), static_cast<int16_t>(y));
    gtk_widget_set_size_request(widget, width, height);
    if (GTK_IS_BUTTON(widget))
        g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), GINT_TO_POINTER(number));
    g_signal_connect(widget, "destroy", G_CALLBACK(OnGadgetDestroy), GINT_TO_POINTER(number));
    gtk_widget_show(widget);
    QV_Gadget.objects[number] = QV_GadgetEntry{widget, kind};
    // Any other kind of gadget between two options splits their group.
    if (kind != QV_GadgetOption)
        QV_Gadget.optionGroupButton = nullptr;
    QV_FlushToolkitEvents();
    return widget;
}

}  // namespace

void QV_InitGadget()
{
    QV_StartToolkit();
    for (QV_GadgetEntry& entry : QV_Gadget.objects)
        entry = QV_GadgetEntry{};
    QV_Gadget.current = nullptr;
    QV_Gadget.optionGroupButton = nullptr;
}

GtkWidget* QV_CreateGadgetList(GtkWidget* window)
{
    if (!window || !QV_ToolkitRunning() || !GTK_IS_WINDOW(window))
        return nullptr;
    GtkWidget* const box = gtk_bin_get_child(GTK_BIN(window));
    if (!box || !GTK_IS_BOX(box))
        return nullptr;
    InstallCompactStyle();
    gint askedWidth = 0;
    gint askedHeight = 0;
    gtk_window_get_default_size(GTK_WINDOW(window), &askedWidth, &askedHeight);
    GtkWidget* const container = QV_NewGadgetContainer(askedWidth, askedHeight);
    gtk_style_context_add_class(gtk_widget_get_style_context(container), CompactStyleClass);
    g_signal_connect(container, "destroy", G_CALLBACK(OnContainerDestroy), nullptr);
    QV_Gadget.current = container;
    gtk_widget_show(container);
    gtk_box_pack_start(GTK_BOX(box), container, TRUE, TRUE, 0);
    return container;
}

GtkWidget* QV_Frame3DGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    if (!CanCreate(number))
        return nullptr;
    GtkWidget* const frame = gtk_frame_new(text);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
    return PlaceGadget(frame, number, QV_GadgetFrame, x, y, width, height);
}

GtkWidget* QV_Frame3DGadget2(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    return QV_Frame3DGadget(number, x, y, width, height, text);
}

GtkWidget* QV_OptionGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    if (!CanCreate(number))
        return nullptr;
    GSList* const group = QV_Gadget.optionGroupButton
        ? gtk_radio_button_get_group(GTK_RADIO_BUTTON(QV_Gadget.optionGroupButton))
        : nullptr;
    GtkWidget* const option = PlaceGadget(gtk_radio_button_new_with_label(group, text ? text : ""), number,
                                          QV_GadgetOption, x, y, width, height);
    if (option)
        QV_Gadget.optionGroupButton = option;
    return option;
}

GtkWidget* QV_CheckBoxGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    return QV_CheckBoxGadget2(number, x, y, width, height, text, 0);
}

GtkWidget* QV_CheckBoxGadget2(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                              int32_t flags)
{
    if (!CanCreate(number))
        return nullptr;
    GtkWidget* const box = gtk_check_button_new_with_label(text ? text : "");
    AlignLabel(box, flags, QV_CheckBoxAlignCenter, 0.5f);
    return PlaceGadget(box, number, QV_GadgetCheckBox, x, y, width, height);
}

GtkWidget* QV_ButtonGadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text)
{
    return QV_ButtonGadget2(number, x, y, width, height, text, 0);
}

GtkWidget* QV_ButtonGadget2(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                            int32_t flags)
{
    if (!CanCreate(number))
        return nullptr;
    const char* const label = text ? text : "";
    GtkWidget* const button =
        (flags & QV_ButtonToggle) ? gtk_toggle_button_new_with_label(label) : gtk_button_new_with_label(label);
    AlignLabel(button, flags, QV_ButtonAlignLeft, 0.0f);
    return PlaceGadget(button, number, QV_GadgetButton, x, y, width, height);
}

void QV_SetGadgetState(int32_t number, int32_t state)
{
    // Options, check boxes and toggle buttons are all toggle buttons; frames
    // and plain buttons have no state.
    GtkWidget* const widget = GadgetWidget(number);
    if (widget && GTK_IS_TOGGLE_BUTTON(widget))
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), state != 0);
}

int32_t QV_GetGadgetState(int32_t number)
{
    GtkWidget* const widget = GadgetWidget(number);
    return widget && GTK_IS_TOGGLE_BUTTON(widget) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
}

void QV_DisableGadget(int32_t number, int32_t state)
{
    if (GtkWidget* widget = GadgetWidget(number))
        gtk_widget_set_sensitive(widget, state == 0);
}

int32_t QV_ActivateGadget(int32_t number)
{
    GtkWidget* const widget = GadgetWidget(number);
    if (!widget)
        return 1;
    gtk_widget_grab_focus(widget);
    // GTK 3 hides the focus until a key is pressed; a program that puts it
    // on a gadget wants it seen, so that Return visibly has a target.
    if (GtkWidget* top = gtk_widget_get_toplevel(widget); GTK_IS_WINDOW(top))
        gtk_window_set_focus_visible(GTK_WINDOW(top), TRUE);
    return 1;
}

int32_t QV_GadgetX(int32_t number)
{
    QV_GadgetBox box;
    return QV_GadgetPlacement(GadgetWidget(number), box) ? static_cast<int32_t>(box.x) : 0;
}

int32_t QV_GadgetWidth(int32_t number)
{
    QV_GadgetBox box;
    return QV_GadgetPlacement(GadgetWidget(number), box) ? static_cast<int32_t>(box.width) : 0;
}

void QV_MoveGadget(int32_t number, int32_t x, int32_t y)
{
    GtkWidget* const widget = GadgetWidget(number);
    GtkWidget* const container = widget ? gtk_widget_get_parent(widget) : nullptr;
    if (!container || !GTK_IS_FIXED(container))
        return;
    gtk_fixed_move(GTK_FIXED(container), widget, static_cast<int16_t>(x), static_cast<int16_t>(y));
    QV_FlushToolkitEvents();
}

void QV_Gadget_FlushEvents()
{
    QV_FlushToolkitEvents();
}

int32_t QV_Gadget_GetRootWindowID(GtkWidget* widget)
{
    GtkWidget* const top = widget ? gtk_widget_get_toplevel(widget) : nullptr;
    return top && gtk_widget_is_toplevel(top) ? QV_Window_NumberOf(top) : -1;
}
