#include "runtime/gui/gadget_container.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <climits>

namespace {

struct QvGadgetContainer {
    GtkFixed parent;
    int32_t askedWidth;
    int32_t askedHeight;
};

struct QvGadgetContainerClass {
    GtkFixedClass parentClass;
};

G_DEFINE_TYPE(QvGadgetContainer, qv_gadget_container, GTK_TYPE_FIXED)

bool IsGadgetContainer(GtkWidget* widget)
{
    return widget && G_TYPE_CHECK_INSTANCE_TYPE(widget, qv_gadget_container_get_type());
}

int ToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

QV_GadgetRequest Request(GtkWidget* container, GtkWidget* gadget)
{
    gint x = 0;
    gint y = 0;
    gtk_container_child_get(GTK_CONTAINER(container), gadget, "x", &x, "y", &y, nullptr);
    gint width = 0;
    gint height = 0;
    gtk_widget_get_size_request(gadget, &width, &height);
    GtkRequisition natural;
    gtk_widget_get_preferred_size(gadget, nullptr, &natural);
    return {
        {x, y, std::max(width, 0), std::max(height, 0)}, natural.width, natural.height, GTK_IS_FRAME(gadget) != FALSE};
}

// The shown gadgets of a container and what each asks for, in the order
// they were put in.
struct Gadgets {
    std::vector<GtkWidget*> widgets;
    std::vector<QV_GadgetRequest> requests;
};

Gadgets ShownGadgets(GtkWidget* container)
{
    Gadgets gadgets;
    GList* const children = gtk_container_get_children(GTK_CONTAINER(container));
    for (GList* item = children; item; item = item->next) {
        GtkWidget* const gadget = GTK_WIDGET(item->data);
        if (!gtk_widget_get_visible(gadget))
            continue;
        gadgets.widgets.push_back(gadget);
        gadgets.requests.push_back(Request(container, gadget));
    }
    g_list_free(children);
    return gadgets;
}

QV_GadgetLayout LayOut(GtkWidget* container, const Gadgets& gadgets)
{
    const auto* self = reinterpret_cast<QvGadgetContainer*>(container);
    return QV_LayOutGadgets(gadgets.requests, self->askedWidth, self->askedHeight);
}

void MeasureWidth(GtkWidget* container, gint* minimum, gint* natural)
{
    *minimum = *natural = ToInt(LayOut(container, ShownGadgets(container)).width);
}

void MeasureHeight(GtkWidget* container, gint* minimum, gint* natural)
{
    *minimum = *natural = ToInt(LayOut(container, ShownGadgets(container)).height);
}

void Allocate(GtkWidget* container, GtkAllocation* allocation)
{
    gtk_widget_set_allocation(container, allocation);
    const Gadgets gadgets = ShownGadgets(container);
    const QV_GadgetLayout layout = LayOut(container, gadgets);
    GtkAllocation clip = *allocation;
    for (size_t i = 0; i < gadgets.widgets.size(); ++i) {
        const QV_GadgetBox& box = layout.boxes[i];
        GtkAllocation place = {ToInt(allocation->x + box.x), ToInt(allocation->y + box.y), ToInt(box.width),
                               ToInt(box.height)};
        gtk_widget_size_allocate(gadgets.widgets[i], &place);
        // Shadows and focus rings may draw beyond a gadget's box.
        GtkAllocation drawn;
        gtk_widget_get_clip(gadgets.widgets[i], &drawn);
        gdk_rectangle_union(&clip, &drawn, &clip);
    }
    gtk_widget_set_clip(container, &clip);
}

void qv_gadget_container_class_init(QvGadgetContainerClass* containerClass)
{
    GtkWidgetClass* const widgetClass = GTK_WIDGET_CLASS(containerClass);
    widgetClass->get_preferred_width = MeasureWidth;
    widgetClass->get_preferred_height = MeasureHeight;
    widgetClass->size_allocate = Allocate;
}

void qv_gadget_container_init(QvGadgetContainer*) {}

}  // namespace

GtkWidget* QV_NewGadgetContainer(int32_t askedWidth, int32_t askedHeight)
{
    auto* const container = static_cast<QvGadgetContainer*>(g_object_new(qv_gadget_container_get_type(), nullptr));
    container->askedWidth = askedWidth;
    container->askedHeight = askedHeight;
    return GTK_WIDGET(container);
}

bool QV_GadgetPlacement(GtkWidget* gadget, QV_GadgetBox& box)
{
    GtkWidget* const container = gadget ? gtk_widget_get_parent(gadget) : nullptr;
    if (!IsGadgetContainer(container))
        return false;
    const Gadgets gadgets = ShownGadgets(container);
    const auto found = std::find(gadgets.widgets.begin(), gadgets.widgets.end(), gadget);
    if (found == gadgets.widgets.end())
        return false;
    box = LayOut(container, gadgets).boxes[static_cast<size_t>(found - gadgets.widgets.begin())];
    return true;
}
