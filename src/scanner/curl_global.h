#pragma once

namespace marvolt {

// libcurl's global state must be set up once, before the first handle exists and before
// threads race to make one; it is never torn down while a handle may still be in use.
// Raises std::runtime_error when libcurl cannot set itself up (a later call tries again).
void EnsureCurlInitialised();

}  // namespace marvolt
