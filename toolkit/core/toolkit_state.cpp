#include "core/toolkit_state.h"

#include "skin/resource_table.h"
#include "window/window.h"

#include <objbase.h>

#include <algorithm>

namespace kit {

Toolkit& Toolkit::Get()
{
    static Toolkit toolkit;
    return toolkit;
}

Toolkit::Toolkit() : m_resources(std::make_shared<ResourceTable>()) {}

void Toolkit::SetResources(std::shared_ptr<ResourceTable> resources)
{
    m_resources = std::move(resources);
}

int Toolkit::IdValue(const std::wstring& name) const
{
    if (name.empty())
        return 0;
    const int declared = m_resources->IdValue(name);
    if (declared != 0)
        return declared;
    auto it = m_assignedIds.find(name);
    return it == m_assignedIds.end() ? 0 : it->second;
}

int Toolkit::AssignId(const std::wstring& name)
{
    const int known = IdValue(name);
    if (known != 0)
        return known;
    while (m_resources->HasIdValue(m_nextAssignedId))
        ++m_nextAssignedId;
    m_assignedIds[name] = m_nextAssignedId;
    return m_nextAssignedId++;
}

void Toolkit::AddWindow(std::unique_ptr<Window> window) { m_windows.push_back(std::move(window)); }

void Toolkit::Retire(Window* window)
{
    auto it = std::find_if(m_windows.begin(), m_windows.end(),
                           [window](const std::unique_ptr<Window>& w) { return w.get() == window; });
    if (it == m_windows.end())
        return;
    m_retired.push_back(std::move(*it));
    m_windows.erase(it);
    if (m_busy == 0)
        Flush();
}

std::vector<Window*> Toolkit::LiveWindows() const
{
    std::vector<Window*> live;
    for (const auto& window : m_windows)
        live.push_back(window.get());
    return live;
}

void Toolkit::Leave()
{
    if (--m_busy == 0)
        Flush();
}

void Toolkit::Flush()
{
    // Deleting a window releases its binders, whose destructors are the
    // programs' code: keep them from flushing again underneath.
    ++m_busy;
    std::vector<std::unique_ptr<Window>> retired;
    retired.swap(m_retired);
    retired.clear();
    --m_busy;
}

bool Toolkit::Start()
{
    if (!m_comStarted) {
        const HRESULT hr = CoInitialize(nullptr);
        m_comStarted = SUCCEEDED(hr);  // S_FALSE too: balanced by CoUninitialize
    }
    return true;
}

void Toolkit::Shutdown()
{
    {
        BusyScope busy;
        for (Window* window : LiveWindows())
            window->Destroy();
    }
    m_fonts.Clear();
    m_resources = std::make_shared<ResourceTable>();
    m_assignedIds.clear();
    m_nextAssignedId = 100000;
    if (m_comStarted) {
        CoUninitialize();
        m_comStarted = false;
    }
}

}  // namespace kit
