#include "runtime/gui/gadget_layout.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t Right(const QV_GadgetBox& box)
{
    return box.x + box.width;
}

int64_t Bottom(const QV_GadgetBox& box)
{
    return box.y + box.height;
}

// How much of an asked gap growth may not take.
int64_t KeptGap(int64_t askedGap)
{
    return std::clamp<int64_t>(askedGap, 0, QV_GadgetMinimumGap);
}

bool Encloses(const QV_GadgetRequest& outer, const QV_GadgetRequest& inner)
{
    const QV_GadgetBox& a = outer.asked;
    const QV_GadgetBox& b = inner.asked;
    return outer.frame && a.x <= b.x && a.y <= b.y && Right(b) <= Right(a) && Bottom(b) <= Bottom(a);
}

bool SharesRows(const QV_GadgetBox& a, const QV_GadgetBox& b)
{
    return a.y < Bottom(b) && b.y < Bottom(a);
}

bool SharesColumns(const QV_GadgetBox& a, const QV_GadgetBox& b)
{
    return a.x < Right(b) && b.x < Right(a);
}

// Raises `value` to at least `floor`; true when it changed.
bool Raise(int64_t& value, int64_t floor)
{
    if (value >= floor)
        return false;
    value = floor;
    return true;
}

// What `first` growing means for `second`, both as asked; true when
// anything moved or grew.
bool Push(const QV_GadgetRequest& first, QV_GadgetBox& firstBox, const QV_GadgetRequest& second,
          QV_GadgetBox& secondBox)
{
    const QV_GadgetBox& a = first.asked;
    const QV_GadgetBox& b = second.asked;
    if (Encloses(first, second)) {
        bool changed = Raise(secondBox.x, firstBox.x + (b.x - a.x));
        changed |= Raise(secondBox.y, firstBox.y + (b.y - a.y));
        changed |= Raise(firstBox.width, Right(secondBox) + KeptGap(Right(a) - Right(b)) - firstBox.x);
        changed |= Raise(firstBox.height, Bottom(secondBox) + KeptGap(Bottom(a) - Bottom(b)) - firstBox.y);
        return changed;
    }
    if (SharesRows(a, b) && Right(a) <= b.x)
        return Raise(secondBox.x, Right(firstBox) + KeptGap(b.x - Right(a)));
    if (SharesColumns(a, b) && Bottom(a) <= b.y)
        return Raise(secondBox.y, Bottom(firstBox) + KeptGap(b.y - Bottom(a)));
    return false;
}

// Far beyond any desktop's text; it keeps the scaled sizes inside 64 bits.
constexpr double MostTextScale = 16.0;

// How much taller than asked the tallest-growing text is, from 1 up.
double TextScale(const std::vector<QV_GadgetRequest>& gadgets)
{
    double scale = 1.0;
    for (const QV_GadgetRequest& gadget : gadgets) {
        if (gadget.asked.height > 0)
            scale = std::max(scale, double(gadget.neededHeight) / double(gadget.asked.height));
    }
    return std::min(scale, MostTextScale);
}

int64_t Scaled(int64_t value, double scale)
{
    return scale == 1.0 ? value : std::llround(double(value) * scale);
}

QV_GadgetRequest ScaledRequest(QV_GadgetRequest gadget, double scale)
{
    QV_GadgetBox& box = gadget.asked;
    box.y = Scaled(box.y, scale);
    box.height = Scaled(box.height, scale);
    return gadget;
}

QV_GadgetLayout LayOutAsAsked(const std::vector<QV_GadgetRequest>& gadgets, int64_t askedWidth, int64_t askedHeight)
{
    QV_GadgetLayout layout;
    for (const QV_GadgetRequest& gadget : gadgets)
        layout.boxes.push_back({gadget.asked.x, gadget.asked.y, std::max(gadget.asked.width, gadget.neededWidth),
                                std::max(gadget.asked.height, gadget.neededHeight)});

    // Each pass carries growth at least one gadget further along a chain of
    // pushes, so one pass per gadget settles any layout; the bound also ends
    // degenerate ones (empty boxes that are each beside the other).
    bool changed = true;
    for (size_t pass = 0; changed && pass <= gadgets.size(); ++pass) {
        changed = false;
        for (size_t first = 0; first < gadgets.size(); ++first)
            for (size_t second = 0; second < gadgets.size(); ++second)
                if (first != second)
                    changed |= Push(gadgets[first], layout.boxes[first], gadgets[second], layout.boxes[second]);
    }

    for (size_t i = 0; i < gadgets.size(); ++i) {
        const QV_GadgetBox& asked = gadgets[i].asked;
        const QV_GadgetBox& box = layout.boxes[i];
        layout.width = std::max(layout.width, Right(box) + KeptGap(askedWidth - Right(asked)));
        layout.height = std::max(layout.height, Bottom(box) + KeptGap(askedHeight - Bottom(asked)));
    }
    return layout;
}

}  // namespace

QV_GadgetLayout QV_LayOutGadgets(const std::vector<QV_GadgetRequest>& gadgets, int64_t askedWidth, int64_t askedHeight)
{
    const double scale = TextScale(gadgets);
    if (scale == 1.0)
        return LayOutAsAsked(gadgets, askedWidth, askedHeight);
    std::vector<QV_GadgetRequest> scaled;
    for (const QV_GadgetRequest& gadget : gadgets)
        scaled.push_back(ScaledRequest(gadget, scale));
    const int64_t scaledHeight = Scaled(askedHeight, scale);
    QV_GadgetLayout layout = LayOutAsAsked(scaled, askedWidth, scaledHeight);
    // The room below the last row grows with the rows, as the gaps between them do.
    layout.height = std::max(layout.height, scaledHeight);
    return layout;
}
