#pragma once
// The one place that turns a layout node into an element: the tag picks the
// kind, and each attribute is applied through the rule the kind declares
// for it. Unknown tags and attributes are errors, not silence.
#include "elements/element.h"
#include "skin/resource_table.h"

#include <pugixml.hpp>

#include <memory>
#include <string>

namespace kit {

// Null with the reason (without position) when the node is no valid element.
std::unique_ptr<Element> MakeElement(const pugi::xml_node& node, const ResourceTable& resources,
                                     std::wstring& error);

}  // namespace kit
