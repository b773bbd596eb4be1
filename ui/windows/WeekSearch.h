#pragma once

#include <QObject>

#include <array>

class QLabel;
class QLineEdit;

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
class WeekSearch final : public QObject {
public:
    // Makes the controls on `window`, whose client area is `width` pixels wide.
    WeekSearch(QWidget* window, int width);

    QLineEdit* Field() const { return txtFind; }
    PictureButton* EarlierArrow() const { return imgFminus; }
    PictureButton* LaterArrow() const { return imgFplus; }
    // The k-th (1..3) result's button.
    PictureButton* Result(int k) const { return results_.at(static_cast<std::size_t>(k - 1)); }
    bool HasResult(int k) const;
    // The box holds enough characters (three) to search for.
    bool Searchable() const;

    // No results are shown; the arrows stay as they are.
    void ClearResults();
    void HideArrows();
    // The results of `week`, shortened when all three do not fit between the arrows, and the
    // arrows when there are more.
    void ShowResults(const TTyzden& week);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    bool Holds(const QObject* object) const;

    int width_;
    QLineEdit* txtFind = nullptr;
    std::array<PictureButton*, 3> results_{}; // Label1 .. Label3, over their texts
    std::array<QLabel*, 3> resultTexts_{};
    PictureButton* imgFminus = nullptr;
    PictureButton* imgFplus = nullptr;
};

} // namespace tilava
