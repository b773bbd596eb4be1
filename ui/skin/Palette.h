#pragma once

#include <QColor>

// The skin's colours, shared by the windows, the tray icon's picture and the picture painter
// (tools/): one name per colour, so a colour that is meant to be the same is the same.
namespace tilava::palette {

// The skin's own: sky blue of the widget and settings backgrounds, navy, white, holiday red and
// the green of birthdays, with their lighter and darker steps.
inline const QColor kSky{0xA6, 0xCA, 0xF0};
inline const QColor kSkyLight{0xD3, 0xE6, 0xFA};
inline const QColor kSkyPale{0xEE, 0xF5, 0xFD};
inline const QColor kBlue{0x2C, 0x6B, 0xC0};
inline const QColor kBlueLight{0x4C, 0x8D, 0xDB};
inline const QColor kNavy{0x15, 0x30, 0x6A};
inline const QColor kNavyDark{0x0E, 0x22, 0x4E};
inline const QColor kRed{0xD4, 0x2A, 0x37};
inline const QColor kGreen{0x2E, 0x9B, 0x5A};
inline const QColor kInk{0x1A, 0x24, 0x33};
inline const QColor kMuted{0x5C, 0x73, 0x91};
inline const QColor kLine{0xC9, 0xDA, 0xEE};
inline const QColor kWhite{0xFF, 0xFF, 0xFF};
// The bar of the days the program did not run, and of a day file that cannot be read.
inline const QColor kPurple{0x6A, 0x4C, 0x9C};
inline const QColor kSlate{0x5A, 0x62, 0x6E};
// A field that is off: its background and its text.
inline const QColor kGreyField{0xE4, 0xE6, 0xE9};
inline const QColor kGreyText{0x8E, 0x99, 0xA8};
// The settings window's language buttons.
inline const QColor kButtonNavy{0x1F, 0x3C, 0x88};

// The week window keeps the classic colours of its texts and lists: a paler sky behind the
// lists, navy and pure red for the day numbers and names, and the selected day's blue.
inline const QColor kWeekSky{0xD8, 0xE8, 0xF9};
inline const QColor kWeekNavy{0x00, 0x00, 0x80};
inline const QColor kWeekRed{0xFF, 0x00, 0x00};
inline const QColor kWeekSelection{0x76, 0xC1, 0xFA};

} // namespace tilava::palette
