#include "runtime/gui/requester.h"

#include "runtime/gui/toolkit.h"

#include <gtk/gtk.h>

QV_RequesterState QV_Requester;

namespace {

constexpr int LabelPadding = 10;
constexpr int DialogHeight = 50;

struct Button {
    const char* label;
    int32_t code;
};

struct ButtonRow {
    Button buttons[3];
    int count;
    int width;
};

const ButtonRow& RowFor(int32_t flags)
{
    static constexpr ButtonRow yesNo{{{"Yes", QV_RequesterYes}, {"No", QV_RequesterNo}}, 2, 250};
    static constexpr ButtonRow yesNoCancel{
        {{"Yes", QV_RequesterYes}, {"No", QV_RequesterNo}, {"Cancel", QV_RequesterCancel}}, 3, 300};
    static constexpr ButtonRow ok{{{"Ok", QV_RequesterOk}}, 1, 100};
    if (flags & QV_RequesterYesNo)
        return yesNo;
    if (flags & QV_RequesterYesNoCancel)
        return yesNoCancel;
    return ok;
}

void OnDestroy(GtkWidget*, gpointer)
{
    QV_Requester.state = -1;
}

void OnResponse(GtkDialog* dialog, gint response, gpointer)
{
    // Closing the box (window manager or Escape) answers nothing.
    if (response == GTK_RESPONSE_DELETE_EVENT) {
        gtk_widget_destroy(GTK_WIDGET(dialog));
        return;
    }
    QV_Requester.result = response;
    QV_Requester.state = 0;
}

// The label's padding, and the same room around the row of buttons, which
// the dialog would otherwise put flush against the window's edges.
void SetMargins(GtkWidget* widget)
{
    gtk_widget_set_margin_start(widget, LabelPadding);
    gtk_widget_set_margin_end(widget, LabelPadding);
    gtk_widget_set_margin_top(widget, LabelPadding);
    gtk_widget_set_margin_bottom(widget, LabelPadding);
}

GtkWidget* BuildDialog(const char* title, const char* text, const ButtonRow& row)
{
    GtkWidget* const dialog = gtk_dialog_new();
    gtk_window_set_title(GTK_WINDOW(dialog), title ? title : "");
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    g_signal_connect(dialog, "destroy", G_CALLBACK(OnDestroy), nullptr);
    g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), nullptr);
    GtkWidget* button = nullptr;
    for (int i = 0; i < row.count; ++i)
        button = gtk_dialog_add_button(GTK_DIALOG(dialog), row.buttons[i].label, row.buttons[i].code);
    SetMargins(gtk_widget_get_parent(button));
    gtk_window_set_default_size(GTK_WINDOW(dialog), row.width, DialogHeight);

    GtkWidget* const label = gtk_label_new(text ? text : "");
    SetMargins(label);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), label, TRUE, TRUE, 0);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    return dialog;
}

}  // namespace

int32_t QV_MessageRequester2(const char* title, const char* text, int32_t flags)
{
    if (!QV_StartToolkit())
        return 0;
    GtkWidget* const dialog = BuildDialog(title, text, RowFor(flags));
    gtk_widget_show_all(dialog);

    QV_Requester.state = 1;
    QV_Requester.result = 0;
    while (QV_Requester.state == 1)
        gtk_main_iteration();
    if (QV_Requester.state == 0)
        gtk_widget_destroy(dialog);
    QV_FlushToolkitEvents();
    return QV_Requester.result;
}
