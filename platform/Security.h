// Whether the user may run the administrators' commands.
#pragma once

namespace Platform {

// True for root and for members of the groups sudo, admin or wheel. LEXORA_ADMIN=1 or 0
// overrides the answer (for tests). Any failure gives False.
bool IsUserAdministrator();

}  // namespace Platform
