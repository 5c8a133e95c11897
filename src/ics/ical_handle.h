// Owning handles for libical's objects, for the iCalendar and sync code alone.
#pragma once

#include <libical/ical.h>

#include <memory>

namespace daybrook {

struct IcalComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using IcalComponent = std::unique_ptr<icalcomponent, IcalComponentFree>;

struct IcalIteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using IcalIterator = std::unique_ptr<icalrecur_iterator, IcalIteratorFree>;

struct IcalBufferFree {
    void operator()(char* buffer) const { icalmemory_free_buffer(buffer); }
};
using IcalBuffer = std::unique_ptr<char, IcalBufferFree>;

}  // namespace daybrook
