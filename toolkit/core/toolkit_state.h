#pragma once
// What the toolkit holds for the whole process: handles, resources, ID
// numbers, fonts, windows, and the rule that nothing is deleted while a
// message or an event is being handled (a handler may close its own window).
#include "core/handle_table.h"
#include "graphics/font_cache.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kit {

class ResourceTable;
class Window;

class Toolkit {
public:
    static Toolkit& Get();

    HandleTable& Handles() { return m_handles; }
    FontCache& Fonts() { return m_fonts; }

    const ResourceTable& Resources() const { return *m_resources; }
    void SetResources(std::shared_ptr<ResourceTable> resources);

    // ID numbers: resource.xml's first, then those given to undeclared names.
    int IdValue(const std::wstring& name) const;
    int AssignId(const std::wstring& name);

    void AddWindow(std::unique_ptr<Window> window);
    void Retire(Window* window);  // its native window is gone
    std::vector<Window*> LiveWindows() const;

    void Enter() { ++m_busy; }
    void Leave();

    void SetLastLoadError(const std::wstring& error) { m_lastLoadError = error; }
    const std::wstring& LastLoadError() const { return m_lastLoadError; }

    bool Start();    // COM on this thread
    void Shutdown(); // every window closed, every resource freed

private:
    Toolkit();
    void Flush();

    HandleTable m_handles;
    FontCache m_fonts;
    std::shared_ptr<ResourceTable> m_resources;
    std::map<std::wstring, int> m_assignedIds;
    int m_nextAssignedId = 100000;
    std::vector<std::unique_ptr<Window>> m_windows;
    std::vector<std::unique_ptr<Window>> m_retired;
    int m_busy = 0;
    bool m_comStarted = false;
    std::wstring m_lastLoadError;
};

// Marks a stretch of work during which no window object may be deleted.
class BusyScope {
public:
    BusyScope() { Toolkit::Get().Enter(); }
    ~BusyScope() { Toolkit::Get().Leave(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace kit
