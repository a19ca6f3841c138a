// A container rebuilt in place: each node its result keeps or copies is placed again, in order,
// and what nobody placed goes.
#pragma once

#include <pugixml.hpp>

#include <cstring>

#include "redline/io/Elements.h"
#include "redline/write/Writer.h"

namespace redline {

// Which nodes of a container were placed again; what was not goes at the end. Each node placed
// goes after the container's old children, so those still ahead of the first one placed are the
// ones nobody placed.
class Rebuild {
  public:
    explicit Rebuild(pugi::xml_node container) : container_(container) {}
    pugi::xml_node keep(pugi::xml_node node) {
        container_.append_move(node);
        if (!first_) first_ = node;
        return node;
    }
    pugi::xml_node copy(pugi::xml_node node, CarryOver& carry) {
        pugi::xml_node copied = container_.append_copy(node);
        if (!first_) first_ = copied;
        carry.carry(copied);
        return copied;
    }
    // Lets go of `node`, an old child that nothing places again (a paragraph merged anew) at
    // once: a long story's old paragraphs would otherwise all stand beside their merges.
    void drop(pugi::xml_node node) { container_.remove_child(node); }
    void finish() {
        pugi::xml_node next;
        for (pugi::xml_node node = container_.first_child(); node && node != first_; node = next) {
            next = node.next_sibling();
            // A cell's or a control's own properties stay first, where they are.
            if (KindOf(node) != ElementKind::Properties) container_.remove_child(node);
        }
    }

  private:
    pugi::xml_node container_;
    pugi::xml_node first_;  // the first node placed
};

}  // namespace redline
