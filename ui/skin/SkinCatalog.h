#pragma once

#include <array>
#include <string_view>

namespace tilava {

// One picture of the skin: the resource ":/skin/<name>.jpg" (and "<name>@2x.jpg", drawn at twice
// the resolution) and its size at 1x in window pixels.
struct SkinPictureInfo {
    std::string_view name;
    int width;
    int height;
};

// Every picture the windows use. tools/skinpainter paints exactly this list, assets/skin.qrc holds
// exactly these files, and the picture tests check both against it.
inline constexpr std::array kSkinPictures{
    // Main widget: header, the event bars (three kinds and the missed days), flags, the four top
    // buttons, tomorrow decoration.
    SkinPictureInfo{"main_header", 170, 85},
    SkinPictureInfo{"main_bar_note", 140, 33},
    SkinPictureInfo{"main_bar_birthday", 140, 33},
    SkinPictureInfo{"main_bar_anniversary", 140, 33},
    SkinPictureInfo{"main_bar_missed", 140, 33},
    SkinPictureInfo{"main_flag_sk", 26, 17},
    SkinPictureInfo{"main_flag_cz", 26, 17},
    SkinPictureInfo{"main_setup_normal", 18, 16},
    SkinPictureInfo{"main_setup_hover", 18, 16},
    SkinPictureInfo{"main_help_normal", 13, 14},
    SkinPictureInfo{"main_help_hover", 13, 14},
    SkinPictureInfo{"main_min_normal", 13, 14},
    SkinPictureInfo{"main_min_hover", 13, 14},
    SkinPictureInfo{"main_close_normal", 13, 14},
    SkinPictureInfo{"main_close_hover", 13, 14},
    SkinPictureInfo{"main_tomorrow", 85, 38},
    // Week window.
    SkinPictureInfo{"week_background", 620, 645},
    SkinPictureInfo{"week_prev", 16, 24},
    SkinPictureInfo{"week_next", 16, 24},
    SkinPictureInfo{"week_results_prev", 13, 22},
    SkinPictureInfo{"week_results_next", 13, 22},
    SkinPictureInfo{"week_today_normal", 40, 25},
    SkinPictureInfo{"week_today_hover", 40, 25},
    SkinPictureInfo{"week_save_normal", 100, 25},
    SkinPictureInfo{"week_save_hover", 100, 25},
    // Event editor.
    SkinPictureInfo{"event_background", 370, 189},
    SkinPictureInfo{"event_ok_normal", 100, 26},
    SkinPictureInfo{"event_ok_hover", 100, 26},
    SkinPictureInfo{"event_cancel_normal", 100, 26},
    SkinPictureInfo{"event_cancel_hover", 100, 26},
    // Settings window.
    SkinPictureInfo{"setup_background", 300, 330},
    SkinPictureInfo{"setup_flag_sk", 42, 29},
    SkinPictureInfo{"setup_flag_sk_pressed", 42, 29},
    SkinPictureInfo{"setup_flag_cz", 42, 29},
    SkinPictureInfo{"setup_flag_cz_pressed", 42, 29},
    SkinPictureInfo{"setup_seconds", 93, 25},
    SkinPictureInfo{"setup_seconds_disabled", 93, 25},
    SkinPictureInfo{"setup_ok_normal", 100, 25},
    SkinPictureInfo{"setup_ok_hover", 100, 25},
    // About window.
    SkinPictureInfo{"about_background", 641, 377},
    SkinPictureInfo{"about_close_normal", 100, 25},
    SkinPictureInfo{"about_close_hover", 100, 25},
    SkinPictureInfo{"about_help_normal", 100, 25},
    SkinPictureInfo{"about_help_hover", 100, 25},
};

} // namespace tilava
