#include "resources/Resources.h"

#include <QtGlobal>
#include <mutex>

// The registration function rcc generates lives in the global namespace, so
// the macro must be used outside quenby.
static void RegisterQuenbyResources() {
    Q_INIT_RESOURCE(quenby_resources);
}

namespace quenby {

void InitResources() {
    static std::once_flag once;
    std::call_once(once, RegisterQuenbyResources);
}

} // namespace quenby
