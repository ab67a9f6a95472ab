// A piece of the platform layer calling up into the users layer, as an upward include would
// let it. Only the layer test builds it, and expects its link to fail.
#include "users/DniValidator.h"

namespace velmora {

QColor upwardCallProbe() {
    return dniValidColor();
}

} // namespace velmora
