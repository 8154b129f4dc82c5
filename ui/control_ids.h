// Control identifiers of the main window; the end-to-end test driver finds the controls by them.
#pragma once

enum ControlId : int {
    kLabel1 = 100,
    kFrame1 = 101,
    kText1 = 102,
    kCommand2 = 103,
    kFrame2 = 104,
    kText2 = 105,
    kCommand5 = 106,
    kCommand1 = 107,
    kCommand4 = 108,
};

// The items the window adds to its system menu: below 0xF000, with the low four bits clear, as
// the system menu's own commands use them.
enum MenuId : unsigned {
    kMenuLiteralsId = 0x0010,
    kMenuKeepHeaderId = 0x0020,
    kMenuAboutId = 0x0030,
    kMenuExhibitId = 0x0040,
};
