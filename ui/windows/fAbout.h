#pragma once

#include "ui/controls/SkinControls.h"
#include <QDialog>
#include <QPixmap>

#include <QPoint>

#include <array>
#include <filesystem>

class QLabel;

namespace tilava {

class Notifier;
class PictureButton;
class PageOpener;

// The about window: a borderless picture window presenting the program and its maker, with
// links to the maker's home page and six other programs, a help button and a close button.
// Dragged by its top strip; Escape closes it, F1 opens the help.
//
// The controls are children named as in the designer (imgOPrograme, imgZatvorit, imgNapoveda,
// Image1, imgOdkaz1 .. imgOdkaz6, imgZelm, Image2), so tests find them by name.
class TfrmAbout final : public QDialog {
    Q_OBJECT
public:
    static constexpr int Width = 640; // client area
    static constexpr int Height = 377;
    // The main widget opens the window this far left of its own left edge.
    static constexpr int OffsetFromWidget = 470;

    // `folder` is the notes folder (for the help window); `notifier` shows messages, `web`
    // opens pages. All must outlive the window.
    TfrmAbout(std::filesystem::path folder, Notifier& notifier, PageOpener& web,
              QWidget* parent = nullptr);
    ~TfrmAbout() override;

    // Places the window at (left, top), kept whole on the screen that holds that place or,
    // with an owner, the owner's screen, and shows it modally; returns when it closes.
    int Ukaz(int top, int left);

    // The help window, owned by this one, shown modally.
    void imgNapovedaClick();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OpenPage(const QString& address);

    std::filesystem::path folder_;
    Notifier& notifier_;
    PageOpener& web_;

    QLabel* imgOPrograme = nullptr;
    PictureButton* imgZatvorit = nullptr;
    PictureButton* Image1 = nullptr;
    PictureButton* imgNapoveda = nullptr;
    std::array<PictureButton*, 6> imgOdkaz{};
    PictureButton* imgZelm = nullptr;
    QWidget* Image2 = nullptr;
};

} // namespace tilava
