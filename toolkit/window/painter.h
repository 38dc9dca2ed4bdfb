#pragma once
// Paints what a window shows into its back buffer, only inside the area that
// changed, and copies that area to the screen in one go.
#include "graphics/canvas.h"

namespace kit {

class Element;
class Window;

class Painter {
public:
    void Paint(Window& window, HDC target, const RECT& dirty);
    const Canvas& Buffer() const { return m_canvas; }

private:
    void PaintElement(Window& window, const Element& element, const RECT& clip);

    Canvas m_canvas;
};

}  // namespace kit
