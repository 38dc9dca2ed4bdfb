#pragma once
// Shape text: a caption painted straight onto its parent.
#include "elements/element.h"

namespace kit {

class ShapeText : public Element {
public:
    ShapeText() : Element(ElementKind::Text) {}
    long AccRole() const override;
};

}  // namespace kit
