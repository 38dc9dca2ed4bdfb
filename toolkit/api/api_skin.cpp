// Skin loading and lookups.
#include "core/toolkit_state.h"
#include "skin/layout_builder.h"
#include "skin/resource_table.h"
#include "toolkit/xcgui.h"

#include <memory>

using kit::Toolkit;

namespace {

std::wstring FolderOf(const std::wstring& file)
{
    const size_t cut = file.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring(L".") : file.substr(0, cut);
}

void ReportLoadError(const std::wstring& error)
{
    Toolkit::Get().SetLastLoadError(error);
    OutputDebugStringW((L"toolkit: " + error + L"\n").c_str());
}

}  // namespace

BOOL XC_LoadResource(const wchar_t* resourceFile, const wchar_t* skinFolder)
{
    if (resourceFile == nullptr) {
        ReportLoadError(L"no resource file given");
        return FALSE;
    }
    const std::wstring file = resourceFile;
    const std::wstring folder = skinFolder != nullptr ? skinFolder : FolderOf(file);
    auto table = std::make_shared<kit::ResourceTable>();
    std::wstring error;
    if (!table->Load(file, folder, error)) {
        ReportLoadError(error);
        return FALSE;
    }
    Toolkit::Get().SetResources(table);
    Toolkit::Get().SetLastLoadError(L"");
    return TRUE;
}

HWINDOW XC_LoadLayout(const wchar_t* layoutFile, HXCGUI)
{
    if (layoutFile == nullptr) {
        ReportLoadError(L"no layout file given");
        return nullptr;
    }
    std::wstring error;
    std::unique_ptr<kit::Window> window =
        kit::BuildWindow(layoutFile, Toolkit::Get().Resources(), error);
    if (!window) {
        ReportLoadError(error);
        return nullptr;
    }
    if (!window->Create()) {
        ReportLoadError(std::wstring(layoutFile) + L": the native window could not be created");
        return nullptr;
    }
    const HWINDOW handle = window->Handle();
    Toolkit::Get().AddWindow(std::move(window));
    Toolkit::Get().SetLastLoadError(L"");
    return handle;
}

int XC_GetResIDValue(const wchar_t* idName)
{
    return idName != nullptr ? Toolkit::Get().IdValue(idName) : 0;
}

HXCGUI XC_GetObjectByID(HWINDOW window, int id)
{
    const kit::Window* w = Toolkit::Get().Handles().FindWindow(window);
    const kit::Element* element = w != nullptr ? w->FindById(id) : nullptr;
    return element != nullptr ? element->Handle() : nullptr;
}

const wchar_t* XC_GetLastLoadError()
{
    return Toolkit::Get().LastLoadError().c_str();
}
