#pragma once

#include "ControlSupport.h"
#include "ModalSupport.h"

#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace tilava::test {

// In the week window: a click into Wednesday's list (`at`, below its entries) opens the editor,
// where "Ľubica" is typed and confirmed as a birthday of 1980; the window stays open.
inline void AddBirthdayInWeek(TfrmTyzden& week, bool& editorSeen, QPoint at = {20, 20}) {
    WhenActive<TfrmUdalost>(
        [](TfrmUdalost& e) {
            TypeText(e.findChild<QLineEdit*>(QStringLiteral("txtNar")), QStringLiteral("Ľubica"));
            QTest::keyClick(e.focusWidget(), Qt::Key_Return);
            QTest::keyClick(e.focusWidget(), Qt::Key_Return);
        },
        &editorSeen);
    QTest::mouseClick(week.DayList(3)->viewport(), Qt::LeftButton, {}, at);
}

} // namespace tilava::test
