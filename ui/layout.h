// The main window's fixed layout, in twips (1/1440 inch), scaled to pixels at the window's DPI.
#pragma once

#include "files/texts.h"
#include "ui/control_ids.h"

enum class ControlKind { Label, Frame, Edit, Button };

struct ControlLayout {
    ControlId id;
    ControlKind kind;
    ControlId container;  // the frame it sits in, or 0 for the window itself
    const wchar_t* text;
    int left, top, width, height;  // relative to the container
};

inline constexpr int kClientWidthTwips = 5160;
inline constexpr int kClientHeightTwips = 2910;

// In tab order: the dialog manager tabs through sibling windows in the order they were created.
inline constexpr ControlLayout kControls[] = {
    {kCommand1, ControlKind::Button, ControlId{}, texts::kStartButton, 1200, 2400, 1215, 375},
    {kFrame1, ControlKind::Frame, ControlId{}, texts::kSourceFrame, 120, 600, 4935, 735},
    {kText1, ControlKind::Edit, kFrame1, texts::kDefaultSource, 240, 240, 3495, 375},
    {kCommand2, ControlKind::Button, kFrame1, texts::kBrowseButton, 3720, 240, 1095, 375},
    {kCommand4, ControlKind::Button, ControlId{}, texts::kExitButton, 2760, 2400, 1095, 375},
    {kFrame2, ControlKind::Frame, ControlId{}, texts::kSaveFolderFrame, 120, 1440, 4935, 735},
    {kText2, ControlKind::Edit, kFrame2, texts::kDefaultSaveFolder, 240, 240, 3495, 375},
    {kCommand5, ControlKind::Button, kFrame2, texts::kBrowseButton, 3720, 240, 1095, 375},
    // Sized to its caption at run time; the width and height are those in the default font.
    {kLabel1, ControlKind::Label, ControlId{}, texts::kWindowCaption, 1080, 240, 2250, 180},
};
