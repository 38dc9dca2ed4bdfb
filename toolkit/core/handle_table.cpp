#include "core/handle_table.h"

namespace kit {

namespace {
// Handles keep clear of small integers and of word-aligned pointer values.
constexpr std::uintptr_t kHandleBase = 0x5C000001;
constexpr std::uintptr_t kHandleStep = 2;

std::uintptr_t Key(HXCGUI handle) { return reinterpret_cast<std::uintptr_t>(handle); }
}  // namespace

HXCGUI HandleTable::Insert(const Entry& entry)
{
    const std::uintptr_t key = kHandleBase + kHandleStep * m_nextSerial++;
    m_entries.emplace(key, entry);
    return reinterpret_cast<HXCGUI>(key);
}

HXCGUI HandleTable::Add(Window* window)
{
    ++m_windowCount;
    return Insert({window, nullptr});
}

HXCGUI HandleTable::Add(Element* element) { return Insert({nullptr, element}); }

void HandleTable::Remove(HXCGUI handle)
{
    auto it = m_entries.find(Key(handle));
    if (it == m_entries.end())
        return;
    if (it->second.window != nullptr)
        --m_windowCount;
    m_entries.erase(it);
}

Window* HandleTable::FindWindow(HXCGUI handle) const
{
    auto it = m_entries.find(Key(handle));
    return it == m_entries.end() ? nullptr : it->second.window;
}

Element* HandleTable::FindElement(HXCGUI handle) const
{
    auto it = m_entries.find(Key(handle));
    return it == m_entries.end() ? nullptr : it->second.element;
}

}  // namespace kit
