#pragma once

#include "model/IEventEditor.h"

#include <QDialog>
#include <QPixmap>
#include <QString>

#include <optional>
#include <string>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace tilava {

class Clock;
class Notifier;
class PictureButton;

// The event editor: a small modal tool window in which the user writes one entry of a day, a
// birthday (name and year of birth), an anniversary (description and year of origin) or a
// plain note. The kind is chosen by clicking its painted label or its text field. It changes
// the entry it is given in place and never touches files.
//
// The controls are children named as in the designer (txtNar, txtNarRok, updNar, shpVyrocie,
// imgOk, ...), so tests find them by name.
class TfrmUdalost final : public QDialog, public IEventEditor {
    Q_OBJECT
public:
    static constexpr int Width = 369; // client area
    static constexpr int Height = 188;
    static constexpr int StartYear = 1980; // the year boxes' first value and arrow position

    // `clock` gives the current year (the arrows' maximum); `notifier` beeps and shows
    // messages. Both must outlive the window.
    TfrmUdalost(const Clock& clock, Notifier& notifier, QWidget* parent = nullptr);
    ~TfrmUdalost() override;

    void SetExisting(bool existing) override { Existujuca = existing; }
    // Shows the window modally for `note`; `rok` is the year of the shown week, which a
    // plain note takes. True when the user confirmed; the entry is changed only then.
    bool Uprav(TNote& note, int rok) override;

    // Checks the fields of the selected kind and, when they are sound, writes them into the
    // entry. A text longer than a text field holds (from an import or a hand edit) is shown
    // cut, cannot be changed here and is kept whole; the user is told so when the window opens.
    // An empty year box stores year 0, a year not known. False (the window stays open, the
    // entry unchanged) after a beep for an empty new entry, or after a message for a year that
    // is not a number or lies after the current year, or a text that a day file cannot hold.
    bool Potvrd();

    // An existing entry is edited: an empty text is accepted.
    bool Existujuca = false;
    bool Prijate() const { return accepted_; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void SetAccessibility();
    QLineEdit* KindText(EntryKind kind) const;
    QLineEdit* YearOfKind(EntryKind kind) const;
    QRadioButton* KindChoice(EntryKind kind) const;
    EntryKind PickedKind() const;
    // Selects the kind: a kind that was not selected takes the focus to its text field; the
    // text fields of the two other kinds are emptied.
    void PickKind(EntryKind kind);
    // The same from the keyboard: the focus goes on to the kind's text field also when the
    // kind was selected already.
    void PickKindByKeyboard(EntryKind kind);
    void ClearOthers(EntryKind kind);
    void Step(QLineEdit* rok, int o, int minimum, int maximum);
    void ConfirmAndClose();
    // The pointer is over the background or a kind's label: both buttons go out, and from
    // now on a move over one of them lights it.
    void PointerOverBackground();
    // The pointer is over `button`, `other` is the second button.
    void PointerOverButton(PictureButton* button, PictureButton* other);

    const Clock& clock_;
    Notifier& notifier_;
    TNote* note_ = nullptr;
    int year_ = 0;
    bool accepted_ = false;
    // The entry's whole text when the text fields cannot hold it, and the part they show.
    std::optional<std::string> longText_;
    // A year from a day file that the four-digit box cannot show; kept unless the box is edited.
    std::optional<int> yearKept_;
    QString longTextShown_;
    // The buttons light only once the pointer has been over the background: a window that
    // opens under the pointer shows both unlit.
    bool buttonsAwake_ = false;
    int maxBirthYear_ = 0; // the arrows' range; the maxima are the current year when shown
    int maxAnniversaryYear_ = 0;
    static constexpr int MinBirthYear = 1900;
    static constexpr int MinAnniversaryYear = 1000;

    QLabel* imgPozadie = nullptr;
    PictureButton* imgOk = nullptr;
    PictureButton* imgStorno = nullptr;
    PictureButton* shpNarodeniny = nullptr;
    PictureButton* shpVyrocie = nullptr;
    PictureButton* shpPoznamka = nullptr;
    QButtonGroup* kinds_ = nullptr;
    QRadioButton* optNar = nullptr;
    QRadioButton* optVyr = nullptr;
    QRadioButton* optPoz = nullptr;
    QLineEdit* txtNar = nullptr;
    QLineEdit* txtNarRok = nullptr;
    QWidget* updNar = nullptr;
    QLineEdit* txtVyr = nullptr;
    QLineEdit* txtVyrRok = nullptr;
    QWidget* updVyr = nullptr;
    QLineEdit* txtPoz = nullptr;
};

} // namespace tilava
