#include "app/Composition.h"

#include <algorithm>
#include <stdexcept>
#include <string>

const FontDesign& FontFor(FontRole role) {
    return role == FontRole::Button ? kButtonFont : kWindowFont;
}

const ControlDesign& ControlNamed(const WindowDesign& design, std::string_view name) {
    for (const ControlDesign& control : design.controls) {
        if (name == control.name) return control;
    }
    throw std::out_of_range("The window " + std::string(design.name) + " has no control " +
                            std::string(name) + ".");
}

TwipRect PlaceOnWindow(const WindowDesign& design, const ControlDesign& control) {
    TwipRect place = control.place;
    for (const char* parent = control.parent; std::string_view(parent) != design.name;) {
        const ControlDesign& holder = ControlNamed(design, parent);
        place.left += holder.place.left;
        place.top += holder.place.top;
        parent = holder.parent;
    }
    return place;
}

std::vector<const ControlDesign*> TabOrder(const WindowDesign& design) {
    std::vector<const ControlDesign*> order;
    for (const ControlDesign& control : design.controls) {
        if (control.tabIndex >= 0) order.push_back(&control);
    }
    std::sort(order.begin(), order.end(), [](const ControlDesign* a, const ControlDesign* b) {
        return a->tabIndex < b->tabIndex;
    });
    return order;
}
