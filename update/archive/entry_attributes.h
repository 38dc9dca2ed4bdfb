#pragma once
// Windows file attributes of an entry, from its external attributes and the
// host that made it (the high byte of "version made by").
#include <cstdint>

uint32_t EntryAttributes(uint32_t versionMadeBy, uint32_t externalAttributes);
