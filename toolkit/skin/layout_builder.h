#pragma once
// Reads a layout file: one <window> and its element tree.
#include "window/window.h"

#include <memory>
#include <string>

namespace kit {

class ResourceTable;

// The window, not yet created on screen; null with "file:line:column: reason".
std::unique_ptr<Window> BuildWindow(const std::wstring& layoutFile, const ResourceTable& resources,
                                    std::wstring& error);

}  // namespace kit
