#pragma once

#include <functional>
#include <memory>

namespace tilava {

class TTyzden;

// The week window as the week model sees it: the window implements it, a test stands in for
// it. One window serves one showing of the model and is freed right after.
class IWeekWindow {
public:
    virtual ~IWeekWindow() = default;

    // Shows the week of `week` modally and returns when the user has closed the window
    // (which saves the seven days).
    virtual void Ukaz(TTyzden& week) = 0;
};

// Creates the window for one showing (owned by the window that opens the calendar).
using WeekWindowFactory = std::function<std::unique_ptr<IWeekWindow>()>;

} // namespace tilava
