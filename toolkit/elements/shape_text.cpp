#include "elements/shape_text.h"

#include <oleacc.h>

namespace kit {

long ShapeText::AccRole() const { return ROLE_SYSTEM_STATICTEXT; }

}  // namespace kit
