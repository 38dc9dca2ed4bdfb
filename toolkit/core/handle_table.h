#pragma once
// Opaque handles: a handle is a serial number, never a pointer, so a stale or
// made-up handle finds nothing instead of touching freed memory.
#include "toolkit/xcgui.h"

#include <cstdint>
#include <unordered_map>

namespace kit {

class Element;
class Window;

class HandleTable {
public:
    HXCGUI Add(Window* window);
    HXCGUI Add(Element* element);
    void Remove(HXCGUI handle);
    Window* FindWindow(HXCGUI handle) const;
    Element* FindElement(HXCGUI handle) const;
    size_t WindowCount() const { return m_windowCount; }

private:
    struct Entry {
        Window* window;
        Element* element;
    };
    HXCGUI Insert(const Entry& entry);

    std::unordered_map<std::uintptr_t, Entry> m_entries;
    std::uintptr_t m_nextSerial = 1;
    size_t m_windowCount = 0;
};

}  // namespace kit
