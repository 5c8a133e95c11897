// The whole interface of the iCalendar module (its name is ics_module_symbol); the module's other
// symbols stay hidden, so that they never meet the program's own copies of the core.
#include "sync/ics_module.h"

extern "C" __attribute__((visibility("default")))
const daybrook::IcsModule daybrook_ics_module{&daybrook::import_ics, &daybrook::export_ics,
                                                &daybrook::sync_vdir};
