#pragma once

namespace velmora {

// Prepares a process that renders documents but shows no window (tools, tests): the
// offscreen platform unless another was chosen, and a private runtime folder where the
// desktop session provides none, so Qt starts quietly. Call before creating the application.
void prepareHeadlessEnvironment();

} // namespace velmora
