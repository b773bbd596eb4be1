#pragma once

#include <QFont>

class QLabel;
class QListWidget;
class QWidget;

namespace tilava {

class PictureButton;
class TLabelScroll;
class TTyzden;

// One day of the week window: the day of the month in large digits, the weekday, up to two
// calendar entries and the list of the user's entries, over the invisible day area whose click
// selects the day. The controls of row i are named lblDen<i>, lblDenTyzdna<i>, lblPrvy<i>,
// lblDruhy<i> and lstDen<i>; the list carries its row as the property "tag".
class WeekDayRow {
public:
    // Makes the controls of row `i` (Monday is 1) on `window`, over the day area `area`, with
    // the day of the month in `digits`.
    WeekDayRow(QWidget* window, int i, const QFont& digits, PictureButton* area);

    // One size of day digits for every row: the widest two digits fit the 48-pixel box.
    static QFont DigitsFont();

    QListWidget* List() const { return list_; }

    // The day of `week`: its digits, entries, colour, its names for assistive technology and
    // its list.
    void ShowDay(const TTyzden& week);
    // The day's list, one row per entry.
    void ShowLines(const TTyzden& week);
    // White for a day the user can change; grey, with the reason as its hint, for a day whose
    // file could not be read whole. With no week shown yet the list is white.
    void SetLook(const TTyzden* week);

private:
    int day_;
    PictureButton* area_;
    QLabel* date_ = nullptr;    // day of the month
    QLabel* weekday_ = nullptr; // weekday
    TLabelScroll* first_ = nullptr;
    QLabel* second_ = nullptr;
    QListWidget* list_ = nullptr;
};

} // namespace tilava
