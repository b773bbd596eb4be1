#pragma once

#include "store/uPoznamky.h"

#include <functional>
#include <memory>

namespace tilava {

// The event editor as the week model sees it: the window implements it, a test stands in
// for it. One editor serves one edit and is freed right after.
class IEventEditor {
public:
    virtual ~IEventEditor() = default;

    // True when an existing entry is edited (its text may then be emptied), false for a
    // new one. Set before Uprav.
    virtual void SetExisting(bool existing) = 0;

    // Lets the user edit the entry in place; `rok` is the year of the shown week, which a
    // plain note takes. True when the user confirmed; the entry is unchanged otherwise.
    virtual bool Uprav(TNote& note, int rok) = 0;
};

// Creates the editor for one edit (the week window makes it its own child).
using EventEditorFactory = std::function<std::unique_ptr<IEventEditor>()>;

} // namespace tilava
