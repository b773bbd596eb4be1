#pragma once

#include <QObject>
#include <QPixmap>

#include <array>

class QLabel;
class QLineEdit;
class QWidget;

namespace tilava {

class PictureButton;
class TTyzden;

// The name search of the week window: the box txtFind, up to three results Label1 .. Label3
// spread evenly over the window's width below it, and the arrows imgFminus and imgFplus at its
// edges, shown while there are more results than three. A result is a painted label
// (Label<k>Text) with an invisible button over it, which takes its clicks and the focus and is
// the result for assistive technology.
//
// Leaving the search (the box, a result or an arrow) for another control of the window clears
// the box and hides the arrows; leaving it for a message or a menu does not.
//
// What the search found is said in the results row: a query too short to search, or one that
// nothing in the calendar holds (lblHladanie). The arrows are dimmed and out of use at the ends
// of the results. Assistive technology is told each outcome as the search box's description,
// which screen readers read out for the focused box.
class WeekSearch final : public QObject {
public:
    // Makes the controls on `window`, whose client area is `width` pixels wide and painted
    // with `background`.
    WeekSearch(QWidget* window, int width, const QPixmap& background);

    QLineEdit* Field() const { return txtFind; }
    PictureButton* EarlierArrow() const { return imgFminus; }
    PictureButton* LaterArrow() const { return imgFplus; }
    // The k-th (1..3) result's button.
    PictureButton* Result(int k) const { return results_.at(static_cast<std::size_t>(k - 1)); }
    bool HasResult(int k) const;
    // The box holds enough characters (three) to search for.
    bool Searchable() const;

    // No results are shown; the arrows and what the last search said stay as they are.
    void ClearResults();
    void HideArrows();
    // Says why nothing was searched: nothing when the box is empty, else that three letters
    // are needed.
    void ShowTooShort();
    // The results of `week`, shortened when all three do not fit between the arrows, and the
    // arrows when there are more; or that nothing was found.
    void ShowResults(const TTyzden& week);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    bool Holds(const QObject* object) const;
    // Shows `note` in the results row (nothing when empty) and tells `told` to assistive
    // technology.
    void Say(const QString& note, const QString& told);
    // The arrow in use or dimmed; a focused arrow that goes out of use hands the focus to
    // `heir`, so that the search keeps it.
    void SetArrowUsable(PictureButton* arrow, bool usable, QWidget* heir);

    int width_;
    QLineEdit* txtFind = nullptr;
    std::array<PictureButton*, 3> results_{}; // Label1 .. Label3, over their texts
    std::array<QLabel*, 3> resultTexts_{};
    QLabel* lblHladanie = nullptr; // what the search says instead of results
    PictureButton* imgFminus = nullptr;
    PictureButton* imgFplus = nullptr;
    std::array<QPixmap, 2> arrowPictures_; // imgFminus, imgFplus in use
    std::array<QPixmap, 2> dimmedArrows_;  // and out of use
};

} // namespace tilava
