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
